// The bank's side, written from the description of the messages on the OpenSSL EVP interface alone:
// it shares no code with the plug-in's crypto/, so a change there that breaks the messages cannot
// pass unnoticed by being made on both sides at once.
//
// Request envelope (TrnsMsg): BASE64LINE(3DES-CBC(session, IV, request + MACTEXT)) "%" RSAPIECE "%".
// - request: the request XML, in Big5 when it holds non-ASCII text.
// - MACTEXT: base64 (28 characters and "\n") of HMAC-SHA1 under the 16-byte request MAC key over bytes
//   32 to 61 of the request, up to the first zero byte among them.
// - session: 16 characters, used as they stand as the two-key Triple-DES key; IV the eight ASCII
//   characters "00000000"; PKCS padding.
// - RSAPIECE: base64 (lines of 64 characters, each ended by "\n") of the session number under the
//   server's RSA-1024 public key, PKCS#1 v1.5 padding.
#include "tools/banktool/banktool.h"

#include <iconv.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <vector>

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include RVP_KEY_FILE_INCLUDE

namespace banktool {
namespace {

using Bytes = std::string;

const unsigned char kIv[8] = {'0', '0', '0', '0', '0', '0', '0', '0'};
constexpr std::size_t kMacTextLength = 29;  // 28 base64 characters and "\n"
constexpr std::size_t kRequestMacFrom = 32, kRequestMacLength = 30;
constexpr std::size_t kChallengeMacLength = 10;

const unsigned char* u8(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

// ---- base64 ----

std::string base64Line(const Bytes& bytes) {
  std::vector<unsigned char> out(4 * ((bytes.size() + 2) / 3) + 1);
  const int n = EVP_EncodeBlock(out.data(), u8(bytes), static_cast<int>(bytes.size()));
  return std::string(reinterpret_cast<char*>(out.data()), n > 0 ? static_cast<std::size_t>(n) : 0);
}

// Base64 in either shape: one line, or lines ended by "\n" (or "\r\n").
std::optional<Bytes> fromBase64(const std::string& text) {
  std::string joined;
  for (char c : text)
    if (c != '\n' && c != '\r') joined += c;
  if (joined.empty() || joined.size() % 4 != 0) return std::nullopt;
  std::vector<unsigned char> out(joined.size() / 4 * 3);
  const int n = EVP_DecodeBlock(out.data(), u8(joined), static_cast<int>(joined.size()));
  if (n < 0) return std::nullopt;
  std::size_t padding = 0;
  if (joined[joined.size() - 1] == '=') ++padding;
  if (joined[joined.size() - 2] == '=') ++padding;
  return Bytes(reinterpret_cast<char*>(out.data()), static_cast<std::size_t>(n) - padding);
}

// ---- keys ----

// A 16-byte key from its three base64 pieces.
Bytes symmetricKey(const char* first, const char* second, const char* third) {
  std::optional<Bytes> key = fromBase64(std::string(first) + second + third);
  return key && key->size() >= 16 ? key->substr(0, 16) : Bytes();
}
Bytes requestMacKey() { return symmetricKey(RVP_KEY_MACI, RVP_KEY_MACII, RVP_KEY_MACIII); }
Bytes challengeMacKey() { return symmetricKey(RVP_KEY_CRI, RVP_KEY_CRII, RVP_KEY_CRIII); }
Bytes parameterKey() { return symmetricKey(RVP_KEY_BHOI, RVP_KEY_BHOII, RVP_KEY_BHOIII); }
Bytes challengeKey() { return symmetricKey(RVP_KEY_DESI, RVP_KEY_DESII, RVP_KEY_DESIII); }

using PKey = std::unique_ptr<EVP_PKEY, void (*)(EVP_PKEY*)>;

PKey privateKey(const std::string& pem) {
  std::unique_ptr<BIO, int (*)(BIO*)> source(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())), BIO_free);
  return PKey(source ? PEM_read_bio_PrivateKey(source.get(), nullptr, nullptr, nullptr) : nullptr, EVP_PKEY_free);
}

// ---- primitives ----

// HMAC-SHA1 as its mac text: 28 base64 characters and "\n".
std::string macText(const Bytes& key, const Bytes& input) {
  unsigned char mac[EVP_MAX_MD_SIZE];
  std::size_t length = 0;
  if (key.size() != 16 || !EVP_Q_mac(nullptr, "HMAC", nullptr, "SHA1", nullptr, key.data(), key.size(), u8(input),
                                     input.size(), mac, sizeof mac, &length))
    return std::string();
  return base64Line(Bytes(reinterpret_cast<char*>(mac), length)) + "\n";
}

// `count` bytes from `from`, up to the first zero byte among them.
Bytes macInput(const std::string& text, std::size_t from, std::size_t count) {
  if (from >= text.size()) return Bytes();
  Bytes window = text.substr(from, count);
  return window.substr(0, window.find('\0'));
}

std::optional<Bytes> tripleDes(bool encrypt, const Bytes& key, const unsigned char iv[8], const Bytes& data,
                               bool padding) {
  if (key.size() != 16) return std::nullopt;
  std::unique_ptr<EVP_CIPHER_CTX, void (*)(EVP_CIPHER_CTX*)> ctx(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
  if (!ctx || EVP_CipherInit_ex(ctx.get(), EVP_des_ede_cbc(), nullptr, u8(key), iv, encrypt ? 1 : 0) != 1)
    return std::nullopt;
  EVP_CIPHER_CTX_set_padding(ctx.get(), padding ? 1 : 0);
  std::vector<unsigned char> out(data.size() + 16);
  int n = 0, tail = 0;
  if (EVP_CipherUpdate(ctx.get(), out.data(), &n, u8(data), static_cast<int>(data.size())) != 1 ||
      EVP_CipherFinal_ex(ctx.get(), out.data() + n, &tail) != 1)
    return std::nullopt;
  return Bytes(reinterpret_cast<char*>(out.data()), static_cast<std::size_t>(n + tail));
}

std::optional<Bytes> rsaDecrypt(EVP_PKEY* key, const Bytes& cipher) {
  std::unique_ptr<EVP_PKEY_CTX, void (*)(EVP_PKEY_CTX*)> ctx(EVP_PKEY_CTX_new(key, nullptr), EVP_PKEY_CTX_free);
  if (!ctx || EVP_PKEY_decrypt_init(ctx.get()) <= 0 || EVP_PKEY_CTX_set_rsa_padding(ctx.get(), RSA_PKCS1_PADDING) <= 0)
    return std::nullopt;
  std::size_t length = 0;
  if (EVP_PKEY_decrypt(ctx.get(), nullptr, &length, u8(cipher), cipher.size()) <= 0) return std::nullopt;
  std::vector<unsigned char> out(length);
  if (EVP_PKEY_decrypt(ctx.get(), out.data(), &length, u8(cipher), cipher.size()) <= 0) return std::nullopt;
  return Bytes(reinterpret_cast<char*>(out.data()), length);
}

std::string upperHex(const Bytes& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char b : bytes) hex += {digits[b >> 4], digits[b & 0x0F]};
  return hex;
}

// ---- text ----

// Whether the bank's side sends (or reads) the text in Big5: anything but printable ASCII, line feeds
// and 0xFF bytes.
bool needsBig5(const std::string& text) {
  for (unsigned char c : text)
    if (c != 0x0A && c != 0xFF && (c < 0x20 || c > 0x7E)) return true;
  return false;
}

std::optional<std::string> convert(const std::string& text, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(text.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* at = out.data();
  std::size_t outLeft = out.size();
  const std::size_t rv = iconv(cd, &in, &inLeft, &at, &outLeft);
  iconv_close(cd);
  if (rv == static_cast<std::size_t>(-1)) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

std::string hexOfParameter(const Bytes& key, const unsigned char iv[8], const Bytes& clear, bool padding) {
  std::optional<Bytes> cipher = tripleDes(true, key, iv, clear, padding);
  return cipher ? upperHex(*cipher) : std::string();
}

}  // namespace

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::string();
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string devPrivateKeyPem() { return readFile(RVP_DEV_PRIVATE_KEY_FILE); }

bool unsealRsaPieces(const std::string& sealed, const std::string& privateKeyPem, std::string& clear,
                     std::string& error) {
  clear.clear();
  PKey key = privateKey(privateKeyPem);
  if (!key) return error = "the private key cannot be read", false;
  if (sealed.empty() || sealed.back() != '%') return error = "the sealed text does not end with \"%\"", false;
  std::size_t start = 0;
  for (std::size_t end = sealed.find('%'); end != std::string::npos; end = sealed.find('%', start)) {
    std::optional<Bytes> cipher = fromBase64(sealed.substr(start, end - start));
    std::optional<Bytes> piece = cipher ? rsaDecrypt(key.get(), *cipher) : std::nullopt;
    if (!piece) return error = "an RSA piece does not decipher", false;
    clear += *piece;
    start = end + 1;
  }
  return true;
}

OpenedEnvelope openEnvelope(const std::string& trnsMsg, const std::string& privateKeyPem) {
  OpenedEnvelope env;
  const std::size_t split = trnsMsg.find('%');
  if (split == std::string::npos) return env.error = "no \"%\" after the cipher text", env;
  if (!unsealRsaPieces(trnsMsg.substr(split + 1), privateKeyPem, env.sessionNumber, env.error)) return env;
  if (env.sessionNumber.size() != 16) return env.error = "the session number is not 16 characters", env;

  std::optional<Bytes> cipher = fromBase64(trnsMsg.substr(0, split));
  std::optional<Bytes> body = cipher ? tripleDes(false, env.sessionNumber, kIv, *cipher, true) : std::nullopt;
  if (!body) return env.error = "the body does not decipher under the session number", env;
  if (body->size() < kMacTextLength) return env.error = "the body is shorter than its MAC", env;

  env.rawText = body->substr(0, body->size() - kMacTextLength);
  env.mac = body->substr(body->size() - kMacTextLength);
  const std::string expected = macText(requestMacKey(), macInput(env.rawText, kRequestMacFrom, kRequestMacLength));
  env.macOk = !expected.empty() && env.mac == expected;
  env.text = env.rawText;
  if (needsBig5(env.rawText)) {
    if (std::optional<std::string> utf8 = convert(env.rawText, "UTF-8", "BIG5")) env.text = *utf8;
  }
  env.ok = true;
  return env;
}

ChallengeAnswer decodeChallengeAnswer(const std::string& answer, const std::string& clearChallenge,
                                      const std::string& privateKeyPem) {
  ChallengeAnswer out;
  if (!unsealRsaPieces(answer, privateKeyPem, out.clear, out.error)) return out;
  if (out.clear.size() != 86) return out.error = "the answer is not 86 bytes", out;
  out.mac = out.clear.substr(0, kMacTextLength);
  out.token = out.clear.substr(29, 8);
  out.clientFlag = out.clear.substr(37, 1);
  out.installPath = out.clear.substr(38);
  const std::string expected = macText(challengeMacKey(), macInput(clearChallenge, 0, kChallengeMacLength));
  out.macOk = !expected.empty() && out.mac == expected;
  out.ok = true;
  return out;
}

std::string makeChallenge(const std::string& clearChallenge) {
  std::optional<Bytes> cipher = tripleDes(true, challengeKey(), kIv, clearChallenge, true);
  return cipher ? base64Line(*cipher) : std::string();
}

std::string makeIvBlock(const unsigned char iv[8]) {
  return hexOfParameter(challengeKey(), kIv, Bytes(reinterpret_cast<const char*>(iv), 8), true);
}

std::string makeParamBlock(const std::string& text, const unsigned char iv[8]) {
  std::string sent = text;
  if (needsBig5(text)) {
    if (std::optional<std::string> big5 = convert(text, "BIG5", "UTF-8")) sent = *big5;
  }
  return hexOfParameter(parameterKey(), iv, sent, true);
}

std::string makeRawParamBlock(const std::string& clearBlocks, const unsigned char iv[8]) {
  if (clearBlocks.empty() || clearBlocks.size() % 8 != 0) return std::string();
  return hexOfParameter(parameterKey(), iv, clearBlocks, false);
}

OpenedPageText openPageText(const std::string& hex, const unsigned char iv[8]) {
  OpenedPageText opened;
  if (hex.empty() || hex.size() % 16 != 0) return opened;
  Bytes cipher;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = std::isxdigit(static_cast<unsigned char>(hex[i])) ? std::stoi(hex.substr(i, 1), nullptr, 16) : -1;
    const int low =
        std::isxdigit(static_cast<unsigned char>(hex[i + 1])) ? std::stoi(hex.substr(i + 1, 1), nullptr, 16) : -1;
    if (high < 0 || low < 0) return opened;
    cipher += static_cast<char>(high * 16 + low);
  }
  std::optional<Bytes> clear = tripleDes(false, parameterKey(), iv, cipher, true);
  if (!clear) return opened;
  opened.ok = true;
  opened.text = *clear;
  return opened;
}

}  // namespace banktool
