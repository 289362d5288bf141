// The plug-in library's only exports. Each finds the module of the image its caller lives in.
#include "Log.h"
#include "NpapiPluginModule.h"

using PF::Npapi::NpapiPluginModule;

namespace {
const void* callerKey(void* returnAddress) {
  return NpapiPluginModule::keyFor(__builtin_extract_return_addr(returnAddress));
}
}  // namespace

NP_EXPORT(NPError) NP_GetEntryPoints(NPPluginFuncs* pFuncs) {
  try {
    NpapiPluginModule::GetModule(callerKey(__builtin_return_address(0)))->getPluginFuncs(pFuncs);
  } catch (...) {
    // The browser is told nothing more than success; a later NPP_New reports what is wrong.
  }
  return NPERR_NO_ERROR;
}

NP_EXPORT(NPError) NP_Initialize(NPNetscapeFuncs* bFuncs) {
  try {
    NpapiPluginModule::GetModule(callerKey(__builtin_return_address(0)))->setNetscapeFuncs(bFuncs);
    PF::Log::info("NPAPI", "Initialization done", __FILE__, __LINE__, __func__);
  } catch (...) {
  }
  return NPERR_NO_ERROR;
}

NP_EXPORT(NPError) NP_Shutdown() {
  try {
    NpapiPluginModule::ReleaseModule(callerKey(__builtin_return_address(0)));
  } catch (...) {
  }
  return NPERR_NO_ERROR;
}
