#pragma once
// PF::JSAPIAuto: the scripting object page scripts talk to. It keeps registries of methods,
// properties and attributes, each name bound to a security zone, and answers every member access.
//
// A derived class registers its members in its constructor:
//     registerMethod("echo", make_method(this, &MyObject::echo));
//     registerProperty("name", make_property(this, &MyObject::getName, &MyObject::setName));
//     registerProperty("version", make_property(this, &MyObject::getVersion));   // read-only

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "JSAPIImpl.h"
#include "member_functors.h"
#include "method_wrappers.h"
#include "property_wrappers.h"

namespace PF {

class JSFunction;

class JSAPIAuto : public JSAPIImpl {
 public:
  struct Attribute {
    variant value;
    bool readonly;
  };

  explicit JSAPIAuto(const std::string& description);
  JSAPIAuto(const int& securityLevel, const std::string& description);
  ~JSAPIAuto() override;

  using JSAPI::getMemberNames;
  using JSAPI::GetMethodObject;
  using JSAPI::GetProperty;
  using JSAPI::HasMethod;
  using JSAPI::HasMethodObject;
  using JSAPI::HasProperty;
  using JSAPI::Invoke;
  using JSAPI::RemoveProperty;
  using JSAPI::SetProperty;
  using JSAPIImpl::FireJSEvent;

  void getMemberNames(std::vector<std::string>& nameVector) const override;
  size_t getMemberCount() const override;
  bool HasMethod(const std::string& methodName) const override;
  bool HasMethodObject(const std::string& methodObjName) const override;
  bool HasProperty(const std::string& propertyName) const override;
  bool HasProperty(int idx) const override;
  JSAPIPtr GetMethodObject(const std::string& methodObjName) override;
  variant GetProperty(const std::string& propertyName) override;
  void SetProperty(const std::string& propertyName, const variant& value) override;
  variant GetProperty(int idx) override;
  void SetProperty(int idx, const variant& value) override;
  void RemoveProperty(const std::string& propertyName) override;
  void RemoveProperty(int idx) override;
  variant Invoke(const std::string& methodName, const std::vector<variant>& args) override;
  variant Construct(const std::vector<variant>& args) override;

  void fireAsyncEvent(const std::string& name, const std::vector<variant>& args) override;
  void FireJSEvent(const std::string& name, const VariantMap& members, const std::vector<variant>& arguments) override;

  virtual void registerAttribute(const std::string& name, const variant& value, bool readonly = false);
  virtual void setReserved(const std::string& name);
  virtual void unregisterMethod(const std::wstring& name);
  virtual void unregisterMethod(const std::string& name);
  virtual void registerMethod(const std::wstring& name, const CallMethodFunctor& func);
  virtual void registerMethod(const std::string& name, const CallMethodFunctor& func);
  virtual void registerProperty(const std::wstring& name, const PropertyFunctors& propFuncs);
  virtual void registerProperty(const std::string& name, const PropertyFunctors& propFuncs);
  virtual void unregisterProperty(const std::wstring& name);
  virtual void unregisterProperty(const std::string& name);
  virtual std::string ToString();
  virtual bool get_valid();
  virtual variant getAttribute(const std::string& name);
  virtual void setAttribute(const std::string& name, const variant& value);
  virtual void unregisterAttribute(const std::string& name);

  // Process-wide defaults, copied by every constructor.
  static const bool s_allowDynamicAttributes;
  static const bool s_allowRemoveProperties;
  static const bool s_allowMethodObjects;

 protected:
  // Registered and accessible at the current zone. Call with the zone lock held.
  bool memberAccessible(const std::string& name) const;

  std::map<std::pair<std::string, int>, boost::shared_ptr<JSFunction> > methodObjects;
  std::map<std::string, MethodFunctors> methods;
  std::map<std::string, PropertyFunctors> properties;
  std::map<std::string, int> memberZones;
  std::string description;
  std::map<std::string, Attribute> attributes;
  std::set<std::string> reservedNames;
  bool allowDynamicAttributes;
  bool allowRemoveProperties;
  bool allowMethodObjects;

 private:
  void init();
  // Runs a member functor; a failed value conversion inside becomes a page-facing error.
  template <class Call>
  static auto translateConversionError(Call call) -> decltype(call());
};

}  // namespace PF
