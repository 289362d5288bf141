#include "NPObjectAPI.h"

#include <typeinfo>

#include "NPJavascriptObject.h"
#include "NpapiBrowserHost.h"
#include "OwnedVariants.h"

namespace PF {
namespace Npapi {

const std::string NPObjectAPI::eventIdProperty = "__pf_event_id";
unsigned int NPObjectAPI::m_lastEventId = 0;
boost::mutex NPObjectAPI::m_lastEventId_mutex;

NPObjectAPI::NPObjectAPI(NPObject* o, const NpapiBrowserHostPtr& h)
    : JSObject(h), m_browser(h), obj(o), is_JSAPI(false) {
  if (obj) h->RetainObject(obj);
  JSAPIPtr api = getJSAPI();
  if (api) {
    is_JSAPI = true;
    inner = api;
  }
}

NPObjectAPI::~NPObjectAPI() {
  NpapiBrowserHostPtr h = m_browser.lock();
  if (h && obj) h->deferred_release(obj);
  obj = nullptr;
}

NpapiBrowserHostPtr NPObjectAPI::getHost() const {
  NpapiBrowserHostPtr h = m_browser.lock();
  if (!h) throw std::bad_cast();
  return h;
}

void NPObjectAPI::invalidate() { inner.reset(); }

JSAPIPtr NPObjectAPI::getJSAPI() const {
  if (!obj || !NPJavascriptObject::isNPJavaScriptObject(obj)) return JSAPIPtr();
  try {
    return static_cast<NPJavascriptObject*>(obj)->getAPI();
  } catch (const std::bad_cast&) {
    return JSAPIPtr();
  }
}

void* NPObjectAPI::getEventContext() const {
  NpapiBrowserHostPtr h = m_browser.lock();
  return h ? const_cast<void*>(h->getContextID()) : nullptr;
}

void NPObjectAPI::getMemberNames(std::vector<std::string>& nameVector) const {
  if (m_browser.expired()) return;
  NpapiBrowserHostPtr h = getHost();
  if (!h->isMainThread()) {
    std::vector<std::string>* names = &nameVector;
    h->CallOnMainThread([this, names] { JSAPI::getMemberNames(names); });
    return;
  }
  if (is_JSAPI) {
    JSAPIPtr api = inner.lock();
    if (api) api->getMemberNames(nameVector);
    return;
  }
  NPIdentifier* ids = nullptr;
  uint32_t count = 0;
  if (h->Enumerate(obj, &ids, &count)) {
    for (uint32_t i = 0; i < count; ++i) nameVector.push_back(h->StringFromIdentifier(ids[i]));
    h->MemFree(ids);
  }
}

size_t NPObjectAPI::getMemberCount() const {
  if (m_browser.expired()) return 0;
  NpapiBrowserHostPtr h = getHost();
  if (!h->isMainThread()) return h->CallOnMainThread([this] { return getMemberCount(); });
  if (is_JSAPI) {
    JSAPIPtr api = inner.lock();
    return api ? api->getMemberCount() : 0;
  }
  NPIdentifier* ids = nullptr;
  uint32_t count = 0;
  if (!h->Enumerate(obj, &ids, &count)) return 0;
  h->MemFree(ids);
  return count;
}

bool NPObjectAPI::HasMethod(const std::string& methodName) const {
  if (m_browser.expired()) return false;
  NpapiBrowserHostPtr h = getHost();
  if (!h->isMainThread()) return h->CallOnMainThread([this, methodName] { return HasMethod(methodName); });
  if (is_JSAPI) {
    JSAPIPtr api = inner.lock();
    return api && api->HasMethod(methodName);
  }
  return h->HasMethod(obj, h->GetStringIdentifier(methodName.c_str()));
}

bool NPObjectAPI::HasProperty(const std::string& propertyName) const {
  if (m_browser.expired()) return false;
  NpapiBrowserHostPtr h = getHost();
  if (!h->isMainThread()) return h->CallOnMainThread([this, propertyName] { return HasProperty(propertyName); });
  if (is_JSAPI) {
    JSAPIPtr api = inner.lock();
    return api && api->HasProperty(propertyName);
  }
  return h->HasProperty(obj, h->GetStringIdentifier(propertyName.c_str()));
}

bool NPObjectAPI::HasProperty(int idx) const {
  if (m_browser.expired()) return false;
  NpapiBrowserHostPtr h = getHost();
  if (is_JSAPI) {
    JSAPIPtr api = inner.lock();
    return api && api->HasProperty(idx);
  }
  return h->HasProperty(obj, h->GetIntIdentifier(idx));
}

variant NPObjectAPI::GetProperty(const std::string& propertyName) {
  if (m_browser.expired()) return variant();
  NpapiBrowserHostPtr h = getHost();
  if (!h->isMainThread()) return h->CallOnMainThread([this, propertyName] { return GetProperty(propertyName); });
  if (is_JSAPI) {
    JSAPIPtr api = inner.lock();
    return api ? api->GetProperty(propertyName) : variant(false);
  }
  OwnedVariant result(*h);
  if (!h->GetProperty(obj, h->GetStringIdentifier(propertyName.c_str()), result.get()))
    throw script_error(propertyName);
  return h->getVariant(result.get());
}

void NPObjectAPI::SetProperty(const std::string& propertyName, const variant& value) {
  if (m_browser.expired()) return;
  NpapiBrowserHostPtr h = getHost();
  if (!h->isMainThread()) {
    h->CallOnMainThread([this, propertyName, value] { SetProperty(propertyName, value); });
    return;
  }
  if (is_JSAPI) {
    JSAPIPtr api = inner.lock();
    if (api) api->SetProperty(propertyName, value);
    return;
  }
  OwnedVariant arg(*h);
  h->getNPVariant(arg.get(), value);
  if (!h->SetProperty(obj, h->GetStringIdentifier(propertyName.c_str()), arg.get())) throw script_error(propertyName);
}

variant NPObjectAPI::GetProperty(int idx) {
  if (m_browser.expired()) return variant();
  if (is_JSAPI) {
    JSAPIPtr api = inner.lock();
    if (api) return api->GetProperty(idx);
  }
  return GetProperty(std::to_string(idx));
}

void NPObjectAPI::SetProperty(int idx, const variant& value) {
  if (m_browser.expired()) return;
  if (is_JSAPI) {
    JSAPIPtr api = inner.lock();
    if (api) {
      api->SetProperty(idx, value);
      return;
    }
  }
  SetProperty(std::to_string(idx), value);
}

void NPObjectAPI::RemoveProperty(const std::string& propertyName) {
  if (m_browser.expired()) return;
  NpapiBrowserHostPtr h = getHost();
  if (!h->isMainThread()) {
    h->CallOnMainThread([this, propertyName] { RemoveProperty(propertyName); });
    return;
  }
  if (is_JSAPI) {
    JSAPIPtr api = inner.lock();
    if (api) api->RemoveProperty(propertyName);
    return;
  }
  if (!h->RemoveProperty(obj, h->GetStringIdentifier(propertyName.c_str()))) throw script_error(propertyName);
}

void NPObjectAPI::RemoveProperty(int idx) {
  if (m_browser.expired()) return;
  if (is_JSAPI) {
    JSAPIPtr api = inner.lock();
    if (api) {
      api->RemoveProperty(idx);
      return;
    }
  }
  RemoveProperty(std::to_string(idx));
}

variant NPObjectAPI::Invoke(const std::string& methodName, const std::vector<variant>& args) {
  if (m_browser.expired()) return variant(false);
  NpapiBrowserHostPtr h = getHost();
  if (!h->isMainThread()) return h->CallOnMainThread([this, methodName, args] { return Invoke(methodName, args); });
  if (is_JSAPI) {
    JSAPIPtr api = inner.lock();
    return api ? api->Invoke(methodName, args) : variant(false);
  }
  VariantArray npArgs(*h, args.size());
  for (size_t i = 0; i < args.size(); ++i) h->getNPVariant(&npArgs[i], args[i]);
  OwnedVariant result(*h);
  const bool ok = methodName.empty() ? h->InvokeDefault(obj, npArgs.data(), npArgs.size(), result.get())
                                     : h->Invoke(obj, h->GetStringIdentifier(methodName.c_str()), npArgs.data(),
                                                 npArgs.size(), result.get());
  if (!ok) throw script_error(methodName);
  return h->getVariant(result.get());
}

variant NPObjectAPI::Construct(const std::vector<variant>& args) {
  if (m_browser.expired()) return variant(false);
  NpapiBrowserHostPtr h = getHost();
  if (!h->isMainThread()) return h->CallOnMainThread([this, args] { return Construct(args); });
  if (is_JSAPI) {
    JSAPIPtr api = inner.lock();
    return api ? api->Construct(args) : variant(false);
  }
  VariantArray npArgs(*h, args.size());
  for (size_t i = 0; i < args.size(); ++i) h->getNPVariant(&npArgs[i], args[i]);
  OwnedVariant result(*h);
  if (!h->Construct(obj, npArgs.data(), npArgs.size(), result.get())) throw script_error("constructor");
  return h->getVariant(result.get());
}

// Event ids live on the page object, so every handle on one page object, in any instance, finds the same.
void* NPObjectAPI::getEventId() const {
  if (m_eventId == 0) m_eventId = readEventId();
  return reinterpret_cast<void*>(static_cast<uintptr_t>(m_eventId));
}

unsigned int NPObjectAPI::readEventId() const {
  NPObjectAPI* self = const_cast<NPObjectAPI*>(this);
  if (!HasProperty(eventIdProperty)) {
    unsigned int id;
    {
      boost::mutex::scoped_lock lock(m_lastEventId_mutex);
      id = ++m_lastEventId;
    }
    self->SetProperty(eventIdProperty, variant(id));
  }
  try {
    return self->GetProperty(eventIdProperty).convert_cast<unsigned int>();
  } catch (const bad_variant_cast& e) {
    throw invalid_arguments(e.what());
  }
}

void NPObjectAPI::callMultipleFunctions(const std::string& name, const std::vector<variant>& args,
                                        const std::vector<JSObjectPtr>& functions,
                                        const std::vector<JSObjectPtr>& objects) {
  if (!isValid()) throw script_error("Error calling handlers");
  NpapiBrowserHostPtr h = getHost();
  if (!h->isMainThread()) {
    boost::shared_ptr<NPObjectAPI> me = boost::static_pointer_cast<NPObjectAPI>(shared_from_this());
    h->ScheduleOnMainThread(
        me, [me, name, args, functions, objects] { me->callMultipleFunctions(name, args, functions, objects); });
    return;
  }
  JSObjectPtr delegate = h->getDelayedInvokeDelegate();
  if (!delegate) throw script_error("Error calling handlers (delegate disappeared)");
  boost::shared_ptr<NPObjectAPI> delegateProxy = boost::dynamic_pointer_cast<NPObjectAPI>(delegate);
  if (!delegateProxy) throw script_error("Error calling handlers (delegate disappeared)");

  VariantArray entries(*h, 4);
  INT32_TO_NPVARIANT(0, entries[0]);
  h->getNPVariant(&entries[2], variant(args));
  h->getNPVariant(&entries[3], variant(name));

  auto deliver = [&](const JSObjectPtr& listener, uint32_t count) {
    h->getNPVariant(&entries[1], variant(listener));
    OwnedVariant result(*h);
    h->InvokeDefault(delegateProxy->getNPObject(), entries.data(), count, result.get());
    entries.release(1);
  };
  for (const JSObjectPtr& listener : functions) {
    JSAPIPtr own = listener ? listener->getJSAPI() : JSAPIPtr();
    if (own)
      own->Invoke("", args);
    else if (listener)
      deliver(listener, 3);
  }
  for (const JSObjectPtr& listener : objects) {
    JSAPIPtr own = listener ? listener->getJSAPI() : JSAPIPtr();
    if (own)
      own->Invoke(name, args);
    else if (listener)
      deliver(listener, 4);
  }
}

}  // namespace Npapi
}  // namespace PF
