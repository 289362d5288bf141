#include "JSAPI.h"

#include "utf8_tools.h"

namespace PF {

void JSAPI::registerEventMethod(const std::string&, boost::shared_ptr<JSObject>&) {
  throw script_error("Not implemented");
}

void JSAPI::registerEventMethod(const std::wstring& name, boost::shared_ptr<JSObject>& event) {
  registerEventMethod(wstring_to_utf8(name), event);
}

void JSAPI::unregisterEventMethod(const std::string&, boost::shared_ptr<JSObject>&) {
  throw script_error("Not implemented");
}

void JSAPI::unregisterEventMethod(const std::wstring& name, boost::shared_ptr<JSObject>& event) {
  unregisterEventMethod(wstring_to_utf8(name), event);
}

void JSAPI::registerEventInterface(const boost::shared_ptr<JSObject>&) { throw script_error("Not implemented"); }

void JSAPI::unregisterEventInterface(const boost::shared_ptr<JSObject>&) { throw script_error("Not implemented"); }

void JSAPI::getMemberNames(std::vector<std::wstring>& nameVector) const {
  nameVector.clear();
  std::vector<std::string> names;
  getMemberNames(names);
  for (const std::string& name : names) nameVector.push_back(utf8_to_wstring(name));
}

bool JSAPI::HasMethod(const std::wstring& methodName) const { return HasMethod(wstring_to_utf8(methodName)); }

bool JSAPI::HasMethodObject(const std::wstring& methodObjName) const {
  return HasMethodObject(wstring_to_utf8(methodObjName));
}

bool JSAPI::HasProperty(const std::wstring& propertyName) const { return HasProperty(wstring_to_utf8(propertyName)); }

JSAPIPtr JSAPI::GetMethodObject(const std::wstring& methodObjName) {
  return GetMethodObject(wstring_to_utf8(methodObjName));
}

variant JSAPI::GetProperty(const std::wstring& propertyName) { return GetProperty(wstring_to_utf8(propertyName)); }

void JSAPI::SetProperty(const std::wstring& propertyName, const variant& value) {
  SetProperty(wstring_to_utf8(propertyName), value);
}

void JSAPI::RemoveProperty(const std::wstring& propertyName) { RemoveProperty(wstring_to_utf8(propertyName)); }

variant JSAPI::Invoke(const std::wstring& methodName, const std::vector<variant>& args) {
  return Invoke(wstring_to_utf8(methodName), args);
}

}  // namespace PF
