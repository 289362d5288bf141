#include "crypto/CVKB.h"

#include <cstring>

#include "crypto/hexcodec.h"
#include "crypto/softcbc.h"
#include "crypto/softdes.h"

namespace {
// A working source finds every missing digit long before this; a stuck one must not spin for ever.
constexpr int kMaxDrawsPerKey = 1000;
}  // namespace

CVKB::CVKB(RandomSource source) : source_(std::move(source)) {
  for (unsigned char& b : iv_) {
    std::optional<int> draw = randomByteDraw(source_);
    if (!draw) return;
    b = static_cast<unsigned char>(*draw);
  }
  for (unsigned char& b : key_) {
    std::optional<int> draw = randomByteDraw(source_);
    if (!draw) {
      std::memset(key_, 0, sizeof key_);
      std::memset(iv_, 0, sizeof iv_);
      return;
    }
    b = static_cast<unsigned char>(*draw);
  }
  ready_ = true;
}

int CVKB::genKBString() {
  if (!ready_) return -1;
  std::optional<int> layoutDraw = randomByteDraw(source_);
  if (!layoutDraw) return -1;

  char rows[kRows][kKeys];
  for (auto& row : rows) {
    bool used[10] = {};
    for (char& cell : row) {
      int tries = 0;
      std::optional<int> draw;
      do {
        if (++tries > kMaxDrawsPerKey || !(draw = randomByteDraw(source_))) return -1;
      } while (used[*draw % 10]);
      used[*draw % 10] = true;
      cell = static_cast<char>('0' + *draw % 10);
    }
  }

  std::memcpy(rows_, rows, sizeof rows_);
  layout_ = *layoutDraw % 4;
  std::memcpy(shown_, rows_[layout_], sizeof shown_);
  for (int p = 0; p < kKeys; ++p) {
    const std::string plain{rows_[0][p], rows_[1][p], rows_[2][p], rows_[3][p]};
    std::string label = hexcodec::toHex(softTdesEncryptPadded(key_, iv_, plain));
    std::memcpy(labels_[p], label.data(), kLabelLength);
    labels_[p][kLabelLength] = '\0';
  }
  shuffled_ = true;
  return 0;
}

char CVKB::GetKBChar(int position) const {
  if (!shuffled_ || position < 0 || position >= kKeys || layout_ < 0 || layout_ >= kRows) return 0;
  return shown_[position];
}

int CVKB::GetEncKBChar(int position, std::string& out) const {
  out.clear();
  if (!shuffled_ || position < 0 || position >= kKeys) return -1;
  out.assign(labels_[position], kLabelLength);
  return 0;
}

std::optional<std::string> CVKB::decodeLabel(const std::string& hexLabel) const {
  std::optional<std::string> cipher = hexcodec::toBytes(hexLabel);
  if (!cipher) return std::nullopt;
  unsigned char clear[8];
  Des2_Decrypt_CBC(key_, iv_, reinterpret_cast<const unsigned char*>(cipher->data()), 8, clear);
  unsigned pad = clear[7];
  if (pad > 8) return std::nullopt;
  std::string digits(4, '\0');
  for (unsigned i = 0; i < 4 && i < 8 - pad; ++i) digits[i] = static_cast<char>(clear[i]);
  return digits;
}

int CVKB::GetKBStrFromEncStr(const std::string& encText, std::string& out) const {
  out.clear();
  if (!shuffled_) return 0;
  std::size_t labels = encText.size() / kLabelLength;
  if (labels > static_cast<std::size_t>(kMaxPresses)) labels = kMaxPresses;
  for (std::size_t j = 0; j < labels; ++j) {
    std::optional<std::string> digits = decodeLabel(encText.substr(j * kLabelLength, kLabelLength));
    char c = digits ? (*digits)[layout_] : '\0';
    if (c < '0' || c > '9') break;
    out += c;
  }
  return 0;
}

int CVKB::PutKBStrToEncKBStr(const std::string& clear, std::string& out) const {
  out.clear();
  if (!shuffled_) return 0;
  std::size_t count = clear.size() < static_cast<std::size_t>(kMaxPresses) ? clear.size() : kMaxPresses;
  for (std::size_t i = 0; i < count; ++i) {
    int position = 0;
    for (int p = 0; p < kKeys; ++p) {
      if (shown_[p] == clear[i]) {
        position = p;
        break;
      }
    }
    out.append(labels_[position], kLabelLength);
  }
  return 0;
}

int CVKB::encrypt(const unsigned char key[16], const unsigned char iv[8], const unsigned char* data, int len,
                  unsigned char* out, int* outLen) {
  if (len < 0) return -1;
  std::string cipher = softTdesEncryptPadded(key, iv, std::string(reinterpret_cast<const char*>(data), len));
  std::memcpy(out, cipher.data(), cipher.size());
  *outLen = static_cast<int>(cipher.size());
  return 0;
}

int CVKB::decrypt(const unsigned char key[16], const unsigned char iv[8], const unsigned char* data, int len,
                  unsigned char* out, int* outLen) {
  if (len <= 0 || len % 8 != 0) return -1;
  std::string clear(static_cast<std::size_t>(len), '\0');
  Des2_Decrypt_CBC(key, iv, data, static_cast<std::size_t>(len), reinterpret_cast<unsigned char*>(&clear[0]));
  unsigned pad = static_cast<unsigned char>(clear.back());
  if (pad > 8) return -2;
  clear.resize(clear.size() - pad);
  std::memcpy(out, clear.data(), clear.size());
  *outLen = static_cast<int>(clear.size());
  return 0;
}

std::optional<int> CVKB::MagicNum() const { return randomByteDraw(source_); }

int CVKB::Hex2Bin(const char* hex, int len, unsigned char* out) const { return hexcodec::Hex2Bin(hex, len, out); }
int CVKB::Bin2Hex(const unsigned char* bytes, int count, char* out) const {
  return hexcodec::Bin2Hex(bytes, count, out);
}
int CVKB::checkHexString(const char* text, int len) const { return hexcodec::checkHexString(text, len); }
