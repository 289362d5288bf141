#pragma once
// The only conversions between wide text (one code point per element) and UTF-8 text.
// Invalid input raises the exceptions of the utf8 library (utf8::invalid_code_point,
// utf8::invalid_utf8, utf8::not_enough_room); they are not script errors.

#include <string>

namespace PF {

std::string wstring_to_utf8(const std::wstring& text);
std::wstring utf8_to_wstring(const std::string& text);

}  // namespace PF
