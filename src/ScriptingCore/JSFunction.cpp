#include "JSFunction.h"

#include "utf8_tools.h"

namespace PF {

JSFunction::JSFunction(const JSAPIWeakPtr& obj, const std::string& func, int securityLevel)
    : JSAPIAuto(securityLevel, func + "()"), m_owner(obj), m_memberName(func) {
  reservedNames.clear();
  allowMethodObjects = false;
}

JSFunction::JSFunction(const JSAPIWeakPtr& obj, const std::wstring& func, int securityLevel)
    : JSFunction(obj, wstring_to_utf8(func), securityLevel) {}

JSFunction::~JSFunction() {}

bool JSFunction::HasMethod(const std::string& methodName) const {
  if (methodName.empty() || methodName == "call" || methodName == "apply") return true;
  return JSAPIAuto::HasMethod(methodName);
}

bool JSFunction::HasMethodObject(const std::string&) const { return false; }

bool JSFunction::HasProperty(const std::string& propertyName) const {
  if (propertyName == "call" || propertyName == "apply") return false;
  return JSAPIAuto::HasProperty(propertyName);
}

variant JSFunction::Invoke(const std::string& methodName, const std::vector<variant>& args) {
  if (methodName.empty()) return exec(args);
  if (methodName == "call") return call(args);
  if (methodName == "apply") return apply(args);
  return JSAPIAuto::Invoke(methodName, args);
}

variant JSFunction::exec(const std::vector<variant>& args) {
  JSAPIPtr owner = m_owner.lock();
  if (!owner) throw script_error("Invalid JSAPI object");
  scoped_zonelock zone(owner, getZone());
  return owner->Invoke(m_memberName, args);
}

variant JSFunction::call(const std::vector<variant>& args) {
  if (args.empty()) return exec(args);
  return exec(std::vector<variant>(args.begin() + 1, args.end()));
}

variant JSFunction::apply(const std::vector<variant>& args) {
  if (args.size() < 2) return exec(std::vector<variant>());
  return exec(args[1].convert_cast<std::vector<variant> >());
}

}  // namespace PF
