#pragma once
// The proxy for a URL from the system's proxy store: the HTTP or HTTPS proxy for those schemes when it
// is on, else the SOCKS proxy for any scheme when that is on.

#include "SystemProxyDetector.h"

namespace PF {

class SystemProxyDetectorMac : public SystemProxyDetector {
 public:
  // True only when this call found a proxy; an address that does not parse can only get SOCKS.
  bool detectProxy(std::map<std::string, std::string>& settings, const std::string& url) override;
};

}  // namespace PF
