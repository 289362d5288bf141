#include "FactoryBase.h"

namespace PF {

Npapi::NpapiPluginPtr FactoryBase::createNpapiPlugin(const Npapi::NpapiBrowserHostPtr& host,
                                                     const std::string& mimetype) {
  return Npapi::createNpapiPlugin(host, mimetype);
}

PluginWindowMac* FactoryBase::createPluginWindowMacICA() { return PF::createPluginWindowMacICA(); }

PluginWindowMac* FactoryBase::createPluginWindowMacCA() { return PF::createPluginWindowMacCA(); }

PluginWindowMac* FactoryBase::createPluginWindowMacCG() { return PF::createPluginWindowMacCG(); }

PluginEventMac* FactoryBase::createPluginEventMacCocoa() { return PF::createPluginEventMacCocoa(); }

}  // namespace PF
