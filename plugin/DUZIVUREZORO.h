// The plug-in class, one per embedded instance. It draws nothing and consumes no event; it exists to
// own the page's scripting object.
#pragma once

#include <boost/shared_ptr.hpp>

#include "PluginCore.h"
#include "PluginEvents.h"
#include "PluginWindow.h"

class DUZIVUREZORO : public PF::PluginCore {
 public:
  static void StaticInitialize();
  static void StaticDeinitialize();

  DUZIVUREZORO();
  ~DUZIVUREZORO() override;

  // Offers window events to the handlers below; answers whether one consumed the event.
  bool HandleEvent(PF::PluginEvent* event, PF::PluginEventSource* source) override;
  void onPluginReady() override;
  void shutdown() override;
  // Makes the page's scripting object; boost::bad_weak_ptr when no shared reference owns this plug-in.
  PF::JSAPIPtr createJSAPI() override;
  // Always windowed, whatever the page's parameters say.
  bool isWindowless() override;

  virtual bool onMouseDown(PF::MouseDownEvent* event, PF::PluginWindow* window);
  virtual bool onMouseUp(PF::MouseUpEvent* event, PF::PluginWindow* window);
  virtual bool onMouseMove(PF::MouseMoveEvent* event, PF::PluginWindow* window);
  virtual bool onWindowAttached(PF::AttachedEvent* event, PF::PluginWindow* window);
  virtual bool onWindowDetached(PF::DetachedEvent* event, PF::PluginWindow* window);
};
