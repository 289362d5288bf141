#include "SystemProxyDetector.h"

namespace PF {

// A platform binding with a proxy store defines its own; the linker then takes that one.
__attribute__((weak)) SystemProxyDetector* SystemProxyDetector::get() { return nullptr; }

}  // namespace PF
