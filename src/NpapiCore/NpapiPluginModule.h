#pragma once
// One module per loaded plug-in image: the module's copy of the browser's function table, the plug-in's
// own table of NPP functions, and thin wrappers over the browser functions that need no instance.

#include <map>
#include <string>

#include "npapi/NPAPI.h"

namespace PF {
namespace Npapi {

// Copies the browser's table entry by entry as far as the browser's version promises them. The
// asynchronous-call entry always becomes the module's own scheduler, never the browser's.
void copyNPBrowserFuncs(NPNetscapeFuncs* dst, const NPNetscapeFuncs* src, NPP instance);

class NpapiPluginModule {
 public:
  NpapiPluginModule();
  virtual ~NpapiPluginModule();
  NpapiPluginModule(const NpapiPluginModule&) = delete;
  NpapiPluginModule& operator=(const NpapiPluginModule&) = delete;

  // The module of the image at `key`, created on first use. Never null.
  static NpapiPluginModule* GetModule(const void* key);
  static void ReleaseModule(const void* key);
  // The base address of the loaded image that contains `address` (null when none is known).
  static const void* keyFor(const void* address);
  static int moduleCount() { return PluginModuleInitialized; }

  void setNetscapeFuncs(const NPNetscapeFuncs* funcs);
  void getPluginFuncs(NPPluginFuncs* pFuncs);
  const NPNetscapeFuncs& browserFuncs() const { return m_browserFuncs; }

  static void scheduleAsyncCallback(NPP npp, void (*func)(void*), void* userData);

  // Browser functions that need no instance; each answers a fixed value when the browser lacks it.
  void Version(int* plugin_major, int* plugin_minor, int* netscape_major, int* netscape_minor);
  void* MemAlloc(uint32_t size);
  void MemFree(void* ptr);
  uint32_t MemFlush(uint32_t size);
  void ReloadPlugins(NPBool reloadPages);
  void ReleaseVariantValue(NPVariant* variant);
  NPIdentifier GetStringIdentifier(const NPUTF8* name);
  void GetStringIdentifiers(const NPUTF8** names, int32_t count, NPIdentifier* identifiers);
  NPIdentifier GetIntIdentifier(int32_t intid);
  bool IdentifierIsString(NPIdentifier identifier);
  NPUTF8* UTF8FromIdentifier(NPIdentifier identifier);
  std::string StringFromIdentifier(NPIdentifier identifier);
  int32_t IntFromIdentifier(NPIdentifier identifier);
  NPObject* RetainObject(NPObject* npobj);
  void ReleaseObject(NPObject* npobj);

  // The NPP functions handed to the browser.
  static NPError NPP_New(NPMIMEType pluginType, NPP instance, uint16_t mode, int16_t argc, char* argn[], char* argv[],
                         NPSavedData* saved);
  static NPError NPP_Destroy(NPP instance, NPSavedData** save);
  static NPError NPP_SetWindow(NPP instance, NPWindow* window);
  static NPError NPP_NewStream(NPP instance, NPMIMEType type, NPStream* stream, NPBool seekable, uint16_t* stype);
  static NPError NPP_DestroyStream(NPP instance, NPStream* stream, NPReason reason);
  static void NPP_StreamAsFile(NPP instance, NPStream* stream, const char* fname);
  static int32_t NPP_WriteReady(NPP instance, NPStream* stream);
  static int32_t NPP_Write(NPP instance, NPStream* stream, int32_t offset, int32_t len, void* buffer);
  static void NPP_Print(NPP instance, NPPrint* platformPrint);
  static int16_t NPP_HandleEvent(NPP instance, void* event);
  static void NPP_URLNotify(NPP instance, const char* url, NPReason reason, void* notifyData);
  static NPError NPP_GetValue(NPP instance, NPPVariable variable, void* value);
  static NPError NPP_SetValue(NPP instance, NPNVariable variable, void* value);

  // NPP_New for a module found by its caller; NPP_New itself keys it by its own return address.
  static NPError newInstance(NpapiPluginModule* module, NPMIMEType pluginType, NPP instance, int16_t argc, char* argn[],
                             char* argv[]);

 private:
  NPNetscapeFuncs m_browserFuncs;

  static std::map<const void*, NpapiPluginModule*> m_modules;
  static int PluginModuleInitialized;
};

}  // namespace Npapi
}  // namespace PF
