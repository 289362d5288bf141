// Padded two-key triple-DES CBC over the software DES, as the page parameters and keypad labels use it.
#ifndef RVP_CRYPTO_SOFTCBC_H
#define RVP_CRYPTO_SOFTCBC_H

#include <optional>
#include <string>

// Pads with 1 to 8 bytes each holding the pad length, then enciphers.
std::string softTdesEncryptPadded(const unsigned char key[16], const unsigned char iv[8], const std::string& clear);

// Deciphers whole blocks and drops as many bytes as the last clear byte says (0 drops nothing).
// Nothing for an empty input, a partial block, or a last byte above 8.
std::optional<std::string> softTdesDecryptPadded(const unsigned char key[16], const unsigned char iv[8],
                                                 const std::string& cipher);

#endif
