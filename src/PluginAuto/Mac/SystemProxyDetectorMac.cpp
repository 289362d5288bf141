#include "SystemProxyDetectorMac.h"

#include "SystemProxySettings.h"
#include "URI.h"

namespace PF {

namespace {

struct ProxyKeys {
  const char* scheme;  // the URL scheme it serves; null for every scheme
  const char* type;    // the "type" it reports; null for the URL's scheme
  const char* enable;
  const char* proxy;
  const char* port;
};

const ProxyKeys kProxies[] = {
    {"http", nullptr, "HTTPEnable", "HTTPProxy", "HTTPPort"},
    {"https", nullptr, "HTTPSEnable", "HTTPSProxy", "HTTPSPort"},
    {nullptr, "socks", "SOCKSEnable", "SOCKSProxy", "SOCKSPort"},
};

std::string schemeOf(const std::string& url) {
  try {
    return URI::fromString(url).protocol;
  } catch (...) {
    return std::string();
  }
}

}  // namespace

bool SystemProxyDetectorMac::detectProxy(std::map<std::string, std::string>& settings, const std::string& url) {
  const SystemProxySettings store;
  if (!store.hasStore()) return false;
  const std::string scheme = schemeOf(url);
  for (const ProxyKeys& keys : kProxies) {
    if (keys.scheme && scheme != keys.scheme) continue;
    // An entry switched on without a host names no proxy.
    const std::string host = store.text(keys.proxy);
    if (!store.hasInteger(keys.enable) || store.integer(keys.enable) == 0 || host.empty()) continue;
    settings["type"] = keys.type ? keys.type : scheme;
    settings["hostname"] = host;
    settings["port"] = std::to_string(store.integer(keys.port));
    return true;
  }
  return false;
}

SystemProxyDetector* SystemProxyDetector::get() {
  static SystemProxyDetectorMac detector;
  return &detector;
}

}  // namespace PF
