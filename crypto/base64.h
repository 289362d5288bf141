// Base64 (standard alphabet, "=" padding) in the two shapes the bank's messages use.
#ifndef RVP_CRYPTO_BASE64_H
#define RVP_CRYPTO_BASE64_H

#include <cstddef>
#include <string>

// Lines of 64 characters, each line (the last too) ended by "\n". 20 bytes -> 28 characters + "\n".
std::string base64Encode(const unsigned char* data, std::size_t len);
std::string base64Encode(const std::string& data);

// One line, no line break (the one-block encoder).
std::string base64EncodeLine(const unsigned char* data, std::size_t len);

// Decodes text made of lines of any length (line breaks optional). Empty when the text is not base64.
std::string base64Decode(const std::string& text);

// The one-block decoder: one line without padding removal (a 24-character text gives 18 bytes).
// Empty when the text is not base64 or its length is not a multiple of 4.
std::string base64DecodeBlock(const std::string& text);

#endif
