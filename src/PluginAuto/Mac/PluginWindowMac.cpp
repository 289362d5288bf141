#include "PluginWindowMac.h"

#include <algorithm>
#include <cmath>

#include <boost/bind/bind.hpp>

#include "CrossThreadCall.h"
#include "FactoryBase.h"
#include "NpapiBrowserHost.h"
#include "NpapiPluginMac.h"

namespace PF {

namespace {

// Asks the browser whether it supports the model and, if so, tells it the plug-in uses it.
bool agree(const Npapi::NpapiBrowserHostPtr& host, NPNVariable supports, int model) {
  NPBool supported = 0;
  if (host->GetValue(supports, &supported) != NPERR_NO_ERROR || !supported) return false;
  return host->SetValue(NPPVpluginDrawingModel, reinterpret_cast<void*>(static_cast<intptr_t>(model))) ==
         NPERR_NO_ERROR;
}

bool coreAnimation(const Npapi::NpapiBrowserHostPtr& host) {
  return agree(host, NPNVsupportsCoreAnimationBool, NPDrawingModelCoreAnimation);
}

bool coreGraphics(const Npapi::NpapiBrowserHostPtr& host) {
  return agree(host, NPNVsupportsCoreGraphicsBool, NPDrawingModelCoreGraphics);
}

uint16_t rectSide(uint32_t length) { return static_cast<uint16_t>(std::min<uint32_t>(length, 65535)); }

// The browser's timer: reaches the window of the instance's plug-in, if it still has one.
void timerCallback(NPP npp, uint32_t) {
  try {
    auto plugin = boost::dynamic_pointer_cast<Npapi::NpapiPluginMac>(Npapi::getPlugin(npp));
    if (plugin) plugin->HandleTimerEvent();
  } catch (...) {
    // Nothing may leave a browser callback.
  }
}

}  // namespace

PluginWindowMac::~PluginWindowMac() { StopAutoInvalidate(); }

int PluginWindowMac::initPluginWindowMac(const Npapi::NpapiBrowserHostPtr& host) {
  if (coreAnimation(host)) return NPDrawingModelCoreAnimation;
  if (coreGraphics(host)) return NPDrawingModelCoreGraphics;
  return static_cast<int>(DrawingModelNone);
}

int PluginWindowMac::initPluginWindowMac(const Npapi::NpapiBrowserHostPtr& host, const std::string& drawingModel) {
  if (drawingModel == "NPDrawingModelCoreAnimation")
    return coreAnimation(host) ? static_cast<int>(NPDrawingModelCoreAnimation) : DrawingModelNone;
  if (drawingModel == "NPDrawingModelCoreGraphics")
    return coreGraphics(host) ? static_cast<int>(NPDrawingModelCoreGraphics) : DrawingModelNone;
  return DrawingModelNone;
}

PluginWindowMac* PluginWindowMac::createPluginWindowMac(int drawingModel) {
  if (drawingModel == NPDrawingModelCoreGraphics) return getFactoryInstance()->createPluginWindowMacCG();
  if (drawingModel == NPDrawingModelCoreAnimation) return getFactoryInstance()->createPluginWindowMacCA();
  return nullptr;
}

void PluginWindowMac::InvalidateWindow() const {
  Npapi::NpapiBrowserHostPtr host = m_npHost;
  if (!host) return;
  NPRect rect;
  rect.top = 0;
  rect.left = 0;
  rect.bottom = rectSide(m_height);
  rect.right = rectSide(m_width);
  if (host->isMainThread()) {
    host->InvalidateRect(&rect);
    return;
  }
  host->ScheduleOnMainThread(host, boost::bind(&Npapi::NpapiBrowserHost::InvalidateRect2, host.get(), rect));
}

Rect PluginWindowMac::getWindowPosition() const {
  Rect position;
  position.top = m_y;
  position.left = m_x;
  position.bottom = static_cast<int32_t>(static_cast<int64_t>(m_y) + m_height);
  position.right = static_cast<int32_t>(static_cast<int64_t>(m_x) + m_width);
  return position;
}

void PluginWindowMac::StartAutoInvalidate(double seconds) {
  if (!(seconds > 0) || !std::isfinite(seconds)) return;
  StopAutoInvalidate();
  const double micros = std::min(std::max(seconds * 1e6, 1.0), 1e18);
  m_repaintTimer.start(static_cast<unsigned long long>(micros), [this] { InvalidateWindow(); });
}

void PluginWindowMac::StopAutoInvalidate() { m_repaintTimer.stop(); }

NPError PluginWindowMac::SetWindow(NPWindow* window) {
  if (!window) return NPERR_NO_ERROR;
  if (window->x != m_x || window->y != m_y || window->width != m_width || window->height != m_height) {
    m_x = window->x;
    m_y = window->y;
    m_width = window->width;
    m_height = window->height;
    ResizedEvent evt;
    SendEvent(&evt);
  }
  const NPRect& c = window->clipRect;
  if (c.top != m_clip.top || c.left != m_clip.left || c.bottom != m_clip.bottom || c.right != m_clip.right) {
    m_clip.top = c.top;
    m_clip.left = c.left;
    m_clip.bottom = c.bottom;
    m_clip.right = c.right;
    ClipChangedEvent evt;
    SendEvent(&evt);
  }
  return NPERR_NO_ERROR;
}

int PluginWindowMac::scheduleTimer(int interval, bool repeat) {
  if (!m_npHost || interval < 0) return 0;
  return static_cast<int>(m_npHost->ScheduleTimer(static_cast<uint32_t>(interval), repeat, &timerCallback));
}

void PluginWindowMac::unscheduleTimer(int id) {
  if (m_npHost) m_npHost->UnscheduleTimer(static_cast<uint32_t>(id));
}

void PluginWindowMac::handleTimerEvent() {
  TimerEvent evt(0, nullptr);
  SendEvent(&evt);
}

}  // namespace PF
