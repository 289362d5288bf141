#pragma once
// A browser stand-in for the host tests: page objects that keep properties and record
// calls, a page window whose delayed-call helper comes into being when the host's
// script for it is evaluated, a virtual clock for the page's timers, and a main-thread
// queue the test pumps.

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <condition_variable>
#include <mutex>

#include <boost/make_shared.hpp>

#include "BrowserHost.h"
#include "JSObject.h"

namespace pfhost_test {

using PF::JSAPIPtr;
using PF::JSObjectPtr;
using PF::variant;

struct PageCall {
  std::string name;  // empty: the object itself was called
  std::vector<variant> args;
};

class FakePageObject : public PF::JSObject {
 public:
  explicit FakePageObject(const boost::shared_ptr<PF::BrowserHost>& host) : PF::JSObject(host) {}

  std::map<std::string, variant> properties;
  std::map<int, variant> indexed;
  std::vector<PageCall> calls;
  // Answers for Invoke by member name; a missing one answers an empty value.
  std::map<std::string, std::function<variant(const std::vector<variant>&)>> methods;

  void invalidate() override {}
  bool isValid() override { return true; }
  JSAPIPtr getJSAPI() const override { return JSAPIPtr(); }
  void getMemberNames(std::vector<std::string>& names) const override;
  size_t getMemberCount() const override { return properties.size(); }
  bool HasMethod(const std::string& name) const override { return methods.count(name) != 0; }
  bool HasProperty(const std::string& name) const override { return properties.count(name) != 0; }
  bool HasProperty(int idx) const override { return indexed.count(idx) != 0; }
  variant GetProperty(const std::string& name) override;
  void SetProperty(const std::string& name, const variant& value) override { properties[name] = value; }
  variant GetProperty(int idx) override;
  void SetProperty(int idx, const variant& value) override { indexed[idx] = value; }
  void RemoveProperty(const std::string& name) override { properties.erase(name); }
  void RemoveProperty(int idx) override { indexed.erase(idx); }
  variant Invoke(const std::string& name, const std::vector<variant>& args) override;
  variant Construct(const std::vector<variant>&) override { return variant(); }

  using PF::JSAPI::GetProperty;
  using PF::JSAPI::Invoke;
  using PF::JSAPI::SetProperty;
};
typedef boost::shared_ptr<FakePageObject> FakePageObjectPtr;

class FakeHost : public PF::BrowserHost {
 public:
  static boost::shared_ptr<FakeHost> make(bool withWindow = true);

  // --- page ---
  FakePageObjectPtr window;  // empty: the page has no window object
  FakePageObjectPtr newPageObject();
  // A new window object, as after the page was reloaded.
  void replaceWindow();
  std::vector<std::string> evaluatedScripts;
  int deferredReleases = 0;

  // --- page timers on a virtual clock ---
  long now() const { return m_now; }
  void advance(long ms);
  size_t pendingTimers() const { return m_timers.size(); }

  // --- main-thread queue ---
  size_t queuedCalls();
  // Runs the calls queued so far, on the calling thread; answers how many ran.
  size_t pump();
  // Pumps until the predicate holds (checked after each batch); false after a
  // generous safety limit so a broken test fails instead of hanging.
  bool pumpUntil(const std::function<bool()>& done);
  // Blocks until at least n calls are queued (safety limit as above).
  bool waitForQueued(size_t n);
  bool refuseScheduling = false;

  // PF::BrowserHost
  const void* getContextID() const override { return this; }
  boost::shared_ptr<PF::DOM::Document> getDOMDocument() override;
  boost::shared_ptr<PF::DOM::Window> getDOMWindow() override;
  boost::shared_ptr<PF::DOM::Element> getDOMElement() override;
  void evaluateJavaScript(const std::string& script) override;
  void DoDeferredRelease() const override { ++const_cast<FakeHost*>(this)->deferredReleases; }
  bool _scheduleAsyncCall(void (*func)(void*), void* userData) const override;
  using PF::BrowserHost::evaluateJavaScript;

 private:
  struct Timer {
    long due;
    int id;
    std::function<void()> run;
  };
  int setTimeout(long delay, std::function<void()> run);

  long m_now = 0;
  int m_nextTimer = 1;
  std::vector<Timer> m_timers;

  mutable std::mutex m_queueLock;
  mutable std::condition_variable m_queued;
  mutable std::deque<std::pair<void (*)(void*), void*>> m_queue;
};
typedef boost::shared_ptr<FakeHost> FakeHostPtr;

// The helper script the host is expected to evaluate for the given helper number.
std::string expectedDelegateScript(const std::string& number);

}  // namespace pfhost_test
