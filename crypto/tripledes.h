// Two-key triple DES in CBC mode over the crypto library.
#ifndef RVP_CRYPTO_TRIPLEDES_H
#define RVP_CRYPTO_TRIPLEDES_H

#include <cstddef>
#include <optional>
#include <string>

#include <openssl/evp.h>

// The IV of every sealing and challenge operation: eight "0" characters.
extern const unsigned char kZeroTextIV[8];

// Two-key triple-DES CBC of data under a 16-byte key. With padding the library's PKCS padding is added
// (encrypt) or checked and removed (decrypt); without it, data must be whole blocks. Nothing on failure.
std::optional<std::string> tripleDesCbc(bool encrypt, const unsigned char key[16], const unsigned char iv[8],
                                        const std::string& data, bool padding);

// Encrypts the text (up to its first NUL) under the first 16 bytes of keyText (zero-filled when shorter),
// IV "00000000", PKCS padding; the cipher text as one line of base64. Empty on failure.
std::string DESEncrypt(const std::string& clear, const std::string& keyText);

// Opens a server cipher text (base64; one or more lines) under the built-in DES key, IV "00000000".
// The clear bytes of the leading blocks (up to their first NUL) followed by those of the unpadded last
// block (up to its first NUL); a last block with bad padding contributes nothing. Empty when the input
// is not base64 of whole blocks.
std::string DESDecrypt(const std::string& base64Text);

// Update and final output of an encryption in a prepared context; nothing on failure.
std::optional<std::string> encrypt_data(EVP_CIPHER_CTX* ctx, const unsigned char* data, std::size_t len);
// Update output of a decryption in a prepared context; nothing when empty or on failure.
std::optional<std::string> decrypt_data(EVP_CIPHER_CTX* ctx, const unsigned char* data, std::size_t len);

#endif
