#include "PluginWindowMacCG.h"

#include <cstdio>
#include <cstring>
#include <limits>

#include "GraphicsContextRef.h"
#include "npapi/HostLoop.h"

namespace PF {

namespace {
const size_t kMaxFrameTimes = 100;
}

NPError PluginWindowMacCG::SetWindow(NPWindow* window) {
  if (window && window->window) {
    const NP_CGContext* cg = static_cast<const NP_CGContext*>(window->window);
    if (cg->context != m_context || cg->window != m_windowRef) {
      m_context = cg->context;
      m_windowRef = cg->window;
      m_x = window->x;
      m_y = window->y;
      m_width = window->width;
      m_height = window->height;
      m_clip.top = window->clipRect.top;
      m_clip.left = window->clipRect.left;
      m_clip.bottom = window->clipRect.bottom;
      m_clip.right = window->clipRect.right;
      ChangedEvent evt;
      SendEvent(&evt);
    }
  }
  return PluginWindowMac::SetWindow(window);
}

bool PluginWindowMacCG::SendEvent(PluginEvent* event) {
  const bool handled = PluginWindowMac::SendEvent(event);
  if (!m_showDrawingModel) return handled;
  if (CoreGraphicsDraw* draw = dynamic_cast<CoreGraphicsDraw*>(event)) {
    DrawLabel(draw->context, draw->bounds);
  } else if (MacEventCocoa* cocoa = dynamic_cast<MacEventCocoa*>(event)) {
    int type = 0;
    static_assert(sizeof cocoa->msg.type == sizeof type, "event type is 32 bits");
    std::memcpy(&type, &cocoa->msg.type, sizeof type);
    if (type == NPCocoaEventDrawRect && handled) DrawLabel(cocoa->msg.data.draw.context, getWindowPosition());
  }
  return handled;
}

void PluginWindowMacCG::DrawLabel(void* context, const Rect&) {
  GraphicsContextRef gc(context);
  if (gc.isNull()) return;
  m_frameTimes.push_back(rvp_hostloop_now_us());
  if (m_frameTimes.size() > kMaxFrameTimes) m_frameTimes.pop_front();
  const double span = static_cast<double>(m_frameTimes.back() - m_frameTimes.front()) / 1000000.0;
  const double rate =
      span > 0 ? static_cast<double>(m_frameTimes.size()) / span : std::numeric_limits<double>::infinity();

  gc.saveState();
  gc.setFillColor(0, 0, 0, 1);
  gc.fillRect(0, 0, 400, 24);
  gc.setStrokeColor(0, 1, 0, 1);
  gc.setFillColor(0, 1, 0, 1);
  gc.setTextMatrix(1, 0, 0, -1, 0, 0);
  gc.selectFont("Helvetica", 24);
  char text[96];
  std::snprintf(text, sizeof text, "CoreGraphics %.01f fps #%lld", rate, static_cast<long long>(m_frameCount++));
  gc.showTextAtPoint(0, 19, text);
  gc.restoreState();
}

PluginWindowMac* createPluginWindowMacCG() { return new PluginWindowMacCG(); }

}  // namespace PF
