// Strings are immutable after creation; only the reference count changes, atomically.
#include "mac/PlatformString.h"

#include <atomic>
#include <iterator>
#include <string>
#include <vector>

#include <utf8.h>

struct RvpString {
  std::atomic<long> references{1};
  std::string utf8;
  std::vector<uint16_t> utf16;
};

extern "C" {

RvpString* rvp_string_create(const char* utf8, size_t length) {
  if (!utf8 && length) return nullptr;
  const char* begin = utf8 ? utf8 : "";
  const char* end = begin + length;
  if (!utf8::is_valid(begin, end)) return nullptr;
  RvpString* string = new RvpString;
  string->utf8.assign(begin, end);
  utf8::unchecked::utf8to16(begin, end, std::back_inserter(string->utf16));
  return string;
}

RvpString* rvp_string_retain(RvpString* string) {
  if (string) string->references.fetch_add(1);
  return string;
}

void rvp_string_release(RvpString* string) {
  if (string && string->references.fetch_sub(1) == 1) delete string;
}

const char* rvp_string_utf8(const RvpString* string, size_t* length) {
  if (length) *length = string ? string->utf8.size() : 0;
  return string ? string->utf8.c_str() : nullptr;
}

size_t rvp_string_length(const RvpString* string) { return string ? string->utf16.size() : 0; }

uint16_t rvp_string_character_at(const RvpString* string, size_t index) {
  if (!string || index >= string->utf16.size()) return 0;
  return string->utf16[index];
}

}  // extern "C"
