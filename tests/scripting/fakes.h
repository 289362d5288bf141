#pragma once
// Stand-ins for page objects: they keep properties like a page object would and record every call
// the framework makes on them.

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>

#include "JSObject.h"

namespace PF {
namespace testing {

struct RecordedCall {
  std::string kind;  // "invoke", "invokeAsync" or "multiple"
  std::string name;
  std::vector<variant> args;
  std::vector<JSObjectPtr> functions;
  std::vector<JSObjectPtr> objects;
};

class FakePageObject : public JSObject {
 public:
  explicit FakePageObject(const boost::shared_ptr<BrowserHost>& host = boost::shared_ptr<BrowserHost>())
      : JSObject(host) {}

  static boost::shared_ptr<FakePageObject> make() { return boost::make_shared<FakePageObject>(); }

  // A page array holding the given elements.
  static boost::shared_ptr<FakePageObject> array(const std::vector<variant>& elements) {
    boost::shared_ptr<FakePageObject> a = make();
    a->properties["length"] = static_cast<int>(elements.size());
    for (size_t i = 0; i < elements.size(); ++i) a->indexed[static_cast<int>(i)] = elements[i];
    return a;
  }

  // JSObject
  void* getEventId() const override { return eventId; }
  void* getEventContext() const override { return context; }
  bool supportsOptimizedCalls() const override { return optimized; }
  bool isValid() override { return valid; }
  JSAPIPtr getJSAPI() const override { return inner; }

  void callMultipleFunctions(const std::string& name, const std::vector<variant>& args,
                             const std::vector<JSObjectPtr>& functions,
                             const std::vector<JSObjectPtr>& objects) override {
    if (failScheduling) throw std::runtime_error("scheduling refused");
    calls.push_back(RecordedCall{"multiple", name, args, functions, objects});
  }

  void InvokeAsync(const std::string& name, const std::vector<variant>& args) override {
    if (passAsyncToHost) return JSObject::InvokeAsync(name, args);
    if (failScheduling) throw std::runtime_error("Cannot invoke asynchronously");
    calls.push_back(RecordedCall{"invokeAsync", name, args, {}, {}});
  }

  // JSAPI
  void invalidate() override { valid = false; }
  void getMemberNames(std::vector<std::string>& names) const override {
    names.clear();
    for (const auto& p : properties) names.push_back(p.first);
  }
  size_t getMemberCount() const override { return properties.size(); }
  bool HasMethod(const std::string&) const override { return false; }
  bool HasProperty(const std::string& name) const override { return properties.count(name) != 0; }
  bool HasProperty(int idx) const override { return indexed.count(idx) != 0; }
  variant GetProperty(const std::string& name) override {
    if (name == failingProperty) throw invalid_member(name);
    auto it = properties.find(name);
    return it == properties.end() ? variant() : it->second;
  }
  void SetProperty(const std::string& name, const variant& value) override { properties[name] = value; }
  variant GetProperty(int idx) override {
    auto it = indexed.find(idx);
    return it == indexed.end() ? variant() : it->second;
  }
  void SetProperty(int idx, const variant& value) override { indexed[idx] = value; }
  void RemoveProperty(const std::string& name) override { properties.erase(name); }
  void RemoveProperty(int idx) override { indexed.erase(idx); }
  variant Invoke(const std::string& name, const std::vector<variant>& args) override {
    calls.push_back(RecordedCall{"invoke", name, args, {}, {}});
    return invokeResult;
  }
  variant Construct(const std::vector<variant>&) override { return variant(); }

  std::map<std::string, variant> properties;
  std::map<int, variant> indexed;
  std::string failingProperty;
  std::vector<RecordedCall> calls;
  variant invokeResult;
  void* eventId = nullptr;
  void* context = nullptr;
  bool optimized = false;
  bool valid = true;
  bool failScheduling = false;
  bool passAsyncToHost = false;
  JSAPIPtr inner;
};

typedef boost::shared_ptr<FakePageObject> FakePageObjectPtr;

}  // namespace testing
}  // namespace PF
