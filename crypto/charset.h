// Code-page conversion through iconv.
#ifndef RVP_CRYPTO_CHARSET_H
#define RVP_CRYPTO_CHARSET_H

#include <optional>
#include <string>

// Converts the whole text; nothing when the converter cannot be opened or the text does not convert.
std::optional<std::string> convertCharset(const std::string& text, const char* toCode, const char* fromCode);

// True when some byte is neither printable ASCII nor a line feed nor 0xFF (the bytes that ask for a
// code-page conversion).
bool needsCharsetConversion(const std::string& text);

#endif
