#include "NPJavascriptObject.h"

#include <cstdio>
#include <typeinfo>

#include "JSObject.h"
#include "NpapiBrowserHost.h"
#include "wipe_text.h"

namespace PF {
namespace Npapi {

variant NPJavascriptObject::NPO_getLastException::m_msg;

NPClass NPJavascriptObject::NPJavascriptObjectClass = {
    NP_CLASS_STRUCT_VERSION_CTOR,        &NPJavascriptObject::_Allocate,       &NPJavascriptObject::_Deallocate,
    &NPJavascriptObject::_Invalidate,    &NPJavascriptObject::_HasMethod,      &NPJavascriptObject::_Invoke,
    &NPJavascriptObject::_InvokeDefault, &NPJavascriptObject::_HasProperty,    &NPJavascriptObject::_GetProperty,
    &NPJavascriptObject::_SetProperty,   &NPJavascriptObject::_RemoveProperty, &NPJavascriptObject::_Enumeration,
    &NPJavascriptObject::_Construct,
};

namespace {
const char* const kBuiltInNames[] = {"addEventListener", "removeEventListener", "getLastException"};
}  // namespace

// ---- Construction ------------------------------------------------------------------------------------------

NPJavascriptObject::NPJavascriptObject(NPP /*npp*/)
    : m_selfReference(boost::make_shared<NPJavascriptObject*>(this)),
      m_addEventListenerFunc(boost::make_shared<NPO_addEventListener>(this)),
      m_removeEventListenerFunc(boost::make_shared<NPO_removeEventListener>(this)),
      m_getLastExceptionFunc(boost::make_shared<NPO_getLastException>(this)) {}

NPJavascriptObject::~NPJavascriptObject() {
  if (m_retainsScriptObject) {
    JSAPIPtr api = m_scriptObject.lock();
    NpapiBrowserHostPtr host = m_host.lock();
    if (api && host) host->releaseJSAPIPtr(api);
  }
}

NPObject* NPJavascriptObject::NewObject(const NpapiBrowserHostPtr& host, const boost::weak_ptr<JSAPI>& api,
                                        bool autoRelease) {
  NPObject* obj = host->CreateObject(&NPJavascriptObjectClass);
  if (!obj) return nullptr;
  NPJavascriptObject* wrapper = static_cast<NPJavascriptObject*>(obj);
  wrapper->setAPI(api, host);
  wrapper->m_retainsScriptObject = autoRelease;
  if (autoRelease) {
    JSAPIPtr ptr = api.lock();
    if (ptr) host->retainJSAPIPtr(ptr);
  }
  return obj;
}

bool NPJavascriptObject::isNPJavaScriptObject(const NPObject* obj) {
  return obj && obj->_class == &NPJavascriptObjectClass;
}

void NPJavascriptObject::setAPI(const boost::weak_ptr<JSAPI>& api, const NpapiBrowserHostPtr& host) {
  m_scriptObject = api;
  m_host = host;
}

JSAPIPtr NPJavascriptObject::getAPI() const {
  JSAPIPtr api = m_scriptObject.lock();
  if (!api) throw std::bad_cast();
  return api;
}

NpapiBrowserHostPtr NPJavascriptObject::getHost() {
  NpapiBrowserHostPtr host = m_host.lock();
  if (!host) {
    Invalidate();
    throw std::bad_cast();
  }
  return host;
}

bool NPJavascriptObject::isValid() const { return m_valid && !m_scriptObject.expired() && !m_host.expired(); }

// ---- The failure frame -------------------------------------------------------------------------------------

template <class Body>
bool NPJavascriptObject::guarded(Body body) {
  std::string message;
  try {
    return body();
  } catch (const script_error& e) {
    message = e.what();
  } catch (const std::bad_cast&) {
    return false;
  } catch (const std::exception& e) {
    // Not meant for the page, but still a failure the page should see rather than a quiet false.
    message = e.what();
  } catch (...) {
    return false;
  }
  try {
    NpapiBrowserHostPtr host = m_host.lock();
    if (host) host->SetException(this, message);
    NPO_getLastException::m_msg = variant(message);
  } catch (...) {
  }
  return false;
}

std::string NPJavascriptObject::nameOf(NPIdentifier name) { return getHost()->StringFromIdentifier(name); }

// A registered method that is offered as a method object is read as a property, not called as a method.
bool NPJavascriptObject::methodRule(const std::string& name, const JSAPIPtr& api) const {
  if (name == "toString") return true;
  return !api->HasMethodObject(name) && api->HasMethod(name);
}

// ---- Members -----------------------------------------------------------------------------------------------

void NPJavascriptObject::Invalidate() {
  m_valid = false;
  try {
    JSAPIPtr api = m_scriptObject.lock();
    if (api) api->invalidate();
  } catch (...) {
  }
}

bool NPJavascriptObject::HasMethod(NPIdentifier name) {
  if (!isValid()) return false;
  return guarded([&] {
    NpapiBrowserHostPtr host = getHost();
    if (!host->IdentifierIsString(name)) return false;
    return methodRule(nameOf(name), getAPI());
  });
}

bool NPJavascriptObject::Invoke(NPIdentifier name, const NPVariant* args, uint32_t argCount, NPVariant* result) {
  if (result) VOID_TO_NPVARIANT(*result);
  if (!isValid()) return false;
  return guarded([&] {
    NpapiBrowserHostPtr host = getHost();
    JSAPIPtr api = getAPI();
    const std::string method = name ? nameOf(name) : std::string();
    std::vector<variant> params;
    params.reserve(argCount);
    for (uint32_t i = 0; i < argCount; ++i) params.push_back(host->getVariant(&args[i]));
    variant ret = api->Invoke(method, params);
    if (result) host->getNPVariant(result, ret);
    return true;
  });
}

bool NPJavascriptObject::InvokeDefault(const NPVariant* args, uint32_t argCount, NPVariant* result) {
  return Invoke(nullptr, args, argCount, result);
}

bool NPJavascriptObject::HasProperty(NPIdentifier name) {
  if (!isValid()) return false;
  return guarded([&] {
    NpapiBrowserHostPtr host = getHost();
    JSAPIPtr api = getAPI();
    if (!host->IdentifierIsString(name)) return api->HasProperty(host->IntFromIdentifier(name));
    const std::string text = nameOf(name);
    for (const char* builtIn : kBuiltInNames)
      if (text == builtIn) return true;
    if (text == "toString") return false;
    if (api->HasMethodObject(text)) return true;
    if (methodRule(text, api)) return false;
    return api->HasProperty(text);
  });
}

bool NPJavascriptObject::GetProperty(NPIdentifier name, NPVariant* result) {
  if (!isValid()) return false;
  return guarded([&] {
    NpapiBrowserHostPtr host = getHost();
    JSAPIPtr api = getAPI();
    variant value;
    if (!host->IdentifierIsString(name)) {
      value = api->GetProperty(host->IntFromIdentifier(name));
    } else {
      const std::string text = nameOf(name);
      if (text == kBuiltInNames[0])
        value = variant(JSAPIPtr(m_addEventListenerFunc));
      else if (text == kBuiltInNames[1])
        value = variant(JSAPIPtr(m_removeEventListenerFunc));
      else if (text == kBuiltInNames[2])
        value = variant(JSAPIPtr(m_getLastExceptionFunc));
      else if (api->HasMethodObject(text))
        value = variant(api->GetMethodObject(text));
      else
        value = api->GetProperty(text);
    }
    host->getNPVariant(result, value);
    return true;
  });
}

bool NPJavascriptObject::SetProperty(NPIdentifier name, const NPVariant* value) {
  if (!isValid()) return false;
  return guarded([&] {
    NpapiBrowserHostPtr host = getHost();
    JSAPIPtr api = getAPI();
    variant arg = host->getVariant(value);
    // The value may be a PIN: its converted copy is wiped whichever way the set ends.
    const wipe_text_at_exit<variant> wipeArg{arg};
    if (!host->IdentifierIsString(name)) {
      api->SetProperty(host->IntFromIdentifier(name), arg);
      return true;
    }
    const std::string text = nameOf(name);
    if (api->HasMethodObject(text)) throw script_error("This property cannot be changed");
    api->SetProperty(text, arg);
    return true;
  });
}

bool NPJavascriptObject::RemoveProperty(NPIdentifier name) {
  if (!isValid()) return false;
  return guarded([&] {
    NpapiBrowserHostPtr host = getHost();
    JSAPIPtr api = getAPI();
    if (host->IdentifierIsString(name))
      api->RemoveProperty(nameOf(name));
    else
      api->RemoveProperty(host->IntFromIdentifier(name));
    return true;
  });
}

bool NPJavascriptObject::Enumeration(NPIdentifier** identifiers, uint32_t* count) {
  if (!isValid()) return false;
  const bool ok = guarded([&] {
    NpapiBrowserHostPtr host = getHost();
    std::vector<std::string> names;
    getAPI()->getMemberNames(names);
    for (const char* builtIn : kBuiltInNames) names.push_back(builtIn);
    NPIdentifier* ids = static_cast<NPIdentifier*>(host->MemAlloc(sizeof(NPIdentifier) * names.size()));
    if (!ids) throw std::bad_alloc();
    for (size_t i = 0; i < names.size(); ++i) ids[i] = host->GetStringIdentifier(names[i].c_str());
    *identifiers = ids;
    *count = static_cast<uint32_t>(names.size());
    return true;
  });
  if (!ok && count) *count = 0;
  return ok;
}

bool NPJavascriptObject::Construct(const NPVariant* args, uint32_t argCount, NPVariant* result) {
  if (result) VOID_TO_NPVARIANT(*result);
  if (!isValid()) return false;
  return guarded([&] {
    NpapiBrowserHostPtr host = getHost();
    std::vector<variant> params;
    for (uint32_t i = 0; i < argCount; ++i) params.push_back(host->getVariant(&args[i]));
    host->getNPVariant(result, getAPI()->Construct(params));
    return true;
  });
}

// ---- Class callbacks ---------------------------------------------------------------------------------------

NPObject* NPJavascriptObject::_Allocate(NPP npp, NPClass*) {
  try {
    return new NPJavascriptObject(npp);
  } catch (...) {
    return nullptr;
  }
}

void NPJavascriptObject::_Deallocate(NPObject* npobj) {
  try {
    delete static_cast<NPJavascriptObject*>(npobj);
  } catch (...) {
  }
}

void NPJavascriptObject::_Invalidate(NPObject* npobj) {
  if (npobj) static_cast<NPJavascriptObject*>(npobj)->Invalidate();
}

bool NPJavascriptObject::_HasMethod(NPObject* npobj, NPIdentifier name) {
  return npobj && static_cast<NPJavascriptObject*>(npobj)->HasMethod(name);
}

bool NPJavascriptObject::_Invoke(NPObject* npobj, NPIdentifier name, const NPVariant* args, uint32_t argCount,
                                 NPVariant* result) {
  return npobj && static_cast<NPJavascriptObject*>(npobj)->Invoke(name, args, argCount, result);
}

bool NPJavascriptObject::_InvokeDefault(NPObject* npobj, const NPVariant* args, uint32_t argCount, NPVariant* result) {
  return npobj && static_cast<NPJavascriptObject*>(npobj)->InvokeDefault(args, argCount, result);
}

bool NPJavascriptObject::_HasProperty(NPObject* npobj, NPIdentifier name) {
  return npobj && static_cast<NPJavascriptObject*>(npobj)->HasProperty(name);
}

bool NPJavascriptObject::_GetProperty(NPObject* npobj, NPIdentifier name, NPVariant* result) {
  return npobj && static_cast<NPJavascriptObject*>(npobj)->GetProperty(name, result);
}

bool NPJavascriptObject::_SetProperty(NPObject* npobj, NPIdentifier name, const NPVariant* value) {
  return npobj && static_cast<NPJavascriptObject*>(npobj)->SetProperty(name, value);
}

bool NPJavascriptObject::_RemoveProperty(NPObject* npobj, NPIdentifier name) {
  return npobj && static_cast<NPJavascriptObject*>(npobj)->RemoveProperty(name);
}

bool NPJavascriptObject::_Enumeration(NPObject* npobj, NPIdentifier** value, uint32_t* count) {
  return npobj && static_cast<NPJavascriptObject*>(npobj)->Enumeration(value, count);
}

bool NPJavascriptObject::_Construct(NPObject* npobj, const NPVariant* args, uint32_t argCount, NPVariant* result) {
  return npobj && static_cast<NPJavascriptObject*>(npobj)->Construct(args, argCount, result);
}

// ---- Built-in function objects -----------------------------------------------------------------------------

NPJavascriptObject::BuiltIn::BuiltIn(NPJavascriptObject* owner, const std::string& name)
    : JSFunction(JSAPIWeakPtr(), name, 0), m_owner(owner->m_selfReference) {}

NPJavascriptObject* NPJavascriptObject::BuiltIn::owner() const {
  boost::shared_ptr<NPJavascriptObject*> link = m_owner.lock();
  if (!link || !(*link)->isValid()) throw invalid_arguments("Invalid Arguments");
  return *link;
}

namespace {

struct ListenerCall {
  std::string eventName;
  JSObjectPtr listener;
};

ListenerCall listenerArguments(const std::vector<variant>& args) {
  if (args.size() < 2 || args.size() > 3) throw invalid_arguments("Invalid Arguments");
  try {
    return ListenerCall{"on" + args[0].convert_cast<std::string>(), args[1].convert_cast<JSObjectPtr>()};
  } catch (const std::bad_cast& e) {
    throw invalid_arguments(e.what());
  }
}

}  // namespace

variant NPJavascriptObject::NPO_addEventListener::exec(const std::vector<variant>& args) {
  NPJavascriptObject* self = owner();
  ListenerCall call = listenerArguments(args);
  self->getAPI()->registerEventMethod(call.eventName, call.listener);
  return variant();
}

variant NPJavascriptObject::NPO_removeEventListener::exec(const std::vector<variant>& args) {
  NPJavascriptObject* self = owner();
  ListenerCall call = listenerArguments(args);
  self->getAPI()->unregisterEventMethod(call.eventName, call.listener);
  return variant();
}

variant NPJavascriptObject::NPO_getLastException::exec(const std::vector<variant>&) { return m_msg; }

}  // namespace Npapi
}  // namespace PF
