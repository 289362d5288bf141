// DES after FIPS 46-3, on arrays of one byte per bit. Tables hold 1-based bit numbers as the standard
// prints them.
#include "crypto/softdes.h"

#include <cstring>

namespace {

const unsigned char des_ip[64] = {58, 50, 42, 34, 26, 18, 10, 2, 60, 52, 44, 36, 28, 20, 12, 4,
                                  62, 54, 46, 38, 30, 22, 14, 6, 64, 56, 48, 40, 32, 24, 16, 8,
                                  57, 49, 41, 33, 25, 17, 9,  1, 59, 51, 43, 35, 27, 19, 11, 3,
                                  61, 53, 45, 37, 29, 21, 13, 5, 63, 55, 47, 39, 31, 23, 15, 7};

const unsigned char des_rip[64] = {40, 8, 48, 16, 56, 24, 64, 32, 39, 7, 47, 15, 55, 23, 63, 31,
                                   38, 6, 46, 14, 54, 22, 62, 30, 37, 5, 45, 13, 53, 21, 61, 29,
                                   36, 4, 44, 12, 52, 20, 60, 28, 35, 3, 43, 11, 51, 19, 59, 27,
                                   34, 2, 42, 10, 50, 18, 58, 26, 33, 1, 41, 9,  49, 17, 57, 25};

const unsigned char des_e[48] = {32, 1,  2,  3,  4,  5,  4,  5,  6,  7,  8,  9,  8,  9,  10, 11,
                                 12, 13, 12, 13, 14, 15, 16, 17, 16, 17, 18, 19, 20, 21, 20, 21,
                                 22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1};

const unsigned char des_s[512] = {
    // S1
    14, 4, 13, 1, 2, 15, 11, 8, 3, 10, 6, 12, 5, 9, 0, 7, 0, 15, 7, 4, 14, 2, 13, 1, 10, 6, 12, 11, 9, 5, 3, 8, 4, 1,
    14, 8, 13, 6, 2, 11, 15, 12, 9, 7, 3, 10, 5, 0, 15, 12, 8, 2, 4, 9, 1, 7, 5, 11, 3, 14, 10, 0, 6, 13,
    // S2
    15, 1, 8, 14, 6, 11, 3, 4, 9, 7, 2, 13, 12, 0, 5, 10, 3, 13, 4, 7, 15, 2, 8, 14, 12, 0, 1, 10, 6, 9, 11, 5, 0, 14,
    7, 11, 10, 4, 13, 1, 5, 8, 12, 6, 9, 3, 2, 15, 13, 8, 10, 1, 3, 15, 4, 2, 11, 6, 7, 12, 0, 5, 14, 9,
    // S3
    10, 0, 9, 14, 6, 3, 15, 5, 1, 13, 12, 7, 11, 4, 2, 8, 13, 7, 0, 9, 3, 4, 6, 10, 2, 8, 5, 14, 12, 11, 15, 1, 13, 6,
    4, 9, 8, 15, 3, 0, 11, 1, 2, 12, 5, 10, 14, 7, 1, 10, 13, 0, 6, 9, 8, 7, 4, 15, 14, 3, 11, 5, 2, 12,
    // S4
    7, 13, 14, 3, 0, 6, 9, 10, 1, 2, 8, 5, 11, 12, 4, 15, 13, 8, 11, 5, 6, 15, 0, 3, 4, 7, 2, 12, 1, 10, 14, 9, 10, 6,
    9, 0, 12, 11, 7, 13, 15, 1, 3, 14, 5, 2, 8, 4, 3, 15, 0, 6, 10, 1, 13, 8, 9, 4, 5, 11, 12, 7, 2, 14,
    // S5
    2, 12, 4, 1, 7, 10, 11, 6, 8, 5, 3, 15, 13, 0, 14, 9, 14, 11, 2, 12, 4, 7, 13, 1, 5, 0, 15, 10, 3, 9, 8, 6, 4, 2, 1,
    11, 10, 13, 7, 8, 15, 9, 12, 5, 6, 3, 0, 14, 11, 8, 12, 7, 1, 14, 2, 13, 6, 15, 0, 9, 10, 4, 5, 3,
    // S6
    12, 1, 10, 15, 9, 2, 6, 8, 0, 13, 3, 4, 14, 7, 5, 11, 10, 15, 4, 2, 7, 12, 9, 5, 6, 1, 13, 14, 0, 11, 3, 8, 9, 14,
    15, 5, 2, 8, 12, 3, 7, 0, 4, 10, 1, 13, 11, 6, 4, 3, 2, 12, 9, 5, 15, 10, 11, 14, 1, 7, 6, 0, 8, 13,
    // S7
    4, 11, 2, 14, 15, 0, 8, 13, 3, 12, 9, 7, 5, 10, 6, 1, 13, 0, 11, 7, 4, 9, 1, 10, 14, 3, 5, 12, 2, 15, 8, 6, 1, 4,
    11, 13, 12, 3, 7, 14, 10, 15, 6, 8, 0, 5, 9, 2, 6, 11, 13, 8, 1, 4, 10, 7, 9, 5, 0, 15, 14, 2, 3, 12,
    // S8
    13, 2, 8, 4, 6, 15, 11, 1, 10, 9, 3, 14, 5, 0, 12, 7, 1, 15, 13, 8, 10, 3, 7, 4, 12, 5, 6, 11, 0, 14, 9, 2, 7, 11,
    4, 1, 9, 12, 14, 2, 0, 6, 10, 13, 15, 3, 5, 8, 2, 1, 14, 7, 4, 10, 8, 13, 15, 12, 9, 0, 3, 5, 6, 11};

const unsigned char des_p[32] = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
                                 2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25};

const unsigned char des_pc1[56] = {57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18, 10, 2,  59, 51, 43,
                                   35, 27, 19, 11, 3,  60, 52, 44, 36, 63, 55, 47, 39, 31, 23, 15, 7,  62, 54,
                                   46, 38, 30, 22, 14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};

const unsigned char des_pc2[48] = {14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,
                                   26, 8,  16, 7,  27, 20, 13, 2,  41, 52, 31, 37, 47, 55, 30, 40,
                                   51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};

const unsigned char des_lshift[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

void unpackBits(const unsigned char* bytes, int count, unsigned char* bits) {
  for (int i = 0; i < count * 8; ++i) bits[i] = (bytes[i / 8] >> (7 - i % 8)) & 1;
}

void packBits(const unsigned char* bits, unsigned char* bytes) {
  for (int i = 0; i < 8; ++i) {
    unsigned char b = 0;
    for (int j = 0; j < 8; ++j) b = static_cast<unsigned char>((b << 1) | bits[i * 8 + j]);
    bytes[i] = b;
  }
}

void permute(const unsigned char* table, int count, const unsigned char* in, unsigned char* out) {
  for (int i = 0; i < count; ++i) out[i] = in[table[i] - 1];
}

void rotateLeft(unsigned char* half, int by) {
  unsigned char tmp[28];
  for (int i = 0; i < 28; ++i) tmp[i] = half[(i + by) % 28];
  std::memcpy(half, tmp, 28);
}

void f_cipher(const unsigned char r[32], const unsigned char k[48], unsigned char out[32]) {
  unsigned char x[48];
  permute(des_e, 48, r, x);
  for (int i = 0; i < 48; ++i) x[i] ^= k[i];
  unsigned char s[32];
  for (int box = 0; box < 8; ++box) {
    const unsigned char* g = x + box * 6;
    int row = (g[0] << 1) | g[5];
    int col = (g[1] << 3) | (g[2] << 2) | (g[3] << 1) | g[4];
    int v = des_s[box * 64 + row * 16 + col];
    for (int b = 0; b < 4; ++b) s[box * 4 + b] = (v >> (3 - b)) & 1;
  }
  permute(des_p, 32, s, out);
}

}  // namespace

void soft_des(int mode, const unsigned char key[8], const unsigned char in[8], unsigned char out[8]) {
  unsigned char keyBits[64], cd[56], subkeys[16][48];
  unpackBits(key, 8, keyBits);
  permute(des_pc1, 56, keyBits, cd);
  for (int round = 0; round < 16; ++round) {
    rotateLeft(cd, des_lshift[round]);
    rotateLeft(cd + 28, des_lshift[round]);
    permute(des_pc2, 48, cd, subkeys[round]);
  }

  unsigned char blockBits[64], lr[64];
  unpackBits(in, 8, blockBits);
  permute(des_ip, 64, blockBits, lr);
  unsigned char* l = lr;
  unsigned char* r = lr + 32;
  for (int round = 0; round < 16; ++round) {
    const unsigned char* k = subkeys[mode == 1 ? round : 15 - round];
    unsigned char f[32], newR[32];
    f_cipher(r, k, f);
    for (int i = 0; i < 32; ++i) newR[i] = l[i] ^ f[i];
    std::memcpy(l, r, 32);
    std::memcpy(r, newR, 32);
  }
  unsigned char swapped[64], outBits[64];
  std::memcpy(swapped, r, 32);
  std::memcpy(swapped + 32, l, 32);
  permute(des_rip, 64, swapped, outBits);
  packBits(outBits, out);
}

namespace {

// One block through a chain of single-DES steps: keys[i] with modes[i], in order.
struct Chain {
  const unsigned char* keys[3];
  int modes[3];
  int steps;
  void run(const unsigned char in[8], unsigned char out[8]) const {
    unsigned char a[8], b[8];
    std::memcpy(a, in, 8);
    for (int i = 0; i < steps; ++i) {
      soft_des(modes[i], keys[i], a, b);
      std::memcpy(a, b, 8);
    }
    std::memcpy(out, a, 8);
  }
};

void ecb(const Chain& c, const unsigned char* in, std::size_t len, unsigned char* out) {
  for (std::size_t off = 0; off + 8 <= len; off += 8) c.run(in + off, out + off);
}

void cbcEncrypt(const Chain& c, const unsigned char iv[8], const unsigned char* in, std::size_t len,
                unsigned char* out) {
  unsigned char prev[8], x[8];
  std::memcpy(prev, iv, 8);
  for (std::size_t off = 0; off + 8 <= len; off += 8) {
    for (int i = 0; i < 8; ++i) x[i] = in[off + i] ^ prev[i];
    c.run(x, out + off);
    std::memcpy(prev, out + off, 8);
  }
}

void cbcDecrypt(const Chain& c, const unsigned char iv[8], const unsigned char* in, std::size_t len,
                unsigned char* out) {
  unsigned char prev[8], x[8];
  std::memcpy(prev, iv, 8);
  for (std::size_t off = 0; off + 8 <= len; off += 8) {
    c.run(in + off, x);
    for (int i = 0; i < 8; ++i) out[off + i] = x[i] ^ prev[i];
    std::memcpy(prev, in + off, 8);
  }
}

Chain single(const unsigned char* key, int mode) { return Chain{{key, nullptr, nullptr}, {mode, 0, 0}, 1}; }
Chain twoKey(const unsigned char* key, bool encrypt) {
  int m = encrypt ? 1 : 0;
  return Chain{{key, key + 8, key}, {m, 1 - m, m}, 3};
}
Chain threeKey(const unsigned char* key, bool encrypt) {
  int m = encrypt ? 1 : 0;
  return Chain{{key, key + 8, key + 16}, {m, m, m}, 3};
}

}  // namespace

void Des_Encrypt_ECB(const unsigned char key[8], const unsigned char* in, std::size_t len, unsigned char* out) {
  ecb(single(key, 1), in, len, out);
}
void Des_Decrypt_ECB(const unsigned char key[8], const unsigned char* in, std::size_t len, unsigned char* out) {
  ecb(single(key, 0), in, len, out);
}
void Des_Encrypt_CBC(const unsigned char key[8], const unsigned char iv[8], const unsigned char* in, std::size_t len,
                     unsigned char* out) {
  cbcEncrypt(single(key, 1), iv, in, len, out);
}
void Des_Decrypt_CBC(const unsigned char key[8], const unsigned char iv[8], const unsigned char* in, std::size_t len,
                     unsigned char* out) {
  cbcDecrypt(single(key, 0), iv, in, len, out);
}
void Des2_Encrypt_ECB(const unsigned char key[16], const unsigned char* in, std::size_t len, unsigned char* out) {
  ecb(twoKey(key, true), in, len, out);
}
void Des2_Decrypt_ECB(const unsigned char key[16], const unsigned char* in, std::size_t len, unsigned char* out) {
  ecb(twoKey(key, false), in, len, out);
}
void Des2_Encrypt_CBC(const unsigned char key[16], const unsigned char iv[8], const unsigned char* in, std::size_t len,
                      unsigned char* out) {
  cbcEncrypt(twoKey(key, true), iv, in, len, out);
}
void Des2_Decrypt_CBC(const unsigned char key[16], const unsigned char iv[8], const unsigned char* in, std::size_t len,
                      unsigned char* out) {
  cbcDecrypt(twoKey(key, false), iv, in, len, out);
}
void Des3_Encrypt_ECB(const unsigned char key[24], const unsigned char* in, std::size_t len, unsigned char* out) {
  ecb(threeKey(key, true), in, len, out);
}
void Des3_Decrypt_ECB(const unsigned char key[24], const unsigned char* in, std::size_t len, unsigned char* out) {
  ecb(threeKey(key, false), in, len, out);
}
void Des3_Encrypt_CBC(const unsigned char key[24], const unsigned char iv[8], const unsigned char* in, std::size_t len,
                      unsigned char* out) {
  cbcEncrypt(threeKey(key, true), iv, in, len, out);
}
void Des3_Decrypt_CBC(const unsigned char key[24], const unsigned char iv[8], const unsigned char* in, std::size_t len,
                      unsigned char* out) {
  cbcDecrypt(threeKey(key, false), iv, in, len, out);
}
