#include "BrowserHost.h"

#include <cstdio>

#include <boost/format.hpp>
#include <boost/make_shared.hpp>
#include <boost/thread/locks.hpp>

#include "AsyncCallManager.h"
#include "BrowserStreamManager.h"
#include "DOMDocument.h"
#include "DOMWindow.h"
#include "JSObject.h"
#include "SystemProxyDetector.h"
#include "utf8_tools.h"

namespace PF {

int BrowserHost::InstanceCount = 0;

namespace {

// Hosts are numbered in the order they are made; the number names the page-side
// helper, so two instances on one page never share it and no address leaks to the page.
std::atomic<unsigned long> g_nextHostNumber{1};

const char* const kDelegateScript =
    "window.__PF_CALL_%1% = function(delay, f, args, fname) {   if (arguments.length == 3)"
    "       return setTimeout(function() { f.apply(null, args); }, delay);   else"
    "       return setTimeout(function() { f[fname].apply(f, args); }, delay);};";

struct HtmlLogRecord {
  boost::shared_ptr<BrowserHost> host;
  std::string message;
};

}  // namespace

BrowserHost::BrowserHost()
    : m_asyncManager(boost::make_shared<AsyncCallManager>()),
      m_threadId(boost::this_thread::get_id()),
      m_streamManager(boost::make_shared<BrowserStreamManager>()),
      m_hostNumber(g_nextHostNumber++) {
  ++InstanceCount;
}

BrowserHost::~BrowserHost() { --InstanceCount; }

void BrowserHost::evaluateJavaScript(const std::wstring& script) { evaluateJavaScript(wstring_to_utf8(script)); }

bool BrowserHost::ScheduleAsyncCall(void (*func)(void*), void* userData) const {
  if (isShutDown()) return false;
  _asyncCallData* record = m_asyncManager->makeCallback(func, userData);
  if (_scheduleAsyncCall(&asyncCallWrapper, record)) return true;
  m_asyncManager->remove(record);
  return false;
}

void BrowserHost::retainJSAPIPtr(const JSAPIPtr& obj) const {
  boost::recursive_mutex::scoped_lock lock(m_jsapimutex);
  m_retainedObjects.push_back(obj);
}

void BrowserHost::releaseJSAPIPtr(const JSAPIPtr& obj) const {
  boost::recursive_mutex::scoped_lock lock(m_jsapimutex);
  for (auto it = m_retainedObjects.begin(); it != m_retainedObjects.end(); ++it) {
    if (it->get() == obj.get()) {
      m_retainedObjects.erase(it);
      break;
    }
  }
  if (isMainThread()) DoDeferredRelease();
}

void BrowserHost::freeRetainedObjects() const {
  boost::recursive_mutex::scoped_lock lock(m_jsapimutex);
  // Dropped in list order; the list is emptied before any object's destructor could
  // come back here.
  std::list<JSAPIPtr> dropped;
  dropped.swap(m_retainedObjects);
  while (!dropped.empty()) dropped.pop_front();
  DoDeferredRelease();
}

void BrowserHost::shutdown() {
  // Walk a copy: an object's shutdown may release itself from the list.
  std::list<JSAPIPtr> retained;
  {
    boost::recursive_mutex::scoped_lock lock(m_jsapimutex);
    retained = m_retainedObjects;
  }
  for (const JSAPIPtr& obj : retained) obj->shutdown();
  retained.clear();
  freeRetainedObjects();

  // Dropped when this call ends, after the lock: closing the streams it still keeps
  // reaches their observers.
  boost::shared_ptr<BrowserStreamManager> streams;
  // Upgrade mode waits for no holder of the shared mode, so threads waiting in a
  // marshalled call do not hold the shut-down up; the flag is what ends their wait.
  boost::upgrade_lock<boost::shared_mutex> lock(m_xtmutex);
  m_isShutDown = true;
  m_asyncManager->shutdown();
  streams.swap(m_streamManager);
}

bool BrowserHost::DetectProxySettings(std::map<std::string, std::string>& settings, const std::string& url) {
  SystemProxyDetector* detector = SystemProxyDetector::get();
  return detector && detector->detectProxy(settings, url);
}

void BrowserHost::initJS(const void* inst) {
  // The key comes from this host's number, not from the address handed in.
  m_unique_key = std::to_string(m_hostNumber);
  m_callDelegate = (boost::format("__PF_CALL_%1%") % m_hostNumber).str();
  evaluateJavaScript((boost::format(kDelegateScript) % m_hostNumber).str());
}

boost::shared_ptr<JSObject> BrowserHost::getDelayedInvokeDelegate() {
  boost::shared_ptr<DOM::Window> window = getDOMWindow();
  if (!window) return boost::shared_ptr<JSObject>();
  if (m_callDelegate.empty()) initJS(this);

  boost::shared_ptr<JSObject> delegate;
  try {
    delegate = window->getJSObject()->GetProperty(m_callDelegate).convert_cast<boost::shared_ptr<JSObject>>();
  } catch (const script_error&) {
  } catch (const bad_variant_cast&) {
    // Something else now sits under the helper's name: install it again.
  }
  if (!delegate) {
    // The page was reloaded, or the helper never got installed.
    initJS(this);
    delegate = window->getJSObject()->GetProperty(m_callDelegate).convert_cast<boost::shared_ptr<JSObject>>();
  }
  return delegate;
}

int BrowserHost::delayedInvoke(int delay, const boost::shared_ptr<JSObject>& func, const std::vector<variant>& args,
                               const std::string& fname) {
  boost::shared_ptr<JSObject> delegate = getDelayedInvokeDelegate();
  if (!delegate) return -1;
  std::vector<variant> delegateArgs{variant(delay), variant(func), variant(args)};
  if (!fname.empty()) delegateArgs.push_back(variant(fname));
  return delegate->Invoke("", delegateArgs).convert_cast<int>();
}

void BrowserHost::htmlLog(const std::string& msg) {
  if (!m_htmlLogEnabled) return;
  HtmlLogRecord* record = new HtmlLogRecord{shared_from_this(), msg};
  if (isShutDown() || !ScheduleAsyncCall(&BrowserHost::AsyncHtmlLog, record)) delete record;
}

void BrowserHost::AsyncHtmlLog(void* data) {
  std::unique_ptr<HtmlLogRecord> record(static_cast<HtmlLogRecord*>(data));
  try {
    boost::shared_ptr<DOM::Window> window = record->host->getDOMWindow();
    if (!window || !window->getJSObject()->HasProperty("console")) return;
    boost::shared_ptr<JSObject> console =
        window->getJSObject()->GetProperty("console").convert_cast<boost::shared_ptr<JSObject>>();
    std::printf("Logging: %s\n", record->message.c_str());
    if (console) console->Invoke("log", std::vector<variant>{variant(record->message)});
  } catch (const std::exception&) {
    // Logging to the browser console failed; the log goes nowhere else.
  }
}

boost::shared_ptr<DOM::Window> BrowserHost::_createWindow(const boost::shared_ptr<JSObject>& obj) const {
  return boost::make_shared<DOM::Window>(obj);
}

boost::shared_ptr<DOM::Document> BrowserHost::_createDocument(const boost::shared_ptr<JSObject>& obj) const {
  return boost::make_shared<DOM::Document>(obj);
}

boost::shared_ptr<DOM::Element> BrowserHost::_createElement(const boost::shared_ptr<JSObject>& obj) const {
  return boost::make_shared<DOM::Element>(obj);
}

boost::shared_ptr<DOM::Node> BrowserHost::_createNode(const boost::shared_ptr<JSObject>& obj) const {
  return boost::make_shared<DOM::Node>(obj);
}

}  // namespace PF
