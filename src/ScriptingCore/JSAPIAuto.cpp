#include "JSAPIAuto.h"

#include <boost/make_shared.hpp>

#include "JSFunction.h"
#include "utf8_tools.h"

namespace PF {

typedef boost::recursive_mutex::scoped_lock ZoneGuard;

const bool JSAPIAuto::s_allowDynamicAttributes = true;
const bool JSAPIAuto::s_allowRemoveProperties = false;
const bool JSAPIAuto::s_allowMethodObjects = true;

namespace {

// Names the page may read on any element-like object without claiming them as attributes.
const char* const kReservedNames[] = {"offsetWidth", "offsetHeight", "width",      "height",          "attributes",
                                      "nodeType",    "namespaceURI", "localName",  "wrappedJSObject", "prototype",
                                      "style",       "id",           "constructor"};

std::string indexKey(int idx) { return std::to_string(idx); }

}  // namespace

JSAPIAuto::JSAPIAuto(const std::string& desc)
    : description(desc),
      allowDynamicAttributes(s_allowDynamicAttributes),
      allowRemoveProperties(s_allowRemoveProperties),
      allowMethodObjects(s_allowMethodObjects) {
  init();
}

JSAPIAuto::JSAPIAuto(const int& securityLevel, const std::string& desc)
    : JSAPIImpl(securityLevel),
      description(desc),
      allowDynamicAttributes(s_allowDynamicAttributes),
      allowRemoveProperties(s_allowRemoveProperties),
      allowMethodObjects(s_allowMethodObjects) {
  init();
}

JSAPIAuto::~JSAPIAuto() {}

void JSAPIAuto::init() {
  {
    scoped_zonelock zone(this, 0);
    registerMethod("toString", make_method(this, &JSAPIAuto::ToString));
    registerMethod("getAttribute", make_method(this, &JSAPIAuto::getAttribute));
    registerMethod("setAttribute", make_method(this, &JSAPIAuto::setAttribute));
    registerProperty("value", make_property(this, &JSAPIAuto::ToString));
    registerProperty("valid", make_property(this, &JSAPIAuto::get_valid));
  }
  for (const char* name : kReservedNames) setReserved(name);
}

template <class Call>
auto JSAPIAuto::translateConversionError(Call call) -> decltype(call()) {
  try {
    return call();
  } catch (const bad_variant_cast& e) {
    throw invalid_arguments(std::string("Could not convert from ") + e.from + " to " + e.to);
  }
}

bool JSAPIAuto::memberAccessible(const std::string& name) const {
  std::map<std::string, int>::const_iterator zone = memberZones.find(name);
  return zone != memberZones.end() && getZone() >= zone->second;
}

// Registration

void JSAPIAuto::registerMethod(const std::string& name, const CallMethodFunctor& func) {
  ZoneGuard lock(zoneLock);
  methods[name] = MethodFunctors(func);
  memberZones[name] = getZone();
}

void JSAPIAuto::registerMethod(const std::wstring& name, const CallMethodFunctor& func) {
  registerMethod(wstring_to_utf8(name), func);
}

void JSAPIAuto::unregisterMethod(const std::string& name) {
  if (methods.erase(name)) memberZones.erase(name);
}

void JSAPIAuto::unregisterMethod(const std::wstring& name) { unregisterMethod(wstring_to_utf8(name)); }

void JSAPIAuto::registerProperty(const std::string& name, const PropertyFunctors& propFuncs) {
  ZoneGuard lock(zoneLock);
  properties[name] = propFuncs;
  memberZones[name] = getZone();
}

void JSAPIAuto::registerProperty(const std::wstring& name, const PropertyFunctors& propFuncs) {
  registerProperty(wstring_to_utf8(name), propFuncs);
}

void JSAPIAuto::unregisterProperty(const std::string& name) {
  if (properties.erase(name)) memberZones.erase(name);
}

void JSAPIAuto::unregisterProperty(const std::wstring& name) { unregisterProperty(wstring_to_utf8(name)); }

void JSAPIAuto::registerAttribute(const std::string& name, const variant& value, bool readonly) {
  ZoneGuard lock(zoneLock);
  Attribute attribute = {value, readonly};
  attributes[name] = attribute;
  memberZones[name] = getZone();
}

void JSAPIAuto::unregisterAttribute(const std::string& name) {
  std::map<std::string, Attribute>::iterator it = attributes.find(name);
  if (it == attributes.end()) return;
  if (it->second.readonly) throw script_error("Cannot remove read-only property " + name);
  attributes.erase(it);
  memberZones.erase(name);
}

variant JSAPIAuto::getAttribute(const std::string& name) {
  std::map<std::string, Attribute>::const_iterator it = attributes.find(name);
  return it == attributes.end() ? variant() : it->second.value;
}

void JSAPIAuto::setAttribute(const std::string& name, const variant& value) {
  std::map<std::string, Attribute>::iterator it = attributes.find(name);
  if (it != attributes.end() && it->second.readonly) throw script_error("Cannot set read-only property " + name);
  Attribute attribute = {value, false};
  attributes[name] = attribute;
  memberZones[name] = getZone();
}

void JSAPIAuto::setReserved(const std::string& name) { reservedNames.insert(name); }

std::string JSAPIAuto::ToString() { return description; }

bool JSAPIAuto::get_valid() { return true; }

// Queries

void JSAPIAuto::getMemberNames(std::vector<std::string>& nameVector) const {
  ZoneGuard lock(zoneLock);
  nameVector.clear();
  int zone = getZone();
  for (const std::map<std::string, int>::value_type& member : memberZones)
    if (member.second <= zone) nameVector.push_back(member.first);
}

size_t JSAPIAuto::getMemberCount() const {
  std::vector<std::string> names;
  getMemberNames(names);
  return names.size();
}

bool JSAPIAuto::HasMethod(const std::string& methodName) const {
  ZoneGuard lock(zoneLock);
  return valid && methods.count(methodName) && memberAccessible(methodName);
}

bool JSAPIAuto::HasMethodObject(const std::string& methodObjName) const {
  return allowMethodObjects && HasMethod(methodObjName);
}

bool JSAPIAuto::HasProperty(const std::string& propertyName) const {
  ZoneGuard lock(zoneLock);
  if (!valid) return false;
  bool isMethod = HasMethod(propertyName);
  if (allowDynamicAttributes && !isMethod && !reservedNames.count(propertyName)) return true;
  if (allowMethodObjects && isMethod && memberAccessible(propertyName)) return true;
  if (properties.count(propertyName)) return true;
  return attributes.count(propertyName) != 0;
}

bool JSAPIAuto::HasProperty(int idx) const {
  ZoneGuard lock(zoneLock);
  if (!valid) return false;
  return allowDynamicAttributes || attributes.count(indexKey(idx));
}

// Member access

variant JSAPIAuto::Invoke(const std::string& methodName, const std::vector<variant>& args) {
  ZoneGuard lock(zoneLock);
  if (!valid) throw object_invalidated();
  if (!memberAccessible(methodName)) throw invalid_member(methodName);
  std::map<std::string, MethodFunctors>::const_iterator it = methods.find(methodName);
  if (it == methods.end()) throw invalid_member(methodName);
  // The functor is copied so that a member re-registering itself cannot pull it from under the call.
  CallMethodFunctor call = it->second.call;
  return translateConversionError([&] { return call(args); });
}

variant JSAPIAuto::GetProperty(const std::string& propertyName) {
  ZoneGuard lock(zoneLock);
  if (!valid) throw object_invalidated();
  bool accessible = memberAccessible(propertyName);
  std::map<std::string, PropertyFunctors>::const_iterator prop = properties.find(propertyName);
  if (prop != properties.end() && accessible) {
    GetPropFunctor get = prop->second.get;
    return get();
  }
  if (accessible) {
    if (HasMethodObject(propertyName)) return variant(GetMethodObject(propertyName));
    std::map<std::string, Attribute>::const_iterator attr = attributes.find(propertyName);
    if (attr != attributes.end()) return attr->second.value;
  }
  if (allowDynamicAttributes) return variant();
  throw invalid_member(propertyName);
}

void JSAPIAuto::SetProperty(const std::string& propertyName, const variant& value) {
  ZoneGuard lock(zoneLock);
  if (!valid) throw object_invalidated();
  std::map<std::string, PropertyFunctors>::const_iterator prop = properties.find(propertyName);
  if (prop != properties.end()) {
    if (!memberAccessible(propertyName)) throw invalid_member(propertyName);
    SetPropFunctor set = prop->second.set;
    translateConversionError([&] { set(value); });
    return;
  }
  std::map<std::string, Attribute>::const_iterator attr = attributes.find(propertyName);
  if (allowDynamicAttributes || (attr != attributes.end() && !attr->second.readonly)) {
    registerAttribute(propertyName, value, false);
    return;
  }
  throw invalid_member(propertyName);
}

void JSAPIAuto::RemoveProperty(const std::string& propertyName) {
  ZoneGuard lock(zoneLock);
  if (!valid) throw object_invalidated();
  if (!memberAccessible(propertyName)) throw invalid_member(propertyName);
  if (allowRemoveProperties && properties.count(propertyName)) {
    unregisterProperty(propertyName);
    return;
  }
  std::map<std::string, Attribute>::const_iterator attr = attributes.find(propertyName);
  if (allowDynamicAttributes && attr != attributes.end() && !attr->second.readonly) unregisterAttribute(propertyName);
}

variant JSAPIAuto::GetProperty(int idx) {
  if (!valid) throw object_invalidated();
  ZoneGuard lock(zoneLock);
  std::string key = indexKey(idx);
  std::map<std::string, Attribute>::const_iterator attr = attributes.find(key);
  if (attr != attributes.end() && memberAccessible(key)) return attr->second.value;
  if (allowDynamicAttributes) return variant();
  throw invalid_member(key);
}

void JSAPIAuto::SetProperty(int idx, const variant& value) {
  if (!valid) throw object_invalidated();
  ZoneGuard lock(zoneLock);
  std::string key = indexKey(idx);
  std::map<std::string, Attribute>::const_iterator attr = attributes.find(key);
  if (allowDynamicAttributes || (attr != attributes.end() && !attr->second.readonly)) {
    registerAttribute(key, value, false);
    return;
  }
  throw invalid_member(key);
}

void JSAPIAuto::RemoveProperty(int idx) {
  if (!valid) throw object_invalidated();
  ZoneGuard lock(zoneLock);
  std::string key = indexKey(idx);
  std::map<std::string, Attribute>::const_iterator attr = attributes.find(key);
  if (allowDynamicAttributes && attr != attributes.end() && !attr->second.readonly) {
    unregisterAttribute(key);
    return;
  }
  throw invalid_member(key);
}

variant JSAPIAuto::Construct(const std::vector<variant>&) {
  ZoneGuard lock(zoneLock);
  if (!valid) throw object_invalidated();
  throw invalid_member("constructor");
}

JSAPIPtr JSAPIAuto::GetMethodObject(const std::string& methodObjName) {
  ZoneGuard lock(zoneLock);
  if (!valid) throw object_invalidated();
  if (!memberAccessible(methodObjName) || !HasMethod(methodObjName)) throw invalid_member(methodObjName);
  int zone = getZone();
  std::pair<std::string, int> key(methodObjName, zone);
  std::map<std::pair<std::string, int>, boost::shared_ptr<JSFunction> >::const_iterator found = methodObjects.find(key);
  if (found != methodObjects.end()) return found->second;
  JSAPIWeakPtr owner(shared_from_this());
  boost::shared_ptr<JSFunction> function = boost::make_shared<JSFunction>(owner, methodObjName, zone);
  methodObjects[key] = function;
  return function;
}

// Events: the attribute of the event's name, when the page stored a function there, is one more receiver.

void JSAPIAuto::fireAsyncEvent(const std::string& name, const std::vector<variant>& args) {
  JSAPIImpl::fireAsyncEvent(name, args);
  try {
    variant handler;
    {
      ZoneGuard lock(zoneLock);
      handler = getAttribute(name);
    }
    if (handler.is_of_type<JSObjectPtr>()) {
      JSObjectPtr function = handler.cast<JSObjectPtr>();
      if (function && function->isValid()) function->InvokeAsync("", args);
    }
  } catch (const std::exception&) {
  }
}

void JSAPIAuto::FireJSEvent(const std::string& name, const VariantMap& members, const std::vector<variant>& arguments) {
  JSAPIImpl::FireJSEvent(name, members, arguments);
  variant handler;
  {
    ZoneGuard lock(zoneLock);
    handler = getAttribute(name);
  }
  if (!handler.is_of_type<JSObjectPtr>()) return;
  JSObjectPtr function = handler.cast<JSObjectPtr>();
  if (!function) return;
  std::vector<variant> eventArgs(1, variant(CreateEvent(shared_from_this(), name, members, arguments)));
  try {
    if (function->isValid()) function->InvokeAsync("", eventArgs);
  } catch (const std::exception&) {
  }
}

}  // namespace PF
