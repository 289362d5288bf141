// Block DES, Triple-DES and the CBC MAC of the card layer's packing family, over the software DES.
#pragma once

#include <cstddef>

// One DES block: mode 1 encrypts, 0 decrypts. Key parity bits are ignored.
void GP_SDES(int mode, const unsigned char key[8], const unsigned char in[8], unsigned char out[8]);

// keyLength 8: single DES (mode 1 encrypt, 0 decrypt, other modes leave out untouched).
// keyLength 16 or 24: Triple DES with K3 = K1 for 16; mode 1 encrypts E(K1) D(K2) E(K3), mode 2 decrypts
// the input under each 8-byte key part into output block i, any other mode decrypts D(K3) E(K2) D(K1).
// out must hold 8 bytes, or keyLength bytes for mode 2. Other key lengths do nothing.
void GP_DES(int mode, int keyLength, const unsigned char* key, const unsigned char in[8], unsigned char* out);

// CBC MAC over data zero-padded to whole blocks, chained from iv; single DES for keyLength 8, E-D-E for
// 16 and 24. The padding is done on a copy, so data needs no spare room. n == 0 gives iv.
void GP_MAC(int keyLength, const unsigned char* key, const unsigned char iv[8], std::size_t n,
            const unsigned char* data, unsigned char mac[8]);
