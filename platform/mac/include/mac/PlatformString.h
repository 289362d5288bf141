/*
 * The platform's string object, as the browser hands it to the plug-in inside event records (key text,
 * text input). Strings hold UTF-8 text; their characters are counted and indexed in UTF-16 units, as the
 * platform's own strings are.
 *
 * Every function is safe to call from any thread; a string is not changed after it is made.
 */
#ifndef RVP_MAC_PLATFORMSTRING_H
#define RVP_MAC_PLATFORMSTRING_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define RVP_MAC_API __attribute__((visibility("default")))

typedef struct RvpString RvpString;

/* A new string holding a copy of length bytes of UTF-8 text, with one reference for the caller. Null when
   the bytes are not valid UTF-8 (or text is null with a non-zero length). */
RVP_MAC_API RvpString* rvp_string_create(const char* utf8, size_t length);

/* Reference counting: a string is freed when its last reference is released. Both accept null. */
RVP_MAC_API RvpString* rvp_string_retain(RvpString* string);
RVP_MAC_API void rvp_string_release(RvpString* string);

/* The text as zero-terminated UTF-8, valid while the string lives; its byte length goes to *length when
   length is not null. Null for a null string. */
RVP_MAC_API const char* rvp_string_utf8(const RvpString* string, size_t* length);

/* Number of UTF-16 units (0 for null). */
RVP_MAC_API size_t rvp_string_length(const RvpString* string);

/* The UTF-16 unit at index, or 0 when the index is out of range or the string is null. */
RVP_MAC_API uint16_t rvp_string_character_at(const RvpString* string, size_t index);

#ifdef __cplusplus
}
#endif

#endif /* RVP_MAC_PLATFORMSTRING_H */
