#include "NpapiPluginModule.h"

#include <dlfcn.h>

#include <cstring>

#include "FactoryBase.h"
#include "Log.h"
#include "OneShotManager.h"

namespace PF {
namespace Npapi {

std::map<const void*, NpapiPluginModule*> NpapiPluginModule::m_modules;
int NpapiPluginModule::PluginModuleInitialized = 0;

void copyNPBrowserFuncs(NPNetscapeFuncs* dst, const NPNetscapeFuncs* src, NPP /*instance*/) {
  dst->size = src->size;
  dst->version = src->version;
  const int v = src->version;
  // An entry is read only when it lies inside the table the browser says it handed over: a table
  // shorter than its version promises must not be read past its end.
  const char* const end = reinterpret_cast<const char*>(src) + src->size;
#define COPY(entry)                                                                     \
  do {                                                                                  \
    if (reinterpret_cast<const char*>(&src->entry + 1) <= end) dst->entry = src->entry; \
  } while (0)

  COPY(geturl);
  COPY(posturl);
  COPY(requestread);
  COPY(newstream);
  COPY(write);
  COPY(destroystream);
  COPY(status);
  COPY(uagent);
  COPY(memalloc);
  COPY(memfree);
  COPY(memflush);
  COPY(reloadplugins);
  COPY(geturlnotify);
  COPY(posturlnotify);
  COPY(getvalue);
  COPY(setvalue);
  COPY(invalidaterect);
  COPY(invalidateregion);
  COPY(forceredraw);
  COPY(getstringidentifier);
  COPY(getstringidentifiers);
  COPY(getintidentifier);
  COPY(identifierisstring);
  COPY(utf8fromidentifier);
  COPY(intfromidentifier);
  COPY(createobject);
  COPY(retainobject);
  COPY(releaseobject);
  COPY(invoke);
  COPY(invokeDefault);
  COPY(evaluate);
  COPY(getproperty);
  COPY(setproperty);
  COPY(removeproperty);
  COPY(hasproperty);
  COPY(hasmethod);
  COPY(releasevariantvalue);
  COPY(setexception);
  COPY(construct);

  if (v >= NPVERS_HAS_POPUPS_ENABLED_STATE) {
    COPY(pushpopupsenabledstate);
    COPY(poppopupsenabledstate);
  }
  if (v >= NPVERS_HAS_NPOBJECT_ENUM) COPY(enumerate);
  if (v >= NPVERS_HAS_URL_AND_AUTH_INFO) {
    COPY(getvalueforurl);
    COPY(setvalueforurl);
    COPY(getauthenticationinfo);
  }
  if (v >= NPVERS_HAS_TIMERS) {
    COPY(scheduletimer);
    COPY(unscheduletimer);
  }
#undef COPY
  // Every asynchronous call goes through our own per-instance scheduler.
  dst->pluginthreadasynccall = &NpapiPluginModule::scheduleAsyncCallback;
}

NpapiPluginModule::NpapiPluginModule() { std::memset(&m_browserFuncs, 0, sizeof m_browserFuncs); }

NpapiPluginModule::~NpapiPluginModule() {}

const void* NpapiPluginModule::keyFor(const void* address) {
  Dl_info info;
  if (address && dladdr(address, &info) != 0) return info.dli_fbase;
  return nullptr;
}

NpapiPluginModule* NpapiPluginModule::GetModule(const void* key) {
  if (PluginModuleInitialized == 0) {
    Log::initLogging();
    getFactoryInstance()->globalPluginInitialize();
  }
  auto found = m_modules.find(key);
  if (found != m_modules.end()) return found->second;
  NpapiPluginModule* module = new NpapiPluginModule();
  m_modules[key] = module;
  ++PluginModuleInitialized;
  return module;
}

void NpapiPluginModule::ReleaseModule(const void* key) {
  auto found = m_modules.find(key);
  if (found != m_modules.end()) {
    delete found->second;
    m_modules.erase(found);
    --PluginModuleInitialized;
  }
  if (PluginModuleInitialized == 0) {
    getFactoryInstance()->globalPluginDeinitialize();
    Log::stopLogging();
  }
}

void NpapiPluginModule::setNetscapeFuncs(const NPNetscapeFuncs* funcs) {
  if (funcs) copyNPBrowserFuncs(&m_browserFuncs, funcs, nullptr);
}

void NpapiPluginModule::getPluginFuncs(NPPluginFuncs* pFuncs) {
  if (!pFuncs) return;
  // Only the entries inside the table the browser says it handed over are written: a shorter table
  // must not be written past its end.
  char* const end = reinterpret_cast<char*>(pFuncs) + pFuncs->size;
#define SET(entry, function)                                                           \
  do {                                                                                 \
    if (reinterpret_cast<char*>(&pFuncs->entry + 1) <= end) pFuncs->entry = &function; \
  } while (0)
  SET(newp, NPP_New);
  SET(destroy, NPP_Destroy);
  SET(setwindow, NPP_SetWindow);
  SET(newstream, NPP_NewStream);
  SET(destroystream, NPP_DestroyStream);
  SET(asfile, NPP_StreamAsFile);
  SET(writeready, NPP_WriteReady);
  SET(write, NPP_Write);
  SET(print, NPP_Print);
  SET(event, NPP_HandleEvent);
  SET(urlnotify, NPP_URLNotify);
  SET(getvalue, NPP_GetValue);
  SET(setvalue, NPP_SetValue);
#undef SET
}

void NpapiPluginModule::scheduleAsyncCallback(NPP npp, void (*func)(void*), void* userData) {
  OneShotManager::getInstance().npp_scheduleAsyncCallback(npp, func, userData);
}

// ---- Browser functions without an instance ----------------------------------------------------------------

void NpapiPluginModule::Version(int* plugin_major, int* plugin_minor, int* netscape_major, int* netscape_minor) {
  *plugin_major = NP_VERSION_MAJOR;
  *plugin_minor = NP_VERSION_MINOR;
  *netscape_major = m_browserFuncs.version >> 8;
  *netscape_minor = m_browserFuncs.version & 0xFF;
}

void* NpapiPluginModule::MemAlloc(uint32_t size) {
  return m_browserFuncs.memalloc ? m_browserFuncs.memalloc(size) : nullptr;
}

void NpapiPluginModule::MemFree(void* ptr) {
  if (m_browserFuncs.memfree) m_browserFuncs.memfree(ptr);
}

uint32_t NpapiPluginModule::MemFlush(uint32_t size) {
  return m_browserFuncs.memflush ? m_browserFuncs.memflush(size) : 0;
}

void NpapiPluginModule::ReloadPlugins(NPBool reloadPages) {
  if (m_browserFuncs.reloadplugins) m_browserFuncs.reloadplugins(reloadPages);
}

void NpapiPluginModule::ReleaseVariantValue(NPVariant* variant) {
  if (m_browserFuncs.releasevariantvalue) m_browserFuncs.releasevariantvalue(variant);
}

NPIdentifier NpapiPluginModule::GetStringIdentifier(const NPUTF8* name) {
  return m_browserFuncs.getstringidentifier ? m_browserFuncs.getstringidentifier(name) : nullptr;
}

void NpapiPluginModule::GetStringIdentifiers(const NPUTF8** names, int32_t count, NPIdentifier* identifiers) {
  if (m_browserFuncs.getstringidentifiers) m_browserFuncs.getstringidentifiers(names, count, identifiers);
}

NPIdentifier NpapiPluginModule::GetIntIdentifier(int32_t intid) {
  return m_browserFuncs.getintidentifier ? m_browserFuncs.getintidentifier(intid) : nullptr;
}

bool NpapiPluginModule::IdentifierIsString(NPIdentifier identifier) {
  return m_browserFuncs.identifierisstring ? m_browserFuncs.identifierisstring(identifier) : true;
}

NPUTF8* NpapiPluginModule::UTF8FromIdentifier(NPIdentifier identifier) {
  return m_browserFuncs.utf8fromidentifier ? m_browserFuncs.utf8fromidentifier(identifier) : nullptr;
}

std::string NpapiPluginModule::StringFromIdentifier(NPIdentifier identifier) {
  NPUTF8* text = UTF8FromIdentifier(identifier);
  std::string result = text ? std::string(text) : std::string();
  if (m_browserFuncs.memfree) m_browserFuncs.memfree(text);
  return result;
}

int32_t NpapiPluginModule::IntFromIdentifier(NPIdentifier identifier) {
  return m_browserFuncs.intfromidentifier ? m_browserFuncs.intfromidentifier(identifier) : 1;
}

NPObject* NpapiPluginModule::RetainObject(NPObject* npobj) {
  return m_browserFuncs.retainobject ? m_browserFuncs.retainobject(npobj) : npobj;
}

void NpapiPluginModule::ReleaseObject(NPObject* npobj) {
  if (m_browserFuncs.releaseobject) m_browserFuncs.releaseobject(npobj);
}

}  // namespace Npapi
}  // namespace PF
