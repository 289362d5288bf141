// Stand-ins for the platform objects the factory hands out. A binding that has real
// ones defines these functions in its own sources; the linker then takes those.

#include "FactoryBase.h"

namespace PF {

namespace Npapi {
__attribute__((weak)) NpapiPluginPtr createNpapiPlugin(const NpapiBrowserHostPtr&, const std::string&) {
  return NpapiPluginPtr();
}
}  // namespace Npapi

// No invalidating Core Animation support: always null.
__attribute__((weak)) PluginWindowMac* createPluginWindowMacICA() { return nullptr; }

__attribute__((weak)) PluginWindowMac* createPluginWindowMacCA() { return nullptr; }

__attribute__((weak)) PluginWindowMac* createPluginWindowMacCG() { return nullptr; }

__attribute__((weak)) PluginEventMac* createPluginEventMacCocoa() { return nullptr; }

}  // namespace PF
