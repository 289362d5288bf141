#pragma once
// One copy of the system's proxy dictionary, read by key; released when the copy goes.

#include <string>

#include "proxystore/ProxyStore.h"

namespace PF {

class SystemProxySettings {
 public:
  // The system's settings now; check hasStore() before anything else.
  SystemProxySettings() : m_dictionary(rvp_proxy_store_copy()) {}
  ~SystemProxySettings() { rvp_proxy_dictionary_release(m_dictionary); }
  SystemProxySettings(const SystemProxySettings&) = delete;
  SystemProxySettings& operator=(const SystemProxySettings&) = delete;

  bool hasStore() const { return m_dictionary != nullptr; }
  bool hasInteger(const char* key) const { return rvp_proxy_dictionary_integer(m_dictionary, key, nullptr) != 0; }
  // 0 when absent.
  long integer(const char* key) const {
    long value = 0;
    return rvp_proxy_dictionary_integer(m_dictionary, key, &value) ? value : 0;
  }
  // Empty when absent.
  std::string text(const char* key) const {
    const long length = rvp_proxy_dictionary_text(m_dictionary, key, nullptr, 0);
    if (length <= 0) return std::string();
    std::string value(static_cast<size_t>(length) + 1, '\0');
    if (rvp_proxy_dictionary_text(m_dictionary, key, &value[0], value.size()) != length) return std::string();
    value.resize(static_cast<size_t>(length));
    return value;
  }

 private:
  RvpProxyDictionary* m_dictionary;
};

}  // namespace PF
