#pragma once
// Turns the browser's events, in the event model agreed with it, into plug-in events sent through the
// plug-in's Mac window. The answer says whether a sink handled the event.

#include <cstdint>

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

namespace PF {

namespace Npapi {
class NpapiBrowserHost;
typedef boost::shared_ptr<NpapiBrowserHost> NpapiBrowserHostPtr;
}  // namespace Npapi

class PluginWindowMac;

class PluginEventMac {
 public:
  enum { EventModelNone = -1 };

  virtual ~PluginEventMac() {}

  // Cocoa only, and only for the drawing models that go with it.
  static int initPluginEventMac(const Npapi::NpapiBrowserHostPtr& host, int drawingModel);
  // A new translator for the model (the caller owns it), or null.
  static PluginEventMac* createPluginEventMac(int eventModel);

  virtual int getEventModel() const = 0;
  // The browser's event record; 1 when a sink handled it, else 0.
  virtual int16_t HandleEvent(void* event) = 0;

  void setPluginWindow(const boost::weak_ptr<PluginWindowMac>& window) { m_window = window; }

 protected:
  boost::weak_ptr<PluginWindowMac> m_window;
};

// The Carbon event model is never offered: always null.
PluginEventMac* createPluginEventMacCarbon();

}  // namespace PF
