// Values between the page and the plug-in. Integers that always fit 32 bits reach the page as numbers; wider
// ones (and unsigned int) as decimal text, so every result code arrives as a string of digits.
#include <cstring>
#include <map>
#include <new>
#include <typeindex>

#include "DOMWindow.h"
#include "JSObject.h"
#include "NPJavascriptObject.h"
#include "NPObjectAPI.h"
#include "NpapiBrowserHost.h"
#include "NpapiTypes.h"
#include "wipe_text.h"

namespace PF {
namespace Npapi {

namespace {

NPVariant voidVariant() {
  NPVariant v;
  VOID_TO_NPVARIANT(v);
  return v;
}

NPVariant nullVariant() {
  NPVariant v;
  NULL_TO_NPVARIANT(v);
  return v;
}

NPVariant objectVariant(NPObject* obj) {
  if (!obj) return nullVariant();
  NPVariant v;
  OBJECT_TO_NPVARIANT(obj, v);
  return v;
}

NPVariant textVariant(const NpapiBrowserHostPtr& host, const std::string& text) {
  char* buffer = static_cast<char*>(host->MemAlloc(static_cast<uint32_t>(text.size() + 1)));
  if (!buffer) throw std::bad_alloc();
  std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
  NPVariant v;
  STRINGN_TO_NPVARIANT(buffer, text.size(), v);
  return v;
}

// One of our page-object proxies hands back its own browser object, with a new reference.
NPObject* proxiedObject(const NpapiBrowserHostPtr& host, const JSAPIPtr& api) {
  boost::shared_ptr<NPObjectAPI> proxy = boost::dynamic_pointer_cast<NPObjectAPI>(api);
  if (!proxy || !proxy->getNPObject()) return nullptr;
  return host->RetainObject(proxy->getNPObject());
}

NPVariant scriptingObject(const NpapiBrowserHostPtr& host, const JSAPIPtr& api, bool keepAlive) {
  if (!api) return nullVariant();
  if (NPObject* obj = proxiedObject(host, api)) return objectVariant(obj);
  return objectVariant(host->getJSAPIWrapper(api, keepAlive));
}

// A new page array or object from the page's window; the proxy over it keeps it alive while it is filled.
boost::shared_ptr<NPObjectAPI> newPageObject(const NpapiBrowserHostPtr& host, bool array) {
  boost::shared_ptr<DOM::Window> window = host->getDOMWindow();
  if (!window) throw std::runtime_error("Cannot find HTML window");
  JSObjectPtr obj = array ? window->createArray() : window->createMap();
  boost::shared_ptr<NPObjectAPI> proxy = boost::dynamic_pointer_cast<NPObjectAPI>(obj);
  if (!proxy) throw script_error("Could not create a page object");
  return proxy;
}

}  // namespace

template <>
NPVariant makeNPVariant<bool>(const NpapiBrowserHostPtr&, const variant& var) {
  NPVariant v;
  BOOLEAN_TO_NPVARIANT(var.convert_cast<bool>(), v);
  return v;
}

template <>
NPVariant makeNPVariant<int>(const NpapiBrowserHostPtr&, const variant& var) {
  NPVariant v;
  INT32_TO_NPVARIANT(var.convert_cast<int>(), v);
  return v;
}

template <>
NPVariant makeNPVariant<double>(const NpapiBrowserHostPtr&, const variant& var) {
  NPVariant v;
  DOUBLE_TO_NPVARIANT(var.convert_cast<double>(), v);
  return v;
}

template <>
NPVariant makeNPVariant<std::string>(const NpapiBrowserHostPtr& host, const variant& var) {
  return textVariant(host, var.convert_cast<std::string>());
}

template <>
NPVariant makeNPVariant<std::wstring>(const NpapiBrowserHostPtr& host, const variant& var) {
  return textVariant(host, var.convert_cast<std::string>());
}

template <>
NPVariant makeNPVariant<variant_detail::null>(const NpapiBrowserHostPtr&, const variant&) {
  return nullVariant();
}

template <>
NPVariant makeNPVariant<variant_detail::empty>(const NpapiBrowserHostPtr&, const variant&) {
  return voidVariant();
}

template <>
NPVariant makeNPVariant<JSObjectPtr>(const NpapiBrowserHostPtr& host, const variant& var) {
  JSObjectPtr obj = var.cast<JSObjectPtr>();
  if (!obj) return nullVariant();
  if (NPObject* own = proxiedObject(host, obj)) return objectVariant(own);
  return objectVariant(NPJavascriptObject::NewObject(host, JSAPIWeakPtr(obj), true));
}

template <>
NPVariant makeNPVariant<JSAPIPtr>(const NpapiBrowserHostPtr& host, const variant& var) {
  return scriptingObject(host, var.cast<JSAPIPtr>(), true);
}

template <>
NPVariant makeNPVariant<JSAPIWeakPtr>(const NpapiBrowserHostPtr& host, const variant& var) {
  return scriptingObject(host, var.cast<JSAPIWeakPtr>().lock(), false);
}

template <>
NPVariant makeNPVariant<std::vector<variant>>(const NpapiBrowserHostPtr& host, const variant& var) {
  const std::vector<variant>& list = var.cast<std::vector<variant>>();
  boost::shared_ptr<NPObjectAPI> array = newPageObject(host, true);
  for (const variant& element : list) array->Invoke("push", std::vector<variant>{element});
  return objectVariant(host->RetainObject(array->getNPObject()));
}

template <>
NPVariant makeNPVariant<VariantMap>(const NpapiBrowserHostPtr& host, const variant& var) {
  const VariantMap& map = var.cast<VariantMap>();
  boost::shared_ptr<NPObjectAPI> object = newPageObject(host, false);
  for (const auto& entry : map) object->SetProperty(entry.first, entry.second);
  return objectVariant(host->RetainObject(object->getNPObject()));
}

namespace {

typedef NPVariant (*Builder)(const NpapiBrowserHostPtr&, const variant&);
typedef std::map<std::type_index, Builder> BuilderMap;

template <class T>
void add(BuilderMap& map, Builder builder) {
  map[std::type_index(typeid(T))] = builder;
}

const BuilderMap& getNPVariantBuilderMap() {
  static const BuilderMap builders = [] {
    BuilderMap map;
    add<bool>(map, &makeNPVariant<bool>);
    add<char>(map, &makeNPVariant<int>);
    add<unsigned char>(map, &makeNPVariant<int>);
    add<short>(map, &makeNPVariant<int>);
    add<unsigned short>(map, &makeNPVariant<int>);
    add<int>(map, &makeNPVariant<int>);
    add<unsigned int>(map, &makeNPVariant<std::string>);
    add<long>(map, &makeNPVariant<std::string>);
    add<unsigned long>(map, &makeNPVariant<std::string>);
    add<long long>(map, &makeNPVariant<std::string>);
    add<unsigned long long>(map, &makeNPVariant<std::string>);
    add<float>(map, &makeNPVariant<double>);
    add<double>(map, &makeNPVariant<double>);
    add<std::string>(map, &makeNPVariant<std::string>);
    add<std::wstring>(map, &makeNPVariant<std::wstring>);
    add<variant_detail::null>(map, &makeNPVariant<variant_detail::null>);
    add<variant_detail::empty>(map, &makeNPVariant<variant_detail::empty>);
    add<std::vector<variant>>(map, &makeNPVariant<std::vector<variant>>);
    add<VariantMap>(map, &makeNPVariant<VariantMap>);
    add<JSAPIPtr>(map, &makeNPVariant<JSAPIPtr>);
    add<JSAPIWeakPtr>(map, &makeNPVariant<JSAPIWeakPtr>);
    add<JSObjectPtr>(map, &makeNPVariant<JSObjectPtr>);
    return map;
  }();
  return builders;
}

}  // namespace

void NpapiBrowserHost::getNPVariant(NPVariant* dst, const variant& var) {
  assertMainThread();
  const BuilderMap& builders = getNPVariantBuilderMap();
  auto found = builders.find(std::type_index(var.get_type()));
  if (found == builders.end()) return;
  *dst = found->second(self(), var);
}

namespace {
// A page text as a variant. The variant keeps a copy of its own; the text it was made from is wiped,
// since it may be a PIN.
variant textVariant(const NPString& s) {
  std::string text = s.UTF8Characters ? std::string(s.UTF8Characters, s.UTF8Length) : std::string();
  const wipe_text_at_exit<std::string> wipeText{text};
  return variant(text);
}
}  // namespace

variant NpapiBrowserHost::getVariant(const NPVariant* npVar) {
  switch (npVar->type) {
    case NPVariantType_Null:
      return variant(variant_detail::null());
    case NPVariantType_Bool:
      return variant(static_cast<bool>(npVar->value.boolValue));
    case NPVariantType_Int32:
      return variant(static_cast<int>(npVar->value.intValue));
    case NPVariantType_Double:
      return variant(npVar->value.doubleValue);
    case NPVariantType_String: {
      return textVariant(npVar->value.stringValue);
    }
    case NPVariantType_Object: {
      JSObjectPtr proxy = boost::make_shared<NPObjectAPI>(npVar->value.objectValue, self());
      return variant(proxy);
    }
    case NPVariantType_Void:
    default:
      return variant();
  }
}

}  // namespace Npapi
}  // namespace PF
