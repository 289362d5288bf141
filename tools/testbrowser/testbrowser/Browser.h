// The test browser: one page with its embedded plug-in instances, a script engine (Duktape) for the page's
// scripts, the browser functions the plug-in calls, a virtual clock for the page's timers, and the report
// of what went wrong or was left over at the end. One browser per process: the browser functions are plain
// C functions and find it through Browser::current().
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "npapi/NPAPI.h"
#include "testbrowser/Faults.h"
#include "testbrowser/Identifiers.h"
#include "testbrowser/MacPage.h"
#include "testbrowser/Memory.h"
#include "testbrowser/Network.h"
#include "testbrowser/Objects.h"
#include "testbrowser/PageDescription.h"

struct duk_hthread;
typedef struct duk_hthread duk_context;

namespace testbrowser {

struct Instance {
  size_t index = 0;
  NPP_t npp{};
  EmbedDescription description;
  NPError newResult = NPERR_GENERIC_ERROR;
  bool alive = false;              // between a successful NPP_New and NPP_Destroy
  NPObject* scriptable = nullptr;  // the browser's own reference to the plug-in's scriptable object
  bool scriptableAsked = false;
  int drawingModel = -1;  // what the plug-in set through NPN_SetValue
  int eventModel = -1;
  int popupDepth = 0;
  NPWindow window{};
  NP_CGContext cgContext{};
};

struct BrowserOptions {
  std::string pluginPath;
  bool quiet = false;                          // no console output, no fault echo
  uint64_t timeLimitMs = 24ull * 3600 * 1000;  // virtual time after which pending timers are dropped
};

class Browser {
 public:
  Browser(PageDescription page, BrowserOptions options);
  ~Browser();
  Browser(const Browser&) = delete;
  Browser& operator=(const Browser&) = delete;

  static Browser* current();

  // The whole run: load the plug-in, embed every instance, run the scripts, run the loop until idle, tear
  // down and report. Returns the exit status (Faults::exitStatus).
  int run();

  // The steps of a run, also usable one by one.
  bool loadPlugin();
  void runPage();     // scripts and instances in page order
  void embedAll();    // instances not made yet
  void runScripts();  // scripts not run yet
  void runUntilIdle();
  // One turn without timers: posted main-thread calls, asynchronous calls, one network step; how many ran.
  size_t runPending();
  void advance(uint64_t ms);  // run everything due up to now + ms, then set the clock there
  void tearDown();            // destroy instances, shut the plug-in down, report and reclaim leftovers
  std::string summary() const;

  Instance* instanceById(const std::string& id);
  Instance* instanceByIndex(size_t index);
  Instance* instanceOf(NPP npp);
  bool destroyInstance(Instance& instance);
  NPObject* scriptableObject(Instance& instance);  // asks the plug-in on first use; no new reference

  Memory& memory() { return memory_; }
  Identifiers& identifiers() { return identifiers_; }
  Objects& objects() { return objects_; }
  Faults& faults() { return faults_; }
  const NPNetscapeFuncs& browserFuncs() const { return browserFuncs_; }
  const NPPluginFuncs& pluginFuncs() const { return pluginFuncs_; }
  MacPage& mac() { return *mac_; }
  // The proxy answer of getvalueforurl; none: the browser has no answer (NPERR_INCOMPATIBLE_VERSION_ERROR).
  const std::optional<std::string>& proxyAnswer() const { return proxyAnswer_; }
  void setProxyAnswer(std::optional<std::string> answer) { proxyAnswer_ = std::move(answer); }
  Network& network() { return network_; }
  const PageDescription& page() const { return page_; }
  duk_context* script() const { return ctx_; }
  uint64_t now() const { return now_; }
  bool quiet() const { return options_.quiet; }
  size_t instanceCount() const { return instances_.size(); }
  void misuse(const std::string& what) { faults_.add(Faults::Kind::PluginMisuse, what); }
  void scriptError(const std::string& what) { faults_.add(Faults::Kind::ScriptError, what); }
  void console(const std::string& line) const;

  // Services behind the browser functions.
  NPError getValue(NPP npp, NPNVariable variable, void* value);
  NPError setValue(NPP npp, NPPVariable variable, void* value);
  bool evaluate(NPP npp, NPObject* scope, const NPString* script, NPVariant* result);
  void releaseVariant(NPVariant* value);
  void setPendingException(const std::string& message);
  bool takePendingException(std::string& message);
  void queueAsyncCall(NPP npp, void (*func)(void*), void* data);
  uint32_t schedulePluginTimer(NPP npp, uint32_t interval, bool repeat, void (*func)(NPP, uint32_t));
  void unschedulePluginTimer(NPP npp, uint32_t id);

  // Timers on the virtual clock (page timers and plug-in timers).
  uint32_t addTimer(uint64_t delay, bool repeat, std::function<void(uint32_t)> fire);
  bool clearTimer(uint32_t id);

  // Script bridge (ObjectBridge.cpp). Stack indexes are Duktape's.
  void toVariant(int index, NPVariant* out);  // browser-owned copy of a page value
  void pushVariant(const NPVariant& value);   // the variant is left as it is
  void pushObject(NPObject* object);          // page value of a page object, or the proxy of a plug-in one
  NPObject* pageObjectFor(int index);         // a new reference for the caller
  bool isPageObject(const NPObject* object) const;
  void pushPageValue(const NPObject* object);
  void pageObjectGone(NPObject* object);
  NPObject* proxiedObject(void* heapPtr) const;  // null when not one of our proxies, or its object is gone
  void dropProxies(NPP npp);                     // the instance's proxies (all when npp is null)
  // Calls a page helper (see the prelude) with the page value of object and `extra` values pushed by the
  // caller after it; leaves the result on the stack and returns true, or notes the error and returns false
  // with nothing left on the stack.
  bool callPageHelper(const char* helper, const NPObject* object, int extra);
  void noteScriptException(const std::string& where);  // error value on top of the stack; popped

 private:
  void setUpScript();
  void setUpBrowserFuncs();
  void createElements();
  bool embed(Instance& instance);
  void runScript(const PageScriptSource& source);
  size_t runAsyncCalls();
  bool runNextTimer(uint64_t limit);
  void setNow(uint64_t ms);  // moves the page's clock and the host loop's clock forward
  void reportLeaks();

  struct Timer {
    uint64_t due;
    uint64_t seq;
    uint64_t interval;
    bool repeat;
    std::function<void(uint32_t)> fire;
  };
  struct AsyncCall {
    NPP npp;
    void (*func)(void*);
    void* data;
  };
  struct ProxyRecord {
    void* proxy;   // heap pointer of the page-side proxy
    void* target;  // heap pointer of its target, which carries the object pointer
  };

  PageDescription page_;
  BrowserOptions options_;
  Faults faults_;
  Memory memory_;
  Identifiers identifiers_;
  Objects objects_;
  NPNetscapeFuncs browserFuncs_{};
  NPPluginFuncs pluginFuncs_{};
  void* library_ = nullptr;
  NP_ShutdownFunc npShutdown_ = nullptr;
  bool initialized_ = false;
  bool tornDown_ = false;
  size_t scriptsRun_ = 0;
  size_t instancesMade_ = 0;
  std::vector<std::unique_ptr<Instance>> instances_;
  duk_context* ctx_ = nullptr;

  uint64_t now_ = 0;
  uint64_t timerSeq_ = 0;
  uint32_t nextTimerId_ = 1;
  std::map<uint32_t, Timer> timers_;
  std::map<uint32_t, NPP> pluginTimers_;

  std::mutex asyncMutex_;
  std::deque<AsyncCall> asyncCalls_;

  std::unique_ptr<MacPage> mac_;
  std::optional<std::string> proxyAnswer_ = std::string("DIRECT");

  bool exceptionPending_ = false;
  std::string pendingException_;

  Network network_{*this};

  std::map<void*, NPObject*> pageObjects_;  // heap pointer of the page value -> its NPObject
  std::map<NPObject*, ProxyRecord> proxies_;
  std::map<void*, NPObject*> proxyTargets_;  // heap pointer of a proxy -> its object
  uint32_t nextPageObjectId_ = 1;
};

}  // namespace testbrowser
