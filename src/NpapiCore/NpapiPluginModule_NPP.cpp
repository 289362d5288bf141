// The NPP functions: the browser's calls on one instance. Nothing thrown inside leaves them.
#include <cstdio>
#include <new>

#include "FactoryBase.h"
#include "NpapiBrowserHost.h"
#include "NpapiPlugin.h"
#include "NpapiPluginModule.h"
#include "OneShotManager.h"
#include "PluginInfo.h"

namespace PF {
namespace Npapi {

namespace {

struct NpapiInstanceHolder {
  NpapiBrowserHostPtr host;
  NpapiPluginPtr plugin;
};

NpapiInstanceHolder* holderOf(NPP instance) {
  return instance ? static_cast<NpapiInstanceHolder*>(instance->pdata) : nullptr;
}

void report(const char* what) {
  std::puts(what ? what : "");
  std::fflush(stdout);
}

// The answer of NPP_New to the exception being handled; its text goes to standard output first.
NPError creationFailure() {
  try {
    throw;
  } catch (const PluginCreateError& e) {
    report(e.what());
    return NPERR_INCOMPATIBLE_VERSION_ERROR;
  } catch (const std::bad_alloc& e) {
    report(e.what());
    return NPERR_OUT_OF_MEMORY_ERROR;
  } catch (const std::exception& e) {
    report(e.what());
    return NPERR_GENERIC_ERROR;
  } catch (...) {
    return NPERR_GENERIC_ERROR;
  }
}

// Runs call on the instance's plug-in: `invalid` without an instance, `noPlugin` without a plug-in, and
// `failed` when the plug-in lets an exception out (the browser never sees one).
template <class R, class Call>
R forward(NPP instance, R invalid, R noPlugin, R failed, Call call) {
  NpapiInstanceHolder* holder = holderOf(instance);
  if (!holder) return invalid;
  NpapiPluginPtr plugin = holder->plugin;
  if (!plugin) return noPlugin;
  try {
    return call(*plugin);
  } catch (const std::exception& e) {
    report(e.what());
  } catch (...) {
  }
  return failed;
}

}  // namespace

NpapiPluginPtr getPlugin(NPP instance) {
  NpapiInstanceHolder* holder = holderOf(instance);
  return holder ? holder->plugin : NpapiPluginPtr();
}

NPError NpapiPluginModule::NPP_New(NPMIMEType pluginType, NPP instance, uint16_t, int16_t argc, char* argn[],
                                   char* argv[], NPSavedData*) {
  if (!instance) return NPERR_INVALID_INSTANCE_ERROR;
  const void* key = keyFor(__builtin_extract_return_addr(__builtin_return_address(0)));
  NpapiPluginModule* module = nullptr;
  try {
    module = GetModule(key);
  } catch (...) {
    return creationFailure();
  }
  return newInstance(module, pluginType, instance, argc, argn, argv);
}

NPError NpapiPluginModule::newInstance(NpapiPluginModule* module, NPMIMEType pluginType, NPP instance, int16_t argc,
                                       char* argn[], char* argv[]) {
  if (!instance) return NPERR_INVALID_INSTANCE_ERROR;
  NpapiBrowserHostPtr host;
  NpapiInstanceHolder* holder = nullptr;
  bool registered = false;
  // A failure at any step leaves nothing behind: no holder in pdata, no queue with the scheduler, and a
  // host that is shut down so that nothing it made outlives the instance.
  auto undo = [&] {
    if (registered) OneShotManager::getInstance().npp_unregister(instance);
    if (holder && instance->pdata == holder) instance->pdata = nullptr;
    NpapiPluginPtr plugin = holder ? holder->plugin : NpapiPluginPtr();
    delete holder;
    holder = nullptr;
    try {
      if (plugin) plugin->shutdown();
      plugin.reset();
      if (host) host->shutdown();
    } catch (...) {
    }
    host.reset();
  };
  try {
    host = boost::make_shared<NpapiBrowserHost>(module, instance);
    host->setBrowserFuncs(&module->browserFuncs());
    NpapiPluginPtr plugin = getFactoryInstance()->createNpapiPlugin(host, pluginType ? pluginType : "");
    if (!plugin) {
      undo();
      return NPERR_OUT_OF_MEMORY_ERROR;
    }
    holder = new NpapiInstanceHolder{host, plugin};
    OneShotManager::getInstance().npp_register(const_cast<void*>(host->getContextID()));
    registered = true;
    instance->pdata = holder;
    plugin->init(pluginType, argc, argn, argv);
    return NPERR_NO_ERROR;
  } catch (...) {
    const NPError result = creationFailure();
    undo();
    return result;
  }
}

NPError NpapiPluginModule::NPP_Destroy(NPP instance, NPSavedData**) {
  NpapiInstanceHolder* holder = holderOf(instance);
  if (!holder) return NPERR_INVALID_INSTANCE_ERROR;
  NpapiBrowserHostPtr host = holder->host;
  try {
    if (host) host->shutdown();
    if (NpapiPluginPtr plugin = holder->plugin) plugin->shutdown();
  } catch (const std::exception& e) {
    report(e.what());
  } catch (...) {
  }
  instance->pdata = nullptr;
  OneShotManager::getInstance().npp_unregister(instance);
  try {
    delete holder;
    host.reset();
  } catch (...) {
  }
  return NPERR_NO_ERROR;
}

NPError NpapiPluginModule::NPP_SetWindow(NPP instance, NPWindow* window) {
  return forward<NPError>(instance, NPERR_INVALID_INSTANCE_ERROR, NPERR_NO_ERROR, NPERR_GENERIC_ERROR,
                          [&](NpapiPlugin& p) { return pluginGuiEnabled() ? p.SetWindow(window) : NPERR_NO_ERROR; });
}

NPError NpapiPluginModule::NPP_NewStream(NPP instance, NPMIMEType type, NPStream* stream, NPBool seekable,
                                         uint16_t* stype) {
  return forward<NPError>(instance, NPERR_INVALID_INSTANCE_ERROR, NPERR_GENERIC_ERROR, NPERR_GENERIC_ERROR,
                          [&](NpapiPlugin& p) { return p.NewStream(type, stream, seekable, stype); });
}

NPError NpapiPluginModule::NPP_DestroyStream(NPP instance, NPStream* stream, NPReason reason) {
  return forward<NPError>(instance, NPERR_INVALID_INSTANCE_ERROR, NPERR_GENERIC_ERROR, NPERR_GENERIC_ERROR,
                          [&](NpapiPlugin& p) { return p.DestroyStream(stream, reason); });
}

void NpapiPluginModule::NPP_StreamAsFile(NPP instance, NPStream* stream, const char* fname) {
  forward<int>(instance, 0, 0, 0, [&](NpapiPlugin& p) {
    p.StreamAsFile(stream, fname);
    return 0;
  });
}

int32_t NpapiPluginModule::NPP_WriteReady(NPP instance, NPStream* stream) {
  // A byte count, not an error code: -1 tells the browser to end the stream.
  return forward<int32_t>(instance, -1, -1, -1, [&](NpapiPlugin& p) { return p.WriteReady(stream); });
}

int32_t NpapiPluginModule::NPP_Write(NPP instance, NPStream* stream, int32_t offset, int32_t len, void* buffer) {
  return forward<int32_t>(instance, -1, -1, -1, [&](NpapiPlugin& p) { return p.Write(stream, offset, len, buffer); });
}

void NpapiPluginModule::NPP_Print(NPP instance, NPPrint* platformPrint) {
  forward<int>(instance, 0, 0, 0, [&](NpapiPlugin& p) {
    p.Print(platformPrint);
    return 0;
  });
}

int16_t NpapiPluginModule::NPP_HandleEvent(NPP instance, void* event) {
  return forward<int16_t>(instance, 0, 0, 0, [&](NpapiPlugin& p) { return p.HandleEvent(event); });
}

void NpapiPluginModule::NPP_URLNotify(NPP instance, const char* url, NPReason reason, void* notifyData) {
  forward<int>(instance, 0, 0, 0, [&](NpapiPlugin& p) {
    p.URLNotify(url, reason, notifyData);
    return 0;
  });
}

NPError NpapiPluginModule::NPP_GetValue(NPP instance, NPPVariable variable, void* value) {
  if (!holderOf(instance)) {
    // Asked before any instance exists: the plug-in's name and description for the browser's list.
    try {
      if (variable == NPPVpluginNameString) {
        static const std::string pluginName = getFactoryInstance()->getPluginName(std::string());
        *static_cast<const char**>(value) = pluginName.c_str();
        return NPERR_NO_ERROR;
      }
      if (variable == NPPVpluginDescriptionString) {
        static const std::string pluginDesc = getFactoryInstance()->getPluginDescription(std::string());
        *static_cast<const char**>(value) = pluginDesc.c_str();
        return NPERR_NO_ERROR;
      }
    } catch (...) {
    }
    return NPERR_GENERIC_ERROR;
  }
  return forward<NPError>(instance, NPERR_INVALID_INSTANCE_ERROR, NPERR_NO_ERROR, NPERR_GENERIC_ERROR,
                          [&](NpapiPlugin& p) { return p.GetValue(variable, value); });
}

NPError NpapiPluginModule::NPP_SetValue(NPP instance, NPNVariable variable, void* value) {
  return forward<NPError>(instance, NPERR_INVALID_INSTANCE_ERROR, NPERR_GENERIC_ERROR, NPERR_GENERIC_ERROR,
                          [&](NpapiPlugin& p) { return p.SetValue(variable, value); });
}

}  // namespace Npapi
}  // namespace PF
