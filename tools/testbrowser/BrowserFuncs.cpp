// The browser functions handed to the plug-in. Each checks what it is given (live objects, our own
// identifiers, blocks of our allocator) and reports misuse instead of following a bad pointer.
#include <cstdio>
#include <cstring>
#include <string>

#include "testbrowser/Browser.h"
#include "testbrowser/BrowserFuncs.h"

namespace testbrowser {

namespace {

Browser& B() { return *Browser::current(); }

std::string hex(const void* p) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%p", p);
  return buf;
}

bool liveObject(NPObject* obj, const char* function) {
  if (B().objects().isLive(obj)) return true;
  B().misuse(std::string(function) + " on an object that is not alive: " + hex(obj));
  return false;
}

bool knownIdentifier(NPIdentifier id, const char* function) {
  if (id && B().identifiers().isKnown(id)) return true;
  B().misuse(std::string(function) + " with an identifier the browser never made: " + hex(id));
  return false;
}

void clearResult(NPVariant* result) {
  if (result) VOID_TO_NPVARIANT(*result);
}

// ---- URLs and streams: the browser's own network (Network.h). Streams made by the plug-in for the
// browser (NPN_NewStream, NPN_Write) are not supported.

NPError npnGetURL(NPP npp, const char* url, const char* target) {
  return B().network().request(npp, url, target, "GET", nullptr, 0, false, false, nullptr);
}
NPError npnPostURL(NPP npp, const char* url, const char* target, uint32_t len, const char* buf, NPBool file) {
  return B().network().request(npp, url, target, "POST", buf, len, file, false, nullptr);
}
NPError npnGetURLNotify(NPP npp, const char* url, const char* target, void* notifyData) {
  return B().network().request(npp, url, target, "GET", nullptr, 0, false, true, notifyData);
}
NPError npnPostURLNotify(NPP npp, const char* url, const char* target, uint32_t len, const char* buf, NPBool file,
                         void* notifyData) {
  return B().network().request(npp, url, target, "POST", buf, len, file, true, notifyData);
}
NPError npnRequestRead(NPStream* stream, NPByteRange* ranges) { return B().network().requestRead(stream, ranges); }
NPError npnNewStream(NPP, NPMIMEType, const char*, NPStream**) { return NPERR_GENERIC_ERROR; }
int32_t npnWrite(NPP, NPStream*, int32_t, void*) { return -1; }
NPError npnDestroyStream(NPP npp, NPStream* stream, NPReason reason) {
  return B().network().destroyStream(npp, stream, reason);
}

// ---- Instance services.

void npnStatus(NPP, const char* message) { B().console(std::string("[status] ") + (message ? message : "")); }
const char* npnUserAgent(NPP) { return kUserAgent; }
NPError npnGetValue(NPP npp, NPNVariable variable, void* value) { return B().getValue(npp, variable, value); }
NPError npnSetValue(NPP npp, NPPVariable variable, void* value) { return B().setValue(npp, variable, value); }
void npnInvalidateRect(NPP, NPRect*) {}
void npnInvalidateRegion(NPP, NPRegion) {}
void npnForceRedraw(NPP) {}

void npnPushPopupsEnabledState(NPP npp, NPBool) {
  if (Instance* i = B().instanceOf(npp)) ++i->popupDepth;
}
void npnPopPopupsEnabledState(NPP npp) {
  Instance* i = B().instanceOf(npp);
  if (!i) return;
  if (i->popupDepth == 0)
    B().misuse("poppopupsenabledstate without a matching push");
  else
    --i->popupDepth;
}

void npnPluginThreadAsyncCall(NPP npp, void (*func)(void*), void* data) { B().queueAsyncCall(npp, func, data); }

uint32_t npnScheduleTimer(NPP npp, uint32_t interval, NPBool repeat, void (*func)(NPP, uint32_t)) {
  return B().schedulePluginTimer(npp, interval, repeat != 0, func);
}
void npnUnscheduleTimer(NPP npp, uint32_t id) { B().unschedulePluginTimer(npp, id); }

NPError npnGetValueForURL(NPP, NPNURLVariable variable, const char* url, char** value, uint32_t* len) {
  if (!value || !len) return NPERR_INVALID_PARAM;
  std::string answer;
  if (variable == NPNURLVProxy) {
    if (!B().proxyAnswer()) return NPERR_INCOMPATIBLE_VERSION_ERROR;
    answer = *B().proxyAnswer();
  } else if (variable != NPNURLVCookie)
    return NPERR_GENERIC_ERROR;
  char* text = static_cast<char*>(B().memory().allocate(static_cast<uint32_t>(answer.size() + 1), "value for URL"));
  std::memcpy(text, answer.c_str(), answer.size() + 1);
  *value = text;
  *len = static_cast<uint32_t>(answer.size());
  (void)url;
  return NPERR_NO_ERROR;
}
NPError npnSetValueForURL(NPP, NPNURLVariable, const char*, const char*, uint32_t) { return NPERR_NO_ERROR; }
NPError npnGetAuthenticationInfo(NPP, const char*, const char*, int32_t, const char*, const char*, char**, uint32_t*,
                                 char**, uint32_t*) {
  return NPERR_GENERIC_ERROR;
}

// ---- Memory.

void* npnMemAlloc(uint32_t size) { return B().memory().allocate(size, "memalloc"); }
void npnMemFree(void* p) {
  if (!B().memory().release(p))
    B().misuse("memfree of a block the browser did not allocate (or freed twice): " + hex(p));
}
uint32_t npnMemFlush(uint32_t) { return 0; }
void npnReloadPlugins(NPBool) {}

// ---- Identifiers.

NPIdentifier npnGetStringIdentifier(const NPUTF8* name) {
  if (!name) {
    B().misuse("getstringidentifier with a null name");
    return nullptr;
  }
  return B().identifiers().forName(name);
}
void npnGetStringIdentifiers(const NPUTF8** names, int32_t count, NPIdentifier* ids) {
  if (!names || !ids || count < 0) {
    B().misuse("getstringidentifiers with null arrays or a negative count");
    return;
  }
  for (int32_t i = 0; i < count; ++i) ids[i] = npnGetStringIdentifier(names[i]);
}
NPIdentifier npnGetIntIdentifier(int32_t value) { return B().identifiers().forInt(value); }
bool npnIdentifierIsString(NPIdentifier id) {
  return knownIdentifier(id, "identifierisstring") && B().identifiers().isString(id);
}
NPUTF8* npnUTF8FromIdentifier(NPIdentifier id) {
  if (!knownIdentifier(id, "utf8fromidentifier") || !B().identifiers().isString(id)) return nullptr;
  std::string name = B().identifiers().name(id);
  char* text = static_cast<char*>(B().memory().allocate(static_cast<uint32_t>(name.size() + 1), "identifier text"));
  std::memcpy(text, name.c_str(), name.size() + 1);
  return text;
}
int32_t npnIntFromIdentifier(NPIdentifier id) {
  if (!knownIdentifier(id, "intfromidentifier")) return 0;
  return B().identifiers().intValue(id);
}

// ---- Objects.

NPObject* npnCreateObject(NPP npp, NPClass* cls) {
  if (!cls) {
    B().misuse("createobject without a class");
    return nullptr;
  }
  return B().objects().create(npp, cls);
}
NPObject* npnRetainObject(NPObject* obj) {
  if (!B().objects().retain(obj)) B().misuse("retainobject on an object that is not alive: " + hex(obj));
  return obj;
}
void npnReleaseObject(NPObject* obj) {
  if (!B().objects().release(obj)) B().misuse("releaseobject on an object that is not alive: " + hex(obj));
}
void npnReleaseVariantValue(NPVariant* v) { B().releaseVariant(v); }
void npnSetException(NPObject*, const NPUTF8* message) { B().setPendingException(message ? message : ""); }

bool npnInvoke(NPP, NPObject* obj, NPIdentifier name, const NPVariant* args, uint32_t n, NPVariant* result) {
  clearResult(result);
  if (!liveObject(obj, "invoke") || !knownIdentifier(name, "invoke")) return false;
  return obj->_class->invoke && obj->_class->invoke(obj, name, args, n, result);
}
bool npnInvokeDefault(NPP, NPObject* obj, const NPVariant* args, uint32_t n, NPVariant* result) {
  clearResult(result);
  if (!liveObject(obj, "invokeDefault")) return false;
  return obj->_class->invokeDefault && obj->_class->invokeDefault(obj, args, n, result);
}
bool npnEvaluate(NPP npp, NPObject* obj, NPString* script, NPVariant* result) {
  clearResult(result);
  if (!liveObject(obj, "evaluate")) return false;
  if (!script) {
    B().misuse("evaluate without a script");
    return false;
  }
  return B().evaluate(npp, obj, script, result);
}
bool npnGetProperty(NPP, NPObject* obj, NPIdentifier name, NPVariant* result) {
  clearResult(result);
  if (!liveObject(obj, "getproperty") || !knownIdentifier(name, "getproperty")) return false;
  return obj->_class->getProperty && obj->_class->getProperty(obj, name, result);
}
bool npnSetProperty(NPP, NPObject* obj, NPIdentifier name, const NPVariant* value) {
  if (!liveObject(obj, "setproperty") || !knownIdentifier(name, "setproperty")) return false;
  return obj->_class->setProperty && obj->_class->setProperty(obj, name, value);
}
bool npnRemoveProperty(NPP, NPObject* obj, NPIdentifier name) {
  if (!liveObject(obj, "removeproperty") || !knownIdentifier(name, "removeproperty")) return false;
  return obj->_class->removeProperty && obj->_class->removeProperty(obj, name);
}
bool npnHasProperty(NPP, NPObject* obj, NPIdentifier name) {
  if (!liveObject(obj, "hasproperty") || !knownIdentifier(name, "hasproperty")) return false;
  return obj->_class->hasProperty && obj->_class->hasProperty(obj, name);
}
bool npnHasMethod(NPP, NPObject* obj, NPIdentifier name) {
  if (!liveObject(obj, "hasmethod") || !knownIdentifier(name, "hasmethod")) return false;
  return obj->_class->hasMethod && obj->_class->hasMethod(obj, name);
}
bool npnEnumerate(NPP, NPObject* obj, NPIdentifier** ids, uint32_t* count) {
  if (!liveObject(obj, "enumerate")) return false;
  if (!ids || !count) {
    B().misuse("enumerate without places for its answer");
    return false;
  }
  NPClass* cls = obj->_class;
  return cls->structVersion >= NP_CLASS_STRUCT_VERSION_ENUM && cls->enumerate && cls->enumerate(obj, ids, count);
}
bool npnConstruct(NPP, NPObject* obj, const NPVariant* args, uint32_t n, NPVariant* result) {
  clearResult(result);
  if (!liveObject(obj, "construct")) return false;
  NPClass* cls = obj->_class;
  return cls->structVersion >= NP_CLASS_STRUCT_VERSION_CTOR && cls->construct && cls->construct(obj, args, n, result);
}

}  // namespace

const char* const kUserAgent = "Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) RvpTestBrowser/1.0";

void fillBrowserFuncs(NPNetscapeFuncs& f, uint16_t version) {
  f = NPNetscapeFuncs();
  f.size = sizeof(NPNetscapeFuncs);
  f.version = version;
  f.geturl = npnGetURL;
  f.posturl = npnPostURL;
  f.requestread = npnRequestRead;
  f.newstream = npnNewStream;
  f.write = npnWrite;
  f.destroystream = npnDestroyStream;
  f.status = npnStatus;
  f.uagent = npnUserAgent;
  f.memalloc = npnMemAlloc;
  f.memfree = npnMemFree;
  f.memflush = npnMemFlush;
  f.reloadplugins = npnReloadPlugins;
  f.geturlnotify = npnGetURLNotify;
  f.posturlnotify = npnPostURLNotify;
  f.getvalue = npnGetValue;
  f.setvalue = npnSetValue;
  f.invalidaterect = npnInvalidateRect;
  f.invalidateregion = npnInvalidateRegion;
  f.forceredraw = npnForceRedraw;
  f.getstringidentifier = npnGetStringIdentifier;
  f.getstringidentifiers = npnGetStringIdentifiers;
  f.getintidentifier = npnGetIntIdentifier;
  f.identifierisstring = npnIdentifierIsString;
  f.utf8fromidentifier = npnUTF8FromIdentifier;
  f.intfromidentifier = npnIntFromIdentifier;
  f.createobject = npnCreateObject;
  f.retainobject = npnRetainObject;
  f.releaseobject = npnReleaseObject;
  f.invoke = npnInvoke;
  f.invokeDefault = npnInvokeDefault;
  f.evaluate = npnEvaluate;
  f.getproperty = npnGetProperty;
  f.setproperty = npnSetProperty;
  f.removeproperty = npnRemoveProperty;
  f.hasproperty = npnHasProperty;
  f.hasmethod = npnHasMethod;
  f.releasevariantvalue = npnReleaseVariantValue;
  f.setexception = npnSetException;
  f.pushpopupsenabledstate = npnPushPopupsEnabledState;
  f.poppopupsenabledstate = npnPopPopupsEnabledState;
  f.enumerate = npnEnumerate;
  f.pluginthreadasynccall = npnPluginThreadAsyncCall;
  f.construct = npnConstruct;
  f.getvalueforurl = npnGetValueForURL;
  f.setvalueforurl = npnSetValueForURL;
  f.getauthenticationinfo = npnGetAuthenticationInfo;
  f.scheduletimer = npnScheduleTimer;
  f.unscheduletimer = npnUnscheduleTimer;
}

}  // namespace testbrowser
