#pragma once
// The browser-neutral plug-in object, one per embedded instance: the tag's parameters,
// the host, the window, and the root scripting object the page sees. The application's
// plug-in class derives from it and supplies createJSAPI and HandleEvent.

#include <string>

#include <boost/optional.hpp>
#include <boost/shared_ptr.hpp>

#include "JSAPI.h"
#include "PluginEventSink.h"
#include "variant.h"

namespace PF {

class BrowserHost;
class PluginWindow;
class BrowserStreamRequest;

class PluginCore : public PluginEventSink {
 public:
  static void setPlatform(const std::string& os, const std::string& browser);
  static std::string OS;
  static std::string Browser;
  static int ActivePluginCount;

  PluginCore();
  ~PluginCore() override;

  bool HandleEvent(PluginEvent* event, PluginEventSource* source) override = 0;
  virtual void SetHost(const boost::shared_ptr<BrowserHost>& host) { m_host = host; }
  virtual PluginWindow* GetWindow() const { return m_Window; }
  virtual void setScriptingOnly(bool so) { m_scriptingOnly = so; }
  virtual bool isScriptingOnly() const { return m_scriptingOnly; }
  // Attaches the core to the window as an observer; a different window held before
  // is cleared first.
  virtual void SetWindow(PluginWindow* win);
  virtual void ClearWindow();
  // Calls the page's "onload" handler 250 ms later with the root scripting object;
  // true when one was scheduled. onPluginReady runs last in every normal return.
  virtual bool setReady();
  virtual void onPluginReady() {}
  virtual void shutdown() {}
  virtual JSAPIPtr createJSAPI() = 0;
  // Made once through createJSAPI; every later call answers the same object.
  virtual JSAPIPtr getRootJSAPI();
  virtual bool isWindowless();
  virtual void setFSPath(const std::string& path) { m_filesystemPath = path; }
  // Names beginning with "on" name a function of the page's window, which replaces the text.
  virtual void setParams(const VariantMap& inParams);
  virtual boost::optional<std::string> getParam(const std::string& key);
  virtual variant getParamVariant(const std::string& key);
  virtual void handleUnsolicitedStream(BrowserStreamRequest& req) {}
  virtual boost::shared_ptr<BrowserHost> getHost() { return m_host; }

  const std::string& getFSPath() const { return m_filesystemPath; }

 protected:
  boost::shared_ptr<BrowserHost> m_host;
  std::string m_filesystemPath;
  VariantMap m_params;
  PluginWindow* m_Window = nullptr;
  JSAPIPtr m_api;
  int m_windowLessParam = 2;  // 0 no, 1 yes, 2 not yet asked
  bool m_scriptingOnly = false;
};

typedef boost::shared_ptr<PluginCore> PluginCorePtr;

}  // namespace PF
