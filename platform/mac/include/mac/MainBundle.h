/*
 * The main bundle of the process the plug-in runs in (the browser's): its identifier and its Info.plist
 * values. The browser sets them before it loads plug-ins; the plug-in only reads them.
 *
 * Every function is safe from any thread.
 */
#ifndef RVP_MAC_MAINBUNDLE_H
#define RVP_MAC_MAINBUNDLE_H

#include <stddef.h>

#include "mac/PlatformString.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Sets the identifier (copied); null or empty means the bundle has none. */
RVP_MAC_API void rvp_bundle_set_identifier(const char* identifier);
/* Copies the identifier, zero-terminated, into buf when it fits (cap counts the terminator); returns its
   length either way (0 when there is none). */
RVP_MAC_API size_t rvp_bundle_identifier(char* buf, size_t cap);

/* Sets an Info.plist value (both copied); a null value removes the key. Returns 0, or -1 for a null or
   empty key. */
RVP_MAC_API int rvp_bundle_set_info_value(const char* key, const char* value);
/* 1 when the Info.plist has any value for the key, else 0. */
RVP_MAC_API int rvp_bundle_has_info_value(const char* key);

/* Forgets the identifier and every value. */
RVP_MAC_API void rvp_bundle_reset(void);

#ifdef __cplusplus
}
#endif

#endif /* RVP_MAC_MAINBUNDLE_H */
