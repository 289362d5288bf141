#pragma once
// The browser object the page's scripts see for one of the plug-in's scripting objects. Every callback of
// its class converts names and values, forwards to the scripting object and turns script errors into page
// exceptions; nothing thrown inside ever reaches the browser. Besides the scripting object's own members it
// offers addEventListener, removeEventListener and getLastException.

#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include "JSFunction.h"
#include "npapi/NPAPI.h"

namespace PF {
namespace Npapi {

class NpapiBrowserHost;
typedef boost::shared_ptr<NpapiBrowserHost> NpapiBrowserHostPtr;

class NPJavascriptObject : public NPObject {
 public:
  // Built-in function objects; each knows its owner through the owner's self-reference, so one that
  // outlives its owner refuses like one whose owner is invalid.
  class BuiltIn : public PF::JSFunction {
   public:
    BuiltIn(NPJavascriptObject* owner, const std::string& name);

   protected:
    NPJavascriptObject* owner() const;
    boost::weak_ptr<NPJavascriptObject*> m_owner;
  };
  class NPO_addEventListener : public BuiltIn {
   public:
    explicit NPO_addEventListener(NPJavascriptObject* owner) : BuiltIn(owner, "attachEvent") {}
    variant exec(const std::vector<variant>& args) override;
  };
  class NPO_removeEventListener : public BuiltIn {
   public:
    explicit NPO_removeEventListener(NPJavascriptObject* owner) : BuiltIn(owner, "detachEvent") {}
    variant exec(const std::vector<variant>& args) override;
  };
  class NPO_getLastException : public BuiltIn {
   public:
    explicit NPO_getLastException(NPJavascriptObject* owner) : BuiltIn(owner, "getLastException") {}
    variant exec(const std::vector<variant>& args) override;
    static variant m_msg;
  };

  static NPObject* NewObject(const NpapiBrowserHostPtr& host, const boost::weak_ptr<JSAPI>& api, bool autoRelease);
  static bool isNPJavaScriptObject(const NPObject* obj);
  static NPClass NPJavascriptObjectClass;

  explicit NPJavascriptObject(NPP npp);
  virtual ~NPJavascriptObject();

  void setAPI(const boost::weak_ptr<JSAPI>& api, const NpapiBrowserHostPtr& host);
  JSAPIPtr getAPI() const;
  NpapiBrowserHostPtr getHost();
  bool isValid() const;
  boost::weak_ptr<NPJavascriptObject*> selfReference() const { return m_selfReference; }

  void Invalidate();
  bool HasMethod(NPIdentifier name);
  bool Invoke(NPIdentifier name, const NPVariant* args, uint32_t argCount, NPVariant* result);
  bool InvokeDefault(const NPVariant* args, uint32_t argCount, NPVariant* result);
  bool HasProperty(NPIdentifier name);
  bool GetProperty(NPIdentifier name, NPVariant* result);
  bool SetProperty(NPIdentifier name, const NPVariant* value);
  bool RemoveProperty(NPIdentifier name);
  bool Enumeration(NPIdentifier** identifiers, uint32_t* count);
  bool Construct(const NPVariant* args, uint32_t argCount, NPVariant* result);

 private:
  // The callbacks of the class: plain functions, each guarded so that no exception leaves it.
  static NPObject* _Allocate(NPP npp, NPClass* aClass);
  static void _Deallocate(NPObject* npobj);
  static void _Invalidate(NPObject* npobj);
  static bool _HasMethod(NPObject* npobj, NPIdentifier name);
  static bool _Invoke(NPObject* npobj, NPIdentifier name, const NPVariant* args, uint32_t argCount, NPVariant* result);
  static bool _InvokeDefault(NPObject* npobj, const NPVariant* args, uint32_t argCount, NPVariant* result);
  static bool _HasProperty(NPObject* npobj, NPIdentifier name);
  static bool _GetProperty(NPObject* npobj, NPIdentifier name, NPVariant* result);
  static bool _SetProperty(NPObject* npobj, NPIdentifier name, const NPVariant* value);
  static bool _RemoveProperty(NPObject* npobj, NPIdentifier name);
  static bool _Enumeration(NPObject* npobj, NPIdentifier** value, uint32_t* count);
  static bool _Construct(NPObject* npobj, const NPVariant* args, uint32_t argCount, NPVariant* result);

  // Runs body inside the common failure frame: bad casts fail quietly, script errors become the page's
  // exception and the last-exception text, anything else fails quietly too (nothing reaches the browser).
  template <class Body>
  bool guarded(Body body);
  bool methodRule(const std::string& name, const JSAPIPtr& api) const;
  std::string nameOf(NPIdentifier name);

  boost::weak_ptr<JSAPI> m_scriptObject;
  boost::weak_ptr<NpapiBrowserHost> m_host;
  bool m_valid = true;
  bool m_retainsScriptObject = false;
  boost::shared_ptr<NPJavascriptObject*> m_selfReference;
  boost::shared_ptr<NPO_addEventListener> m_addEventListenerFunc;
  boost::shared_ptr<NPO_removeEventListener> m_removeEventListenerFunc;
  boost::shared_ptr<NPO_getLastException> m_getLastExceptionFunc;
};

}  // namespace Npapi
}  // namespace PF
