#include "DUZIVUREZORO.h"

#include <boost/make_shared.hpp>

#include "BrowserHost.h"
#include "ZODODOVURAVUVOD.h"

void DUZIVUREZORO::StaticInitialize() {}
void DUZIVUREZORO::StaticDeinitialize() {}

DUZIVUREZORO::DUZIVUREZORO() {}

DUZIVUREZORO::~DUZIVUREZORO() {
  // The scripting object (and its controller) goes first, while the host is still held.
  m_api.reset();
  if (m_host) m_host->freeRetainedObjects();
}

namespace {

// The event as E from a plug-in window, or nulls.
template <class E>
bool as(PF::PluginEvent* event, PF::PluginEventSource* source, E*& typed, PF::PluginWindow*& window) {
  typed = dynamic_cast<E*>(event);
  window = dynamic_cast<PF::PluginWindow*>(source);
  return typed != nullptr;
}

}  // namespace

bool DUZIVUREZORO::HandleEvent(PF::PluginEvent* event, PF::PluginEventSource* source) {
  if (!event) return false;
  PF::PluginWindow* window = nullptr;
  PF::MouseDownEvent* down;
  PF::MouseUpEvent* up;
  PF::MouseMoveEvent* move;
  PF::AttachedEvent* attached;
  PF::DetachedEvent* detached;
  // The first type that matches decides; it is handled only when it comes from a plug-in window.
  if (as(event, source, down, window)) return window && onMouseDown(down, window);
  if (as(event, source, up, window)) return window && onMouseUp(up, window);
  if (as(event, source, move, window)) return window && onMouseMove(move, window);
  if (as(event, source, attached, window)) return window && onWindowAttached(attached, window);
  if (as(event, source, detached, window)) return window && onWindowDetached(detached, window);
  return false;
}

void DUZIVUREZORO::onPluginReady() {}
void DUZIVUREZORO::shutdown() {}
bool DUZIVUREZORO::isWindowless() { return false; }

PF::JSAPIPtr DUZIVUREZORO::createJSAPI() {
  boost::shared_ptr<DUZIVUREZORO> self = boost::dynamic_pointer_cast<DUZIVUREZORO>(shared_from_this());
  return boost::make_shared<ZODODOVURAVUVOD>(self, m_host);
}

bool DUZIVUREZORO::onMouseDown(PF::MouseDownEvent*, PF::PluginWindow*) { return false; }
bool DUZIVUREZORO::onMouseUp(PF::MouseUpEvent*, PF::PluginWindow*) { return false; }
bool DUZIVUREZORO::onMouseMove(PF::MouseMoveEvent*, PF::PluginWindow*) { return false; }
bool DUZIVUREZORO::onWindowAttached(PF::AttachedEvent*, PF::PluginWindow*) { return false; }
bool DUZIVUREZORO::onWindowDetached(PF::DetachedEvent*, PF::PluginWindow*) { return false; }
