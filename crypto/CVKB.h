// Model of the scrambled on-screen keypad: shuffled digit rows, and per key position a label enciphered
// under a key and IV drawn for this object. Key presses are kept only as labels until decoded here.
#ifndef RVP_CRYPTO_CVKB_H
#define RVP_CRYPTO_CVKB_H

#include <optional>
#include <string>

#include "crypto/random.h"

class CVKB {
 public:
  static constexpr int kKeys = 10;
  static constexpr int kRows = 4;
  static constexpr int kLabelLength = 16;
  static constexpr int kMaxPresses = 16;

  // Draws the IV and then the key from the source. When the source fails the keypad is not ready:
  // genKBString reports the failure and no label is ever made with a predictable key.
  explicit CVKB(RandomSource source = currentRandomSource());
  virtual ~CVKB() = default;

  bool isReady() const { return ready_; }

  // New layout, digit rows, shown row and labels. 0, or -1 when the random source fails (the previous
  // layout and labels stay as they were).
  int genKBString();

  // The digit shown on a key position; 0 for a position outside 0-9 or before the first shuffle.
  char GetKBChar(int position) const;
  // The 16 label characters of a key position; -1 (out cleared) for a position outside 0-9 or before
  // the first shuffle.
  int GetEncKBChar(int position, std::string& out) const;
  // One digit per whole label of the enciphered text (at most 16), read under the present layout.
  // Reading stops at the first label that is not one of this keypad's.
  int GetKBStrFromEncStr(const std::string& encText, std::string& out) const;
  // 16 label characters per digit of the text (at most 16 digits); a character not shown on any key
  // takes the label of position 0.
  int PutKBStrToEncKBStr(const std::string& clear, std::string& out) const;

  // Padded two-key triple-DES CBC; out needs room for len + 8 bytes.
  static int encrypt(const unsigned char key[16], const unsigned char iv[8], const unsigned char* data, int len,
                     unsigned char* out, int* outLen);
  // 0 with the unpadded clear bytes, -2 when the last clear byte is above 8, -1 for a partial block.
  static int decrypt(const unsigned char key[16], const unsigned char iv[8], const unsigned char* data, int len,
                     unsigned char* out, int* outLen);

  std::optional<int> MagicNum() const;

  int Hex2Bin(const char* hex, int len, unsigned char* out) const;
  int Bin2Hex(const unsigned char* bytes, int count, char* out) const;
  int checkHexString(const char* text, int len) const;

 private:
  std::optional<std::string> decodeLabel(const std::string& hexLabel) const;

  RandomSource source_;
  bool ready_ = false;
  bool shuffled_ = false;
  char rows_[kRows][kKeys] = {};
  int layout_ = 0;
  unsigned char key_[16] = {};
  unsigned char iv_[8] = {};
  char labels_[kKeys][kLabelLength + 1] = {};
  char shown_[kKeys] = {};
};

#endif
