#pragma once
// The plug-in's rectangle in the page on the Mac browser interface, for the drawing model agreed with the
// browser: keeps position, size and clip and tells its observers when they change, runs browser timers
// and an optional repaint timer, and asks the browser to repaint. The plug-in draws nothing of its own.

#include <cstdint>
#include <string>

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include "PluginEvents.h"
#include "PluginWindow.h"
#include "RepaintTimer.h"
#include "npapi/NPAPI.h"

namespace PF {

namespace Npapi {
class NpapiBrowserHost;
typedef boost::shared_ptr<NpapiBrowserHost> NpapiBrowserHostPtr;
}  // namespace Npapi

class PluginEventMac;

class PluginWindowMac : public PluginWindow {
 public:
  enum { DrawingModelNone = -1 };
  // The window's own codes for its drawing model (not the NPAPI numbers).
  enum { DrawingModelCoreGraphics = 1, DrawingModelCoreAnimation = 2 };

  PluginWindowMac() = default;
  ~PluginWindowMac() override;

  // Negotiation: Core Animation first, then Core Graphics; with a forced model only that one. The
  // result is the NPAPI drawing model, or -1.
  static int initPluginWindowMac(const Npapi::NpapiBrowserHostPtr& host);
  static int initPluginWindowMac(const Npapi::NpapiBrowserHostPtr& host, const std::string& drawingModel);
  // A new window for the NPAPI drawing model (the caller owns it), or null.
  static PluginWindowMac* createPluginWindowMac(int drawingModel);

  // Asks the browser to repaint the whole rectangle; from another thread, later on the main thread.
  virtual void InvalidateWindow() const;
  // (top y, left x, bottom y + height, right x + width).
  virtual Rect getWindowPosition() const;
  virtual uint32_t getWindowWidth() const { return m_width; }
  virtual uint32_t getWindowHeight() const { return m_height; }
  virtual Rect getWindowClipping() const { return m_clip; }
  // Repaints every `seconds` on the host's clock until stopped; a non-positive or non-finite interval
  // is refused and changes nothing.
  virtual void StartAutoInvalidate(double seconds);
  virtual void StopAutoInvalidate();
  // Position and size changes send one ResizedEvent, clip changes one ClipChangedEvent.
  virtual NPError SetWindow(NPWindow* window);
  // Nothing to answer here: 0, and nothing written.
  virtual NPError GetValue(NPPVariable variable, void* value) { return NPERR_NO_ERROR; }
  virtual int getDrawingModel() const = 0;
  virtual void* getDrawingPrimitive() const = 0;
  virtual void* getWindowRef() const = 0;
  // A browser timer whose firings reach handleTimerEvent; returns the browser's id (0 when refused).
  virtual int scheduleTimer(int interval, bool repeat);
  virtual void unscheduleTimer(int id);
  // Sends TimerEvent(0, null).
  virtual void handleTimerEvent();

  void setNpHost(const Npapi::NpapiBrowserHostPtr& host) { m_npHost = host; }
  void setPluginEvent(const boost::weak_ptr<PluginEventMac>& translator) { m_translator = translator; }
  void setShowDrawingModel(bool show) { m_showDrawingModel = show; }
  bool showDrawingModel() const { return m_showDrawingModel; }
  bool autoInvalidating() const { return m_repaintTimer.running(); }

 protected:
  Npapi::NpapiBrowserHostPtr m_npHost;
  boost::weak_ptr<PluginEventMac> m_translator;
  int32_t m_x = 0;
  int32_t m_y = 0;
  uint32_t m_width = 0;
  uint32_t m_height = 0;
  Rect m_clip;
  RepaintTimer m_repaintTimer;
  bool m_showDrawingModel = false;
};

}  // namespace PF
