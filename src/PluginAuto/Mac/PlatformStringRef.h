#pragma once
// A look at one of the platform's string objects handed over in an event record, without taking a
// reference: the record's owner keeps it alive for the length of the event.

#include <cstdint>
#include <string>

#include "mac/PlatformString.h"

namespace PF {

class PlatformStringRef {
 public:
  explicit PlatformStringRef(const void* string) : m_string(static_cast<const RvpString*>(string)) {}

  bool isNull() const { return m_string == nullptr; }
  bool isEmpty() const { return rvp_string_length(m_string) == 0; }
  // The text as UTF-8 (empty for a null string).
  std::string utf8() const {
    size_t length = 0;
    const char* text = rvp_string_utf8(m_string, &length);
    return text ? std::string(text, length) : std::string();
  }
  // The first UTF-16 unit, 0 for an empty or null string.
  std::uint16_t firstCharacter() const { return rvp_string_character_at(m_string, 0); }

 private:
  const RvpString* m_string;
};

}  // namespace PF
