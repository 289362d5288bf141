#pragma once
// PF::JSFunction: a callable scripting object standing for one named member of another scripting
// object, with the function protocol "call" and "apply". It does not keep its owner alive.

#include <string>
#include <vector>

#include "JSAPIAuto.h"

namespace PF {

class JSFunction : public JSAPIAuto {
 public:
  JSFunction(const JSAPIWeakPtr& obj, const std::string& func, int securityLevel);
  JSFunction(const JSAPIWeakPtr& obj, const std::wstring& func, int securityLevel);
  ~JSFunction() override;

  using JSAPIAuto::HasMethod;
  using JSAPIAuto::HasMethodObject;
  using JSAPIAuto::HasProperty;
  using JSAPIAuto::Invoke;

  bool HasMethod(const std::string& methodName) const override;
  bool HasMethodObject(const std::string& methodObjName) const override;
  bool HasProperty(const std::string& propertyName) const override;
  // The empty name calls the member; "call" and "apply" follow the function protocol.
  variant Invoke(const std::string& methodName, const std::vector<variant>& args) override;

  // Calls the owner's member at this object's zone.
  virtual variant exec(const std::vector<variant>& args);
  // The first argument is the receiver and is dropped.
  virtual variant call(const std::vector<variant>& args);
  // The second argument is the list of arguments; the receiver and anything after are ignored.
  virtual variant apply(const std::vector<variant>& args);

 protected:
  JSAPIWeakPtr m_owner;
  std::string m_memberName;
};

}  // namespace PF
