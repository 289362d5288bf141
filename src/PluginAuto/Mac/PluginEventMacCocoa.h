#pragma once
// The Cocoa event model: each NPCocoaEvent record is first offered as it is (MacEventCocoa); when no sink
// takes it, it is translated into the plug-in's own mouse, key, focus, text and draw events.

#include <cstdint>

#include "PluginEventMac.h"
#include "npapi/NPCocoaEvent.h"

namespace PF {

class PluginEvent;
class PluginWindowMac;

class PluginEventMacCocoa : public PluginEventMac {
 public:
  // Modifier flag bits of the Cocoa records.
  enum : std::uint32_t { FlagShift = 0x20000, FlagControl = 0x40000, FlagOption = 0x80000, FlagCommand = 0x100000 };

  int getEventModel() const override { return NPEventModelCocoa; }
  int16_t HandleEvent(void* event) override;

  // One key-down or key-up event for the first of shift, control, option and command whose state differs
  // from the previous flags; the flags are remembered. 0 when none of them changed.
  int16_t ProcessModifiers(std::uint32_t modifierFlags);

 private:
  int16_t translate(const boost::shared_ptr<PluginWindowMac>& window, const NPCocoaEvent& record, int type);

  std::uint32_t m_lastModifiers = 0;
};

}  // namespace PF
