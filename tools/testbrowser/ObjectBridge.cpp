// Objects crossing between the page's script engine and the plug-in.
//
// Page values handed to the plug-in become NPObjects of the browser's own class (one per page value while
// the plug-in holds it); plug-in objects reaching the page become Proxies over a callable target (one per
// object, holding one browser reference, until the instance goes). Values are copied: texts into blocks of
// the browser's allocator, numbers as Int32 when integral and in range, else Double.
//
// Duktape reports errors by longjmp, so no function here that can throw into the page keeps C++ objects
// with destructors alive across the throw: each trap does its work in an "Impl" function that leaves an
// error value on the stack and returns kThrow, and a thin wrapper throws it.
#include <duktape.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "testbrowser/Browser.h"
#include "testbrowser/ScriptSupport.h"

namespace testbrowser {

namespace {

const char* const kObjectKey = DUK_HIDDEN_SYMBOL("npobject");
const char* const kTargetKey = DUK_HIDDEN_SYMBOL("target");
const char* const kNameKey = DUK_HIDDEN_SYMBOL("name");
const duk_ret_t kThrow = -100;

struct PageObject {
  NPObject base;
  uint32_t id;
  void* heapPtr;
};

Browser& B() { return *Browser::current(); }
duk_context* C() { return B().script(); }

std::string keyOf(const void* p) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%p", p);
  return buf;
}

void pushError(duk_context* ctx, const std::string& message) {
  duk_push_error_object(ctx, DUK_ERR_ERROR, "%s", message.c_str());
}

void clearPending() {
  std::string ignored;
  B().takePendingException(ignored);
}

// An exception the plug-in set during its callback becomes the page's error.
bool pendingToError(duk_context* ctx) {
  std::string message;
  if (!B().takePendingException(message)) return false;
  pushError(ctx, message);
  return true;
}

bool isArrayIndex(const std::string& s) {
  if (s.empty() || s.size() > 10) return false;
  if (s.size() > 1 && s[0] == '0') return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return std::stoll(s) <= INT32_MAX;
}

NPIdentifier identifierFor(const std::string& name) {
  return isArrayIndex(name) ? B().identifiers().forInt(static_cast<int32_t>(std::stol(name)))
                            : B().identifiers().forName(name);
}

std::string stringAt(duk_context* ctx, duk_idx_t idx) {
  duk_size_t len = 0;
  const char* s = duk_get_lstring(ctx, idx, &len);
  return s ? std::string(s, len) : std::string();
}

void pushKey(duk_context* ctx, NPIdentifier id) {
  Identifiers& ids = B().identifiers();
  if (ids.isString(id)) {
    std::string name = ids.name(id);
    duk_push_lstring(ctx, name.data(), name.size());
  } else {
    duk_push_int(ctx, ids.intValue(id));
  }
}

NPObject* targetObject(duk_context* ctx, duk_idx_t targetIdx) {
  duk_get_prop_string(ctx, targetIdx, kObjectKey);
  NPObject* obj = static_cast<NPObject*>(duk_get_pointer(ctx, -1));
  duk_pop(ctx);
  return obj && B().objects().isLive(obj) ? obj : nullptr;
}

// Browser-owned variants for the elements of the page array at arrayIdx.
std::vector<NPVariant> variantsFromArray(duk_context* ctx, duk_idx_t arrayIdx) {
  arrayIdx = duk_normalize_index(ctx, arrayIdx);
  duk_size_t n = duk_get_length(ctx, arrayIdx);
  std::vector<NPVariant> out(n);
  for (duk_size_t i = 0; i < n; ++i) {
    duk_get_prop_index(ctx, arrayIdx, static_cast<duk_uarridx_t>(i));
    B().toVariant(-1, &out[i]);
    duk_pop(ctx);
  }
  return out;
}

std::vector<NPVariant> variantsFromStack(duk_context* ctx, duk_idx_t count) {
  std::vector<NPVariant> out(count);
  for (duk_idx_t i = 0; i < count; ++i) B().toVariant(i, &out[i]);
  return out;
}

void releaseAll(std::vector<NPVariant>& values) {
  for (NPVariant& v : values) B().releaseVariant(&v);
}

// Pushes the plug-in's result (or an error) after a call; releases the result.
duk_ret_t finishCall(duk_context* ctx, bool ok, NPVariant& result, const std::string& failure) {
  if (pendingToError(ctx)) {
    B().releaseVariant(&result);
    return kThrow;
  }
  if (!ok) {
    B().releaseVariant(&result);
    pushError(ctx, failure);
    return kThrow;
  }
  B().pushVariant(result);
  B().releaseVariant(&result);
  return 1;
}

// ---- The page's view of a plug-in object.

duk_ret_t methodImpl(duk_context* ctx) {
  duk_idx_t argc = duk_get_top(ctx);
  duk_push_current_function(ctx);
  duk_get_prop_string(ctx, -1, kTargetKey);
  NPObject* obj = targetObject(ctx, -1);
  duk_get_prop_string(ctx, -2, kNameKey);
  std::string name = stringAt(ctx, -1);
  duk_pop_3(ctx);
  if (!obj) {
    pushError(ctx, "the plug-in object behind " + name + "() is no longer available");
    return kThrow;
  }
  std::vector<NPVariant> args = variantsFromStack(ctx, argc);
  clearPending();
  NPVariant result;
  VOID_TO_NPVARIANT(result);
  bool ok = obj->_class->invoke &&
            obj->_class->invoke(obj, identifierFor(name), args.data(), static_cast<uint32_t>(args.size()), &result);
  releaseAll(args);
  return finishCall(ctx, ok, result, "Error calling method " + name + " on the plug-in object");
}

void pushMethod(duk_context* ctx, duk_idx_t targetIdx, const std::string& name);

duk_ret_t plainToString(duk_context* ctx) {
  duk_push_string(ctx, "[object NPObject]");
  return 1;
}

duk_ret_t trapGetImpl(duk_context* ctx) {
  if (duk_is_symbol(ctx, 1)) {
    duk_push_undefined(ctx);
    return 1;
  }
  std::string name = stringAt(ctx, 1);
  NPObject* obj = targetObject(ctx, 0);
  if (!obj) {
    duk_push_undefined(ctx);
    return 1;
  }
  NPIdentifier id = identifierFor(name);
  NPClass* cls = obj->_class;
  clearPending();
  bool hasProperty = cls->hasProperty && cls->hasProperty(obj, id);
  if (pendingToError(ctx)) return kThrow;
  if (hasProperty) {
    NPVariant result;
    VOID_TO_NPVARIANT(result);
    bool ok = cls->getProperty && cls->getProperty(obj, id, &result);
    if (pendingToError(ctx)) {
      B().releaseVariant(&result);
      return kThrow;
    }
    if (ok)
      B().pushVariant(result);
    else
      duk_push_undefined(ctx);
    B().releaseVariant(&result);
    return 1;
  }
  bool hasMethod = cls->hasMethod && cls->hasMethod(obj, id);
  if (pendingToError(ctx)) return kThrow;
  if (hasMethod) {
    pushMethod(ctx, 0, name);
    return 1;
  }
  if (name == "toString") {  // so that the page can always turn a plug-in object into text
    duk_push_c_function(ctx, plainToString, 0);
    return 1;
  }
  duk_push_undefined(ctx);
  return 1;
}

duk_ret_t trapSetImpl(duk_context* ctx) {
  if (duk_is_symbol(ctx, 1)) {
    duk_push_true(ctx);
    return 1;
  }
  std::string name = stringAt(ctx, 1);
  NPObject* obj = targetObject(ctx, 0);
  if (!obj) {
    pushError(ctx, "cannot set " + name + ": the plug-in object is no longer available");
    return kThrow;
  }
  NPVariant value;
  B().toVariant(2, &value);
  clearPending();
  bool ok = obj->_class->setProperty && obj->_class->setProperty(obj, identifierFor(name), &value);
  B().releaseVariant(&value);
  if (pendingToError(ctx)) return kThrow;
  if (!ok) {
    pushError(ctx, "Error setting property " + name + " on the plug-in object");
    return kThrow;
  }
  duk_push_true(ctx);
  return 1;
}

duk_ret_t trapHasImpl(duk_context* ctx) {
  if (duk_is_symbol(ctx, 1)) {
    duk_push_false(ctx);
    return 1;
  }
  NPObject* obj = targetObject(ctx, 0);
  bool found = false;
  if (obj) {
    NPIdentifier id = identifierFor(stringAt(ctx, 1));
    clearPending();
    found = (obj->_class->hasProperty && obj->_class->hasProperty(obj, id)) ||
            (obj->_class->hasMethod && obj->_class->hasMethod(obj, id));
    if (pendingToError(ctx)) return kThrow;
  }
  duk_push_boolean(ctx, found);
  return 1;
}

duk_ret_t trapDeleteImpl(duk_context* ctx) {
  NPObject* obj = targetObject(ctx, 0);
  bool removed = true;
  if (obj && !duk_is_symbol(ctx, 1)) {
    clearPending();
    removed = obj->_class->removeProperty && obj->_class->removeProperty(obj, identifierFor(stringAt(ctx, 1)));
    if (pendingToError(ctx)) return kThrow;
  }
  duk_push_boolean(ctx, removed);
  return 1;
}

duk_ret_t trapApplyImpl(duk_context* ctx) {
  NPObject* obj = targetObject(ctx, 0);
  if (!obj) {
    pushError(ctx, "the plug-in object is no longer available");
    return kThrow;
  }
  std::vector<NPVariant> args = variantsFromArray(ctx, 2);
  clearPending();
  NPVariant result;
  VOID_TO_NPVARIANT(result);
  bool ok = obj->_class->invokeDefault &&
            obj->_class->invokeDefault(obj, args.data(), static_cast<uint32_t>(args.size()), &result);
  releaseAll(args);
  return finishCall(ctx, ok, result, "Error calling the plug-in object");
}

duk_ret_t trapConstructImpl(duk_context* ctx) {
  NPObject* obj = targetObject(ctx, 0);
  if (!obj) {
    pushError(ctx, "the plug-in object is no longer available");
    return kThrow;
  }
  NPClass* cls = obj->_class;
  std::vector<NPVariant> args = variantsFromArray(ctx, 1);
  clearPending();
  NPVariant result;
  VOID_TO_NPVARIANT(result);
  bool ok = cls->structVersion >= NP_CLASS_STRUCT_VERSION_CTOR && cls->construct &&
            cls->construct(obj, args.data(), static_cast<uint32_t>(args.size()), &result);
  releaseAll(args);
  return finishCall(ctx, ok, result, "Error constructing with the plug-in object");
}

duk_ret_t trapOwnKeysImpl(duk_context* ctx) {
  NPObject* obj = targetObject(ctx, 0);
  duk_push_array(ctx);
  if (!obj) return 1;
  NPClass* cls = obj->_class;
  NPIdentifier* ids = nullptr;
  uint32_t count = 0;
  clearPending();
  bool ok = cls->structVersion >= NP_CLASS_STRUCT_VERSION_ENUM && cls->enumerate && cls->enumerate(obj, &ids, &count);
  if (pendingToError(ctx)) return kThrow;
  if (!ok) return 1;
  if (count && !ids) {
    B().misuse("enumerate answered a count without an array");
    return 1;
  }
  for (uint32_t i = 0; i < count; ++i) {
    if (!B().identifiers().isKnown(ids[i])) {
      B().misuse("enumerate answered an identifier the browser never made");
      continue;
    }
    std::string name = B().identifiers().name(ids[i]);
    duk_push_lstring(ctx, name.data(), name.size());
    duk_put_prop_index(ctx, -2, i);
  }
  if (ids && !B().memory().release(ids)) B().misuse("enumerate answered an array not from memalloc");
  return 1;
}

#define THROWING_WRAPPER(name)              \
  duk_ret_t name(duk_context* ctx) {        \
    duk_ret_t r;                            \
    try {                                   \
      r = name##Impl(ctx);                  \
    } catch (const std::exception& e) {     \
      pushError(ctx, e.what());             \
      r = kThrow;                           \
    }                                       \
    if (r == kThrow) return duk_throw(ctx); \
    return r;                               \
  }

THROWING_WRAPPER(method)
THROWING_WRAPPER(trapGet)
THROWING_WRAPPER(trapSet)
THROWING_WRAPPER(trapHas)
THROWING_WRAPPER(trapDelete)
THROWING_WRAPPER(trapApply)
THROWING_WRAPPER(trapConstruct)
THROWING_WRAPPER(trapOwnKeys)

void pushMethod(duk_context* ctx, duk_idx_t targetIdx, const std::string& name) {
  targetIdx = duk_normalize_index(ctx, targetIdx);
  duk_push_c_function(ctx, method, DUK_VARARGS);
  duk_dup(ctx, targetIdx);
  duk_put_prop_string(ctx, -2, kTargetKey);
  duk_push_lstring(ctx, name.data(), name.size());
  duk_put_prop_string(ctx, -2, kNameKey);
}

duk_ret_t proxyTarget(duk_context*) { return 0; }

// ---- The plug-in's view of a page object: the browser's own class.

NPObject* pageAllocate(NPP, NPClass*) { return &(new PageObject{})->base; }
void pageDeallocate(NPObject* obj) {
  B().pageObjectGone(obj);
  delete reinterpret_cast<PageObject*>(obj);
}
void pageInvalidate(NPObject*) {}

bool validArgs(const NPVariant* args, uint32_t n, const char* what) {
  if (n == 0 || args) return true;
  B().misuse(std::string(what) + " with a count but no arguments");
  return false;
}

void pushArgs(duk_context* ctx, const NPVariant* args, uint32_t n) {
  duk_push_array(ctx);
  for (uint32_t i = 0; i < n; ++i) {
    B().pushVariant(args[i]);
    duk_put_prop_index(ctx, -2, i);
  }
}

// Runs a page helper and turns its answer into the plug-in's result. The helpers answer the sentinel
// "fail" value for a call that cannot be made (no such function), which fails quietly.
bool helperToResult(const char* helper, NPObject* obj, int extra, NPVariant* result) {
  duk_context* ctx = C();
  if (!B().callPageHelper(helper, obj, extra)) return false;
  pushHelper(ctx, "fail");
  bool failed = duk_strict_equals(ctx, -1, -2) != 0;
  duk_pop(ctx);
  if (!failed && result) B().toVariant(-1, result);
  duk_pop(ctx);
  return !failed;
}

bool pageHasMethod(NPObject* obj, NPIdentifier name) {
  pushKey(C(), name);
  if (!B().callPageHelper("isMethod", obj, 1)) return false;
  bool answer = duk_to_boolean(C(), -1) != 0;
  duk_pop(C());
  return answer;
}
bool pageInvoke(NPObject* obj, NPIdentifier name, const NPVariant* args, uint32_t n, NPVariant* result) {
  if (!validArgs(args, n, "invoke")) return false;
  pushKey(C(), name);
  pushArgs(C(), args, n);
  return helperToResult("call", obj, 2, result);
}
bool pageInvokeDefault(NPObject* obj, const NPVariant* args, uint32_t n, NPVariant* result) {
  if (!validArgs(args, n, "invokeDefault")) return false;
  pushArgs(C(), args, n);
  return helperToResult("callDefault", obj, 1, result);
}
bool pageHasProperty(NPObject* obj, NPIdentifier name) {
  pushKey(C(), name);
  if (!B().callPageHelper("has", obj, 1)) return false;
  bool answer = duk_to_boolean(C(), -1) != 0;
  duk_pop(C());
  return answer;
}
bool pageGetProperty(NPObject* obj, NPIdentifier name, NPVariant* result) {
  pushKey(C(), name);
  return helperToResult("get", obj, 1, result);
}
bool pageSetProperty(NPObject* obj, NPIdentifier name, const NPVariant* value) {
  if (!value) {
    B().misuse("setproperty without a value");
    return false;
  }
  pushKey(C(), name);
  B().pushVariant(*value);
  return helperToResult("set", obj, 2, nullptr);
}
bool pageRemoveProperty(NPObject* obj, NPIdentifier name) {
  pushKey(C(), name);
  return helperToResult("remove", obj, 1, nullptr);
}
bool pageEnumerate(NPObject* obj, NPIdentifier** ids, uint32_t* count) {
  duk_context* ctx = C();
  if (!B().callPageHelper("keys", obj, 0)) return false;
  uint32_t n = static_cast<uint32_t>(duk_get_length(ctx, -1));
  NPIdentifier* out = static_cast<NPIdentifier*>(
      B().memory().allocate(static_cast<uint32_t>(sizeof(NPIdentifier) * (n ? n : 1)), "enumeration"));
  for (uint32_t i = 0; i < n; ++i) {
    duk_get_prop_index(ctx, -1, i);
    out[i] = identifierFor(stringAt(ctx, -1));
    duk_pop(ctx);
  }
  duk_pop(ctx);
  *ids = out;
  *count = n;
  return true;
}
bool pageConstruct(NPObject* obj, const NPVariant* args, uint32_t n, NPVariant* result) {
  if (!validArgs(args, n, "construct")) return false;
  pushArgs(C(), args, n);
  return helperToResult("construct", obj, 1, result);
}

NPClass pageObjectClass = {NP_CLASS_STRUCT_VERSION,
                           pageAllocate,
                           pageDeallocate,
                           pageInvalidate,
                           pageHasMethod,
                           pageInvoke,
                           pageInvokeDefault,
                           pageHasProperty,
                           pageGetProperty,
                           pageSetProperty,
                           pageRemoveProperty,
                           pageEnumerate,
                           pageConstruct};

}  // namespace

void pushProxyHandler(duk_context* ctx) {
  duk_push_object(ctx);
  const struct {
    const char* name;
    duk_c_function fn;
    duk_idx_t nargs;
  } traps[] = {{"get", trapGet, 3},        {"set", trapSet, 4},
               {"has", trapHas, 2},        {"deleteProperty", trapDelete, 2},
               {"apply", trapApply, 3},    {"construct", trapConstruct, 3},
               {"ownKeys", trapOwnKeys, 1}};
  for (const auto& t : traps) {
    duk_push_c_function(ctx, t.fn, t.nargs);
    duk_put_prop_string(ctx, -2, t.name);
  }
}

void Browser::toVariant(int index, NPVariant* out) {
  duk_context* ctx = ctx_;
  index = duk_normalize_index(ctx, index);
  VOID_TO_NPVARIANT(*out);
  if (duk_is_symbol(ctx, index)) return;
  switch (duk_get_type(ctx, index)) {
    case DUK_TYPE_NULL:
      NULL_TO_NPVARIANT(*out);
      break;
    case DUK_TYPE_BOOLEAN:
      BOOLEAN_TO_NPVARIANT(duk_get_boolean(ctx, index), *out);
      break;
    case DUK_TYPE_NUMBER: {
      double d = duk_get_number(ctx, index);
      bool integral =
          std::isfinite(d) && std::floor(d) == d && d >= INT32_MIN && d <= INT32_MAX && !(d == 0 && std::signbit(d));
      if (integral)
        INT32_TO_NPVARIANT(static_cast<int32_t>(d), *out);
      else
        DOUBLE_TO_NPVARIANT(d, *out);
      break;
    }
    case DUK_TYPE_STRING: {
      duk_size_t len = 0;
      const char* s = duk_get_lstring(ctx, index, &len);
      char* copy = static_cast<char*>(memory_.allocate(static_cast<uint32_t>(len + 1), "page text"));
      std::memcpy(copy, s, len);
      copy[len] = 0;
      STRINGN_TO_NPVARIANT(copy, len, *out);
      break;
    }
    case DUK_TYPE_OBJECT: {
      NPObject* obj = proxiedObject(duk_get_heapptr(ctx, index));
      if (obj) {
        objects_.retain(obj);
      } else {
        obj = pageObjectFor(index);
      }
      if (obj) OBJECT_TO_NPVARIANT(obj, *out);
      break;
    }
    default:
      break;
  }
}

void Browser::pushVariant(const NPVariant& value) {
  duk_context* ctx = ctx_;
  switch (value.type) {
    case NPVariantType_Void:
      duk_push_undefined(ctx);
      break;
    case NPVariantType_Null:
      duk_push_null(ctx);
      break;
    case NPVariantType_Bool:
      duk_push_boolean(ctx, value.value.boolValue);
      break;
    case NPVariantType_Int32:
      duk_push_int(ctx, value.value.intValue);
      break;
    case NPVariantType_Double:
      duk_push_number(ctx, value.value.doubleValue);
      break;
    case NPVariantType_String: {
      const NPString& s = value.value.stringValue;
      if (!s.UTF8Characters && s.UTF8Length) {
        misuse("a String value without characters");
        duk_push_undefined(ctx);
      } else {
        duk_push_lstring(ctx, s.UTF8Characters ? s.UTF8Characters : "", s.UTF8Length);
      }
      break;
    }
    case NPVariantType_Object:
      pushObject(value.value.objectValue);
      break;
    default:
      misuse("a variant of unknown type " + std::to_string(static_cast<int>(value.type)));
      duk_push_undefined(ctx);
  }
}

void Browser::pushObject(NPObject* object) {
  duk_context* ctx = ctx_;
  if (!objects_.isLive(object)) {
    misuse("an object value that is not alive: " + keyOf(object));
    duk_push_undefined(ctx);
    return;
  }
  if (isPageObject(object)) {
    pushPageValue(object);
    return;
  }
  auto found = proxies_.find(object);
  if (found != proxies_.end()) {
    duk_push_heapptr(ctx, found->second.proxy);
    return;
  }
  duk_push_c_function(ctx, proxyTarget, DUK_VARARGS);
  duk_push_pointer(ctx, object);
  duk_put_prop_string(ctx, -2, kObjectKey);
  void* target = duk_get_heapptr(ctx, -1);
  pushStashValue(ctx, "proxyHandler");
  duk_push_proxy(ctx, 0);
  void* proxy = duk_get_heapptr(ctx, -1);
  pushStashValue(ctx, "proxies");
  duk_dup(ctx, -2);
  duk_put_prop_string(ctx, -2, keyOf(object).c_str());
  duk_pop(ctx);
  objects_.retain(object);
  proxies_[object] = ProxyRecord{proxy, target};
  proxyTargets_[proxy] = object;
}

NPObject* Browser::pageObjectFor(int index) {
  duk_context* ctx = ctx_;
  index = duk_normalize_index(ctx, index);
  void* heap = duk_get_heapptr(ctx, index);
  auto found = pageObjects_.find(heap);
  if (found != pageObjects_.end()) {
    objects_.retain(found->second);
    return found->second;
  }
  NPObject* obj = objects_.create(nullptr, &pageObjectClass);
  PageObject* page = reinterpret_cast<PageObject*>(obj);
  page->id = nextPageObjectId_++;
  page->heapPtr = heap;
  pushStashValue(ctx, "pageValues");
  duk_dup(ctx, index);
  duk_put_prop_index(ctx, -2, page->id);
  duk_pop(ctx);
  pageObjects_[heap] = obj;
  return obj;
}

bool Browser::isPageObject(const NPObject* object) const { return object && object->_class == &pageObjectClass; }

void Browser::pushPageValue(const NPObject* object) {
  const PageObject* page = reinterpret_cast<const PageObject*>(object);
  pushStashValue(ctx_, "pageValues");
  duk_get_prop_index(ctx_, -1, page->id);
  duk_remove(ctx_, -2);
}

void Browser::pageObjectGone(NPObject* object) {
  PageObject* page = reinterpret_cast<PageObject*>(object);
  pageObjects_.erase(page->heapPtr);
  if (!ctx_) return;
  pushStashValue(ctx_, "pageValues");
  duk_del_prop_index(ctx_, -1, page->id);
  duk_pop(ctx_);
}

NPObject* Browser::proxiedObject(void* heapPtr) const {
  auto found = proxyTargets_.find(heapPtr);
  return found == proxyTargets_.end() ? nullptr : found->second;
}

void Browser::dropProxies(NPP npp) {
  std::vector<NPObject*> drop;
  for (const auto& entry : proxies_)
    if (!npp || objects_.ownerOf(entry.first) == npp) drop.push_back(entry.first);
  for (NPObject* object : drop) {
    ProxyRecord record = proxies_[object];
    if (ctx_) {
      duk_push_heapptr(ctx_, record.target);
      duk_push_pointer(ctx_, nullptr);
      duk_put_prop_string(ctx_, -2, kObjectKey);
      duk_pop(ctx_);
      pushStashValue(ctx_, "proxies");
      duk_del_prop_string(ctx_, -1, keyOf(object).c_str());
      duk_pop(ctx_);
    }
    proxyTargets_.erase(record.proxy);
    proxies_.erase(object);
    objects_.release(object);
  }
}

bool Browser::callPageHelper(const char* helper, const NPObject* object, int extra) {
  duk_context* ctx = ctx_;
  pushHelper(ctx, helper);
  pushPageValue(object);
  duk_insert(ctx, -(extra + 2));
  duk_insert(ctx, -(extra + 2));
  if (duk_pcall(ctx, extra + 1) != DUK_EXEC_SUCCESS) {
    noteScriptException(std::string("in a page function the plug-in called (") + helper + ")");
    return false;
  }
  return true;
}

}  // namespace testbrowser
