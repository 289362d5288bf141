/*
 * The system's proxy settings, as one dictionary keyed as the platform's own store keys them:
 * "HTTPEnable", "HTTPProxy", "HTTPPort", "HTTPSEnable", "HTTPSProxy", "HTTPSPort", "SOCKSEnable",
 * "SOCKSProxy", "SOCKSPort" (enable flags and ports are integers, proxies are text).
 *
 * On this desktop the store is GSettings' org.gnome.system.proxy: a protocol's entry is enabled in
 * manual mode, with the host and port of its sub-schema (https takes http's when use-same-proxy is on);
 * a port of 0 is left out. Without that schema there is no store.
 *
 * A dictionary is not changed after it is made; every function is safe from any thread.
 */
#ifndef RVP_PROXYSTORE_PROXYSTORE_H
#define RVP_PROXYSTORE_PROXYSTORE_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct RvpProxyDictionary RvpProxyDictionary;

/* A copy of the system's settings, or null when there is no store. Release it when done. */
RvpProxyDictionary* rvp_proxy_store_copy(void);
void rvp_proxy_dictionary_release(RvpProxyDictionary* dictionary);

/* 1 when the key holds an integer (stored in *value when value is not null), else 0. */
int rvp_proxy_dictionary_integer(const RvpProxyDictionary* dictionary, const char* key, long* value);
/* Copies a text value, zero-terminated, into buf when it fits (cap counts the terminator); returns its
   length either way, or -1 when the key holds no text. */
long rvp_proxy_dictionary_text(const RvpProxyDictionary* dictionary, const char* key, char* buf, size_t cap);

#ifdef __cplusplus
}
#endif

#endif /* RVP_PROXYSTORE_PROXYSTORE_H */
