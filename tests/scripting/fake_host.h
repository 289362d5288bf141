#pragma once
// A browser host whose page is a few fake page objects: its window holds the delayed-call helper
// once the host installs it, and calls queued for the main thread run when the test says so.

#include <utility>
#include <vector>

#include <boost/make_shared.hpp>

#include "BrowserHost.h"
#include "DOMWindow.h"
#include "fakes.h"

namespace PF {
namespace testing {

class FakeHost : public BrowserHost {
 public:
  FakeHost() : window(FakePageObject::make()), delegate(FakePageObject::make()) {
    delegate->invokeResult = 7;  // the page timer's id
  }

  const void* getContextID() const override { return this; }
  boost::shared_ptr<DOM::Document> getDOMDocument() override { return boost::shared_ptr<DOM::Document>(); }
  boost::shared_ptr<DOM::Window> getDOMWindow() override { return boost::make_shared<DOM::Window>(window); }
  boost::shared_ptr<DOM::Element> getDOMElement() override { return boost::shared_ptr<DOM::Element>(); }
  void evaluateJavaScript(const std::string& script) override {
    scripts.push_back(script);
    window->properties[getCallDelegateName()] = JSObjectPtr(delegate);
  }
  void DoDeferredRelease() const override {}
  bool _scheduleAsyncCall(void (*func)(void*), void* userData) const override {
    queue.push_back(std::make_pair(func, userData));
    return true;
  }

  // Runs what the main thread has been asked to run, as the browser would after the current call.
  void runMainThreadQueue() {
    std::vector<std::pair<void (*)(void*), void*> > pending;
    pending.swap(queue);
    for (const auto& call : pending) call.first(call.second);
  }

  FakePageObjectPtr window;
  FakePageObjectPtr delegate;
  std::vector<std::string> scripts;
  mutable std::vector<std::pair<void (*)(void*), void*> > queue;
};

}  // namespace testing
}  // namespace PF
