// HMAC-SHA1 helpers for the request MAC and the challenge answer.
#ifndef RVP_CRYPTO_MAC_H
#define RVP_CRYPTO_MAC_H

#include <cstddef>
#include <string>

// 20-byte HMAC-SHA1 of the data under a 16-byte key; empty on failure.
std::string doHMAC(const unsigned char* data, std::size_t len, const unsigned char key[16]);

// Base64 (28 characters + "\n") of the HMAC under the request MAC key of bytes 32 to 61 of the request,
// up to the first NUL among them (a shorter request contributes what it has). Empty on failure.
std::string HMAC_Data(const std::string& request);

// The same under the challenge-response key over the first 10 bytes of the clear challenge, up to the
// first NUL among them.
std::string HMAC_CR(const std::string& clearChallenge);

// The MAC input window of a text: bytes [from, from + count) up to the first NUL, bounded by the text.
std::string macWindow(const std::string& text, std::size_t from, std::size_t count);

#endif
