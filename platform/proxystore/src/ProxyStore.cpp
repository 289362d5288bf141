// The desktop's proxy settings read once per copy through GSettings. The schema is looked up first:
// asking GSettings for a schema that is not installed would end the process.
#include "proxystore/ProxyStore.h"

#include <cstring>
#include <map>
#include <string>

#include <gio/gio.h>

struct RvpProxyDictionary {
  std::map<std::string, long> integers;
  std::map<std::string, std::string> texts;
};

namespace {

const char kSchema[] = "org.gnome.system.proxy";

// Settings of an installed schema, or null.
GSettings* openSchema(const char* id) {
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  if (!source) return nullptr;
  GSettingsSchema* schema = g_settings_schema_source_lookup(source, id, TRUE);
  if (!schema) return nullptr;
  GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
  g_settings_schema_unref(schema);
  return settings;
}

bool hasKey(GSettings* settings, const char* key) {
  GSettingsSchema* schema = nullptr;
  g_object_get(settings, "settings-schema", &schema, nullptr);
  const bool has = schema && g_settings_schema_has_key(schema, key);
  if (schema) g_settings_schema_unref(schema);
  return has;
}

std::string text(GSettings* settings, const char* key) {
  if (!settings || !hasKey(settings, key)) return std::string();
  gchar* value = g_settings_get_string(settings, key);
  std::string result = value ? value : "";
  g_free(value);
  return result;
}

long integer(GSettings* settings, const char* key) {
  return settings && hasKey(settings, key) ? g_settings_get_int(settings, key) : 0;
}

void put(RvpProxyDictionary& d, const std::string& prefix, bool enabled, const std::string& host, long port) {
  d.integers[prefix + "Enable"] = enabled ? 1 : 0;
  d.texts[prefix + "Proxy"] = host;
  if (port > 0) d.integers[prefix + "Port"] = port;
}

}  // namespace

extern "C" {

RvpProxyDictionary* rvp_proxy_store_copy(void) {
  GSettings* proxy = openSchema(kSchema);
  if (!proxy) return nullptr;
  GSettings* http = openSchema("org.gnome.system.proxy.http");
  GSettings* https = openSchema("org.gnome.system.proxy.https");
  GSettings* socks = openSchema("org.gnome.system.proxy.socks");

  const bool manual = text(proxy, "mode") == "manual";
  const bool sameProxy = hasKey(proxy, "use-same-proxy") && g_settings_get_boolean(proxy, "use-same-proxy");
  RvpProxyDictionary* d = new RvpProxyDictionary;
  put(*d, "HTTP", manual, text(http, "host"), integer(http, "port"));
  GSettings* secure = sameProxy ? http : https;
  put(*d, "HTTPS", manual, text(secure, "host"), integer(secure, "port"));
  put(*d, "SOCKS", manual, text(socks, "host"), integer(socks, "port"));

  for (GSettings* s : {proxy, http, https, socks})
    if (s) g_object_unref(s);
  return d;
}

void rvp_proxy_dictionary_release(RvpProxyDictionary* dictionary) { delete dictionary; }

int rvp_proxy_dictionary_integer(const RvpProxyDictionary* dictionary, const char* key, long* value) {
  if (!dictionary || !key) return 0;
  auto it = dictionary->integers.find(key);
  if (it == dictionary->integers.end()) return 0;
  if (value) *value = it->second;
  return 1;
}

long rvp_proxy_dictionary_text(const RvpProxyDictionary* dictionary, const char* key, char* buf, size_t cap) {
  if (!dictionary || !key) return -1;
  auto it = dictionary->texts.find(key);
  if (it == dictionary->texts.end()) return -1;
  const std::string& t = it->second;
  if (buf && cap >= t.size() + 1) std::memcpy(buf, t.c_str(), t.size() + 1);
  return static_cast<long>(t.size());
}

}  // extern "C"
