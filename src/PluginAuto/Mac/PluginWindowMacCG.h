#pragma once
// The Core Graphics form: the browser hands a graphics context with every draw event. Nothing is drawn
// but a diagnostic label with the frame rate, when the page asked to see the drawing model.

#include <cstdint>
#include <deque>

#include "PluginWindowMac.h"

namespace PF {

class PluginWindowMacCG : public PluginWindowMac {
 public:
  int getDrawingModel() const override { return DrawingModelCoreGraphics; }
  void* getDrawingPrimitive() const override { return m_context; }
  void* getWindowRef() const override { return m_windowRef; }
  // A new context or browser window sends a ChangedEvent (and counts as the new position and clip).
  NPError SetWindow(NPWindow* window) override;
  // After the observers, the label goes into the context of a draw event (of a Cocoa draw record only
  // when an observer handled it).
  bool SendEvent(PluginEvent* event) override;

  int64_t frameCount() const { return m_frameCount; }

 private:
  void DrawLabel(void* context, const Rect& rect);

  int64_t m_frameCount = 0;
  void* m_windowRef = nullptr;
  void* m_context = nullptr;
  std::deque<unsigned long long> m_frameTimes;  // microseconds on the host's clock, at most 100
};

}  // namespace PF
