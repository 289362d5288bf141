#include "NpnTable.h"

#include <cstdlib>
#include <cstring>

namespace npapi_test {

namespace {

void* memAlloc(uint32_t size) {
  void* p = std::malloc(size ? size : 1);
  npnState().blocks.insert(p);
  return p;
}

void memFree(void* p) {
  if (!p) return;
  npnState().blocks.erase(p);
  std::free(p);
}

NPIdentifier getStringIdentifier(const NPUTF8* name) {
  auto& slot = npnState().strings[name ? name : ""];
  if (!slot) slot.reset(new std::string(name ? name : ""));
  return slot.get();
}

void getStringIdentifiers(const NPUTF8** names, int32_t count, NPIdentifier* ids) {
  for (int32_t i = 0; i < count; ++i) ids[i] = getStringIdentifier(names[i]);
}

NPIdentifier getIntIdentifier(int32_t v) {
  auto& slot = npnState().ints[v];
  if (!slot) slot.reset(new int32_t(v));
  return slot.get();
}

bool identifierIsString(NPIdentifier id) {
  for (auto& entry : npnState().strings)
    if (entry.second.get() == id) return true;
  return false;
}

NPUTF8* utf8FromIdentifier(NPIdentifier id) {
  if (!identifierIsString(id)) return nullptr;
  const std::string& text = *static_cast<std::string*>(id);
  char* copy = static_cast<char*>(memAlloc(static_cast<uint32_t>(text.size() + 1)));
  std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

int32_t intFromIdentifier(NPIdentifier id) { return identifierIsString(id) ? 0 : *static_cast<int32_t*>(id); }

NPObject* createObject(NPP npp, NPClass* aClass) {
  NPObject* obj = aClass && aClass->allocate ? aClass->allocate(npp, aClass)
                                             : static_cast<NPObject*>(std::calloc(1, sizeof(NPObject)));
  if (!obj) return nullptr;
  obj->_class = aClass;
  obj->referenceCount = 1;
  npnState().objects.insert(obj);
  return obj;
}

NPObject* retainObject(NPObject* obj) {
  if (obj) ++obj->referenceCount;
  return obj;
}

void releaseObject(NPObject* obj) {
  if (!obj || --obj->referenceCount > 0) return;
  npnState().objects.erase(obj);
  if (obj->_class && obj->_class->deallocate)
    obj->_class->deallocate(obj);
  else
    std::free(obj);
}

void releaseVariantValue(NPVariant* v) {
  if (v->type == NPVariantType_String)
    memFree(const_cast<NPUTF8*>(v->value.stringValue.UTF8Characters));
  else if (v->type == NPVariantType_Object)
    releaseObject(v->value.objectValue);
  VOID_TO_NPVARIANT(*v);
}

void setException(NPObject*, const NPUTF8* message) {
  npnState().lastException = message ? message : "";
  ++npnState().exceptions;
}

NPError getValue(NPP, NPNVariable variable, void* value) {
  npnState().queries.push_back(variable);
  if (variable == NPNVsupportsCoreGraphicsBool || variable == NPNVsupportsCoreAnimationBool ||
      variable == NPNVsupportsCocoaBool) {
    *static_cast<NPBool*>(value) = 1;
    return NPERR_NO_ERROR;
  }
  if (variable == NPNVbrowserRetainsLayerBool && npnState().layerRetained >= 0) {
    *static_cast<NPBool*>(value) = npnState().layerRetained ? 1 : 0;
    return NPERR_NO_ERROR;
  }
  if (variable == NPNVWindowNPObject && npnState().window) {
    *static_cast<NPObject**>(value) = retainObject(npnState().window);
    return NPERR_NO_ERROR;
  }
  return NPERR_GENERIC_ERROR;  // no element
}

NPError setValue(NPP, NPPVariable variable, void* value) {
  npnState().settings.emplace_back(variable, reinterpret_cast<intptr_t>(value));
  return NPERR_NO_ERROR;
}

// Object calls go to the object's class, as in a browser; an object without one refuses them all.
bool invoke(NPP, NPObject* obj, NPIdentifier name, const NPVariant* args, uint32_t count, NPVariant* result) {
  return obj->_class && obj->_class->invoke && obj->_class->invoke(obj, name, args, count, result);
}

bool invokeDefault(NPP, NPObject* obj, const NPVariant* args, uint32_t count, NPVariant* result) {
  return obj->_class && obj->_class->invokeDefault && obj->_class->invokeDefault(obj, args, count, result);
}

bool getProperty(NPP, NPObject* obj, NPIdentifier name, NPVariant* result) {
  return obj->_class && obj->_class->getProperty && obj->_class->getProperty(obj, name, result);
}

bool setProperty(NPP, NPObject* obj, NPIdentifier name, const NPVariant* value) {
  return obj->_class && obj->_class->setProperty && obj->_class->setProperty(obj, name, value);
}

bool hasMethod(NPP, NPObject* obj, NPIdentifier name) {
  return obj->_class && obj->_class->hasMethod && obj->_class->hasMethod(obj, name);
}

NPError getValueForUrl(NPP, NPNURLVariable variable, const char*, char** value, uint32_t* len) {
  NpnState& s = npnState();
  if (variable != NPNURLVProxy || s.proxyResult != NPERR_NO_ERROR) return s.proxyResult;
  *value = static_cast<char*>(memAlloc(static_cast<uint32_t>(s.proxyAnswer.size())));
  std::memcpy(*value, s.proxyAnswer.data(), s.proxyAnswer.size());
  *len = static_cast<uint32_t>(s.proxyAnswer.size());
  return NPERR_NO_ERROR;
}

void browserAsyncCall(NPP, void (*)(void*), void*) { ++npnState().asyncCalls; }

// Every entry the binding may copy gets a distinct non-null value; the unused ones are never called.
template <class F>
F marker(uintptr_t n) {
  return reinterpret_cast<F>(n);
}

}  // namespace

NpnState& npnState() {
  static NpnState state;
  return state;
}

NPNetscapeFuncs makeNpnTable(uint16_t version) {
  NpnState& s = npnState();
  s.lastException.clear();
  s.exceptions = 0;
  s.asyncCalls = 0;
  s.proxyResult = NPERR_NO_ERROR;
  s.proxyAnswer = "DIRECT";
  s.layerRetained = -1;
  s.queries.clear();
  s.settings.clear();
  s.window = nullptr;
  NPNetscapeFuncs f;
  std::memset(&f, 0, sizeof f);
  f.size = sizeof f;
  f.version = version;
  f.memalloc = memAlloc;
  f.memfree = memFree;
  f.getstringidentifier = getStringIdentifier;
  f.getstringidentifiers = getStringIdentifiers;
  f.getintidentifier = getIntIdentifier;
  f.identifierisstring = identifierIsString;
  f.utf8fromidentifier = utf8FromIdentifier;
  f.intfromidentifier = intFromIdentifier;
  f.createobject = createObject;
  f.retainobject = retainObject;
  f.releaseobject = releaseObject;
  f.releasevariantvalue = releaseVariantValue;
  f.setexception = setException;
  f.getvalue = getValue;
  f.setvalue = setValue;
  f.invoke = invoke;
  f.invokeDefault = invokeDefault;
  f.getproperty = getProperty;
  f.setproperty = setProperty;
  f.hasmethod = hasMethod;
  f.pluginthreadasynccall = browserAsyncCall;
  f.pushpopupsenabledstate = marker<NPN_PushPopupsEnabledStateProcPtr>(0x1001);
  f.poppopupsenabledstate = marker<NPN_PopPopupsEnabledStateProcPtr>(0x1002);
  f.enumerate = marker<NPN_EnumerateProcPtr>(0x1003);
  f.getvalueforurl = getValueForUrl;
  f.setvalueforurl = marker<NPN_SetValueForURLProcPtr>(0x1005);
  f.getauthenticationinfo = marker<NPN_GetAuthenticationInfoProcPtr>(0x1006);
  f.scheduletimer = marker<NPN_ScheduleTimerProcPtr>(0x1007);
  f.unscheduletimer = marker<NPN_UnscheduleTimerProcPtr>(0x1008);
  f.popupcontextmenu = marker<NPN_UnusedProcPtr>(0x1009);
  f.handleevent = marker<NPN_UnusedProcPtr>(0x100a);
  return f;
}

NPObject* makeBrowserObject() { return createObject(nullptr, nullptr); }

NPObject* makeClassObject(NPClass* aClass) { return createObject(nullptr, aClass); }

std::string textOf(const NPVariant& v) {
  return std::string(v.value.stringValue.UTF8Characters, v.value.stringValue.UTF8Length);
}

NPIdentifier stringId(const char* name) { return getStringIdentifier(name); }

}  // namespace npapi_test
