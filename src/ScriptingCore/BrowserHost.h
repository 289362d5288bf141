#pragma once
// The browser-neutral services one plug-in instance gets from its browser: the page's
// window, document and element, script evaluation, the retention of scripting objects
// the browser holds, delayed calls into the page, and the road to the main thread.
// A browser binding derives from it and supplies the pure operations.

#include <atomic>
#include <list>
#include <map>
#include <string>
#include <vector>

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>
#include <boost/thread/recursive_mutex.hpp>
#include <boost/thread/shared_mutex.hpp>
#include <boost/thread/thread.hpp>

#include "JSAPI.h"
#include "variant.h"

namespace PF {

class AsyncCallManager;
class JSObject;
class BrowserStream;
class BrowserStreamRequest;
class BrowserStreamManager;
class PluginEventSink;

namespace DOM {
class Node;
class Element;
class Document;
class Window;
}  // namespace DOM

class BrowserHost : public boost::enable_shared_from_this<BrowserHost> {
 public:
  BrowserHost();
  virtual ~BrowserHost();
  BrowserHost(const BrowserHost&) = delete;
  BrowserHost& operator=(const BrowserHost&) = delete;

  // --- supplied by the browser binding -------------------------------------------
  virtual const void* getContextID() const = 0;
  virtual boost::shared_ptr<DOM::Document> getDOMDocument() = 0;
  // An empty reference means the page has no window object.
  virtual boost::shared_ptr<DOM::Window> getDOMWindow() = 0;
  virtual boost::shared_ptr<DOM::Element> getDOMElement() = 0;
  // Runs the script text in the page's window.
  virtual void evaluateJavaScript(const std::string& script) = 0;
  // Releases browser objects whose release had to be put off.
  virtual void DoDeferredRelease() const = 0;
  // Asks the browser to call func(userData) once on the main thread; false when refused.
  virtual bool _scheduleAsyncCall(void (*func)(void*), void* userData) const = 0;

  // --- streams ----------------------------------------------------------------------
  // A request with a completion callback and no sink goes through the simple stream helper when
  // enable_async allows it; otherwise the binding makes the stream and the stream manager keeps it
  // until it completes. An empty result: the browser refused (or the host is shut down). From
  // another thread the call is carried to the main thread (and fails as that carriage fails).
  virtual boost::shared_ptr<BrowserStream> createStream(const BrowserStreamRequest& req,
                                                        bool enable_async = true) const;
  virtual boost::shared_ptr<BrowserStream> createStream(const std::string& url,
                                                        const boost::shared_ptr<PluginEventSink>& callback,
                                                        bool cache = true, bool seekable = false,
                                                        size_t internalBufferSize = 128 * 1024) const;
  virtual boost::shared_ptr<BrowserStream> createRodaStream(const std::string& url,
                                                            const boost::shared_ptr<PluginEventSink>& callback,
                                                            const std::string& postdata, bool cache = true,
                                                            bool seekable = false,
                                                            size_t internalBufferSize = 128 * 1024) const;
  // A stream the browser offers on its own and the plug-in accepted.
  virtual boost::shared_ptr<BrowserStream> createUnsolicitedStream(const BrowserStreamRequest& req) const;
  boost::shared_ptr<BrowserStreamManager> getStreamManager() const { return m_streamManager; }

  // --- with a base behaviour ------------------------------------------------------
  virtual void Navigate(const std::string& url, const std::string& target) {}
  virtual void evaluateJavaScript(const std::wstring& script);
  // Installs the page-side delayed-call helper in the page's window.
  virtual void initJS(const void* inst);
  virtual void htmlLog(const std::string& msg);
  virtual void setEnableHtmlLog(bool enabled) { m_htmlLogEnabled = enabled; }
  // Shuts retained objects down, releases them, refuses further marshalled calls and
  // runs the pending ones. A binding that overrides it calls this one.
  virtual void shutdown();
  // The system's proxy settings (SystemProxyDetector); false, with the map as it was, when none applies.
  virtual bool DetectProxySettings(std::map<std::string, std::string>& settings, const std::string& url);

  virtual boost::shared_ptr<DOM::Window> _createWindow(const boost::shared_ptr<JSObject>& obj) const;
  virtual boost::shared_ptr<DOM::Document> _createDocument(const boost::shared_ptr<JSObject>& obj) const;
  virtual boost::shared_ptr<DOM::Element> _createElement(const boost::shared_ptr<JSObject>& obj) const;
  virtual boost::shared_ptr<DOM::Node> _createNode(const boost::shared_ptr<JSObject>& obj) const;
  // The binding's stream factories; this base has no browser to ask and makes none.
  virtual boost::shared_ptr<BrowserStream> _createStream(const BrowserStreamRequest& req) const;
  virtual boost::shared_ptr<BrowserStream> _createUnsolicitedStream(const BrowserStreamRequest& req) const;

  // --- main thread and marshalling ------------------------------------------------
  bool isMainThread() const { return boost::this_thread::get_id() == m_threadId; }
  void assertMainThread() const {}
  bool isShutDown() const { return m_isShutDown.load(); }

  // The common road to the main thread: func(userData) runs at most once, or never
  // when this returns false (host shut down, or the browser refused).
  bool ScheduleAsyncCall(void (*func)(void*), void* userData) const;

  // Runs func on the main thread and hands back its result or its error; on the main
  // thread it runs directly. Throws script_error "Could not marshal to main thread"
  // or "Shutting down". Defined in CrossThreadCall.h.
  template <class Functor>
  auto CallOnMainThread(Functor func) const -> decltype(func());
  // Queues func for the main thread and returns at once; obj is kept alive until it
  // has run. Dropped silently when the host is shut down.
  template <class C, class Functor>
  void ScheduleOnMainThread(const boost::shared_ptr<C>& obj, Functor func) const;

  // --- scripting objects held for the browser -------------------------------------
  void retainJSAPIPtr(const JSAPIPtr& obj) const;
  void releaseJSAPIPtr(const JSAPIPtr& obj) const;
  void freeRetainedObjects() const;

  // --- delayed calls into the page -------------------------------------------------
  // Calls func (fname empty) or its method fname with args after delay ms through the
  // page's timer; answers the page's timer id, or -1 when the page has no window.
  int delayedInvoke(int delay, const boost::shared_ptr<JSObject>& func, const std::vector<variant>& args,
                    const std::string& fname = std::string());
  boost::shared_ptr<JSObject> getDelayedInvokeDelegate();
  const std::string& getCallDelegateName() const { return m_callDelegate; }

  static void AsyncHtmlLog(void* data);

  static int InstanceCount;

 private:
  boost::shared_ptr<AsyncCallManager> m_asyncManager;
  boost::thread::id m_threadId;
  std::atomic<bool> m_isShutDown{false};
  mutable boost::shared_mutex m_xtmutex;
  mutable boost::recursive_mutex m_jsapimutex;
  mutable std::list<JSAPIPtr> m_retainedObjects;
  boost::shared_ptr<BrowserStreamManager> m_streamManager;
  bool m_htmlLogEnabled = true;
  const unsigned long m_hostNumber;  // this host's number among the hosts of the process
  std::string m_unique_key;
  std::string m_callDelegate;
};

typedef boost::shared_ptr<BrowserHost> BrowserHostPtr;

}  // namespace PF

#include "CrossThreadCall.h"
