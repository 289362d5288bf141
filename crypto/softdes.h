// Software DES (single, two-key and three-key; ECB and CBC) on caller buffers.
// Every variant writes len / 8 whole blocks; a trailing partial block is ignored. The IV is only read.
// Input and output must not overlap.
#ifndef RVP_CRYPTO_SOFTDES_H
#define RVP_CRYPTO_SOFTDES_H

#include <cstddef>

// One 8-byte block: mode 1 enciphers, mode 0 deciphers.
void soft_des(int mode, const unsigned char key[8], const unsigned char in[8], unsigned char out[8]);

void Des_Encrypt_ECB(const unsigned char key[8], const unsigned char* in, std::size_t len, unsigned char* out);
void Des_Decrypt_ECB(const unsigned char key[8], const unsigned char* in, std::size_t len, unsigned char* out);
void Des_Encrypt_CBC(const unsigned char key[8], const unsigned char iv[8], const unsigned char* in, std::size_t len,
                     unsigned char* out);
void Des_Decrypt_CBC(const unsigned char key[8], const unsigned char iv[8], const unsigned char* in, std::size_t len,
                     unsigned char* out);

// Two-key triple DES (EDE), K1 = key[0..7], K2 = key[8..15].
void Des2_Encrypt_ECB(const unsigned char key[16], const unsigned char* in, std::size_t len, unsigned char* out);
void Des2_Decrypt_ECB(const unsigned char key[16], const unsigned char* in, std::size_t len, unsigned char* out);
void Des2_Encrypt_CBC(const unsigned char key[16], const unsigned char iv[8], const unsigned char* in, std::size_t len,
                      unsigned char* out);
void Des2_Decrypt_CBC(const unsigned char key[16], const unsigned char iv[8], const unsigned char* in, std::size_t len,
                      unsigned char* out);

// Three-key variants apply K1, K2, K3 in that order in both directions (decipher undoes encipher only
// when K1 equals K3).
void Des3_Encrypt_ECB(const unsigned char key[24], const unsigned char* in, std::size_t len, unsigned char* out);
void Des3_Decrypt_ECB(const unsigned char key[24], const unsigned char* in, std::size_t len, unsigned char* out);
void Des3_Encrypt_CBC(const unsigned char key[24], const unsigned char iv[8], const unsigned char* in, std::size_t len,
                      unsigned char* out);
void Des3_Decrypt_CBC(const unsigned char key[24], const unsigned char iv[8], const unsigned char* in, std::size_t len,
                      unsigned char* out);

#endif
