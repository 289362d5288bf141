#include "crypto/gpdes.h"

#include <cstring>

#include "crypto/softdes.h"

void GP_SDES(int mode, const unsigned char key[8], const unsigned char in[8], unsigned char out[8]) {
  soft_des(mode == 1 ? 1 : 0, key, in, out);
}

namespace {

// K1, K2, K3 of a 16- or 24-byte key (K3 = K1 for 16).
void splitKey(int keyLength, const unsigned char* key, const unsigned char* parts[3]) {
  parts[0] = key;
  parts[1] = key + 8;
  parts[2] = keyLength == 24 ? key + 16 : key;
}

void edeEncrypt(const unsigned char* const k[3], const unsigned char in[8], unsigned char out[8]) {
  unsigned char a[8], b[8];
  soft_des(1, k[0], in, a);
  soft_des(0, k[1], a, b);
  soft_des(1, k[2], b, out);
}

void dedDecrypt(const unsigned char* const k[3], const unsigned char in[8], unsigned char out[8]) {
  unsigned char a[8], b[8];
  soft_des(0, k[2], in, a);
  soft_des(1, k[1], a, b);
  soft_des(0, k[0], b, out);
}

}  // namespace

void GP_DES(int mode, int keyLength, const unsigned char* key, const unsigned char in[8], unsigned char* out) {
  if (keyLength == 8) {
    if (mode == 0 || mode == 1) soft_des(mode, key, in, out);
    return;
  }
  if (keyLength != 16 && keyLength != 24) return;
  if (mode == 2) {
    for (int part = 0; part < keyLength / 8; ++part) soft_des(0, key + 8 * part, in, out + 8 * part);
    return;
  }
  const unsigned char* k[3];
  splitKey(keyLength, key, k);
  if (mode == 1)
    edeEncrypt(k, in, out);
  else
    dedDecrypt(k, in, out);
}

void GP_MAC(int keyLength, const unsigned char* key, const unsigned char iv[8], std::size_t n,
            const unsigned char* data, unsigned char mac[8]) {
  unsigned char running[8];
  std::memcpy(running, iv, 8);
  const unsigned char* k[3];
  if (keyLength != 8) splitKey(keyLength, key, k);
  for (std::size_t off = 0; off < n; off += 8) {
    unsigned char block[8] = {0};
    std::memcpy(block, data + off, n - off < 8 ? n - off : 8);
    for (int i = 0; i < 8; ++i) block[i] ^= running[i];
    if (keyLength == 8)
      soft_des(1, key, block, running);
    else
      edeEncrypt(k, block, running);
  }
  std::memcpy(mac, running, 8);
}
