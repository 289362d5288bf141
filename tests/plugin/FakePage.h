// A page for the scripting object to live in: a window whose location the test sets, the page's
// delayed-call helper (recording what the host asks it to call), and a main-thread queue the test
// runs when the browser would.
#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <boost/make_shared.hpp>

#include "BrowserHost.h"
#include "DOMWindow.h"
#include "JSObject.h"

namespace plugin_test {

class FakePageObject : public PF::JSObject {
 public:
  explicit FakePageObject(const boost::shared_ptr<PF::BrowserHost>& host) : PF::JSObject(host) {}

  std::map<std::string, PF::variant> properties;
  // Every call of the object itself (Invoke with the empty name), in order.
  std::vector<std::vector<PF::variant>> calls;
  PF::variant invokeResult = PF::variant(1);
  // Runs before each property read, as page script in a getter would.
  std::function<void()> beforeRead;

  void invalidate() override {}
  bool isValid() override { return true; }
  PF::JSAPIPtr getJSAPI() const override { return PF::JSAPIPtr(); }
  void getMemberNames(std::vector<std::string>& names) const override {
    names.clear();
    for (const auto& entry : properties) names.push_back(entry.first);
  }
  size_t getMemberCount() const override { return properties.size(); }
  bool HasMethod(const std::string&) const override { return false; }
  bool HasProperty(const std::string& name) const override { return properties.count(name) != 0; }
  bool HasProperty(int) const override { return false; }
  PF::variant GetProperty(const std::string& name) override {
    if (beforeRead) beforeRead();
    auto found = properties.find(name);
    return found == properties.end() ? PF::variant() : found->second;
  }
  void SetProperty(const std::string& name, const PF::variant& value) override { properties[name] = value; }
  PF::variant GetProperty(int) override { return PF::variant(); }
  void SetProperty(int, const PF::variant&) override {}
  void RemoveProperty(const std::string& name) override { properties.erase(name); }
  void RemoveProperty(int) override {}
  PF::variant Invoke(const std::string&, const std::vector<PF::variant>& args) override {
    calls.push_back(args);
    return invokeResult;
  }
  PF::variant Construct(const std::vector<PF::variant>&) override { return PF::variant(); }

  using PF::JSAPI::GetProperty;
  using PF::JSAPI::Invoke;
  using PF::JSAPI::SetProperty;
};
typedef boost::shared_ptr<FakePageObject> FakePageObjectPtr;

class FakeHost : public PF::BrowserHost {
 public:
  // A host whose page window has no location object until the test sets one.
  static boost::shared_ptr<FakeHost> make() {
    auto host = boost::make_shared<FakeHost>();
    host->window = host->newObject();
    host->delegate = host->newObject();
    return host;
  }

  FakePageObjectPtr newObject() { return boost::make_shared<FakePageObject>(shared_from_this()); }

  void setLocation(const PF::variant& href) {
    FakePageObjectPtr location = newObject();
    location->properties["href"] = href;
    window->properties["location"] = PF::JSObjectPtr(location);
  }
  void removeLocation() { window->properties.erase("location"); }

  // Runs what was queued for the main thread, as the browser does after the current call.
  void runMainThreadQueue() {
    std::vector<std::pair<void (*)(void*), void*>> pending;
    pending.swap(queue);
    for (const auto& call : pending) call.first(call.second);
  }

  FakePageObjectPtr window;    // empty: the page has no window object
  FakePageObjectPtr delegate;  // the page's delayed-call helper once the host installs it
  bool windowThrows = false;   // as a browser host that cannot find the page's window
  int windowRequests = 0;

  const void* getContextID() const override { return this; }
  boost::shared_ptr<PF::DOM::Document> getDOMDocument() override { return {}; }
  boost::shared_ptr<PF::DOM::Window> getDOMWindow() override {
    ++windowRequests;
    if (windowThrows) throw std::runtime_error("Cannot find HTML window");
    if (!window) return {};
    return boost::make_shared<PF::DOM::Window>(window);
  }
  boost::shared_ptr<PF::DOM::Element> getDOMElement() override { return {}; }
  void evaluateJavaScript(const std::string&) override {
    if (window) window->properties[getCallDelegateName()] = PF::JSObjectPtr(delegate);
  }
  void DoDeferredRelease() const override {}
  bool _scheduleAsyncCall(void (*func)(void*), void* userData) const override {
    queue.emplace_back(func, userData);
    return true;
  }
  using PF::BrowserHost::evaluateJavaScript;

 private:
  mutable std::vector<std::pair<void (*)(void*), void*>> queue;
};
typedef boost::shared_ptr<FakeHost> FakeHostPtr;

}  // namespace plugin_test
