// The request envelope: Big5 when needed, MAC appended, Triple-DES under a fresh session number, and
// the session number sealed with the server's public key.
#include <optional>

#include "ZododovuRavuVODCtrl.h"
#include "crypto/charset.h"
#include "crypto/mac.h"
#include "crypto/random.h"
#include "crypto/rsaseal.h"
#include "crypto/tripledes.h"

namespace {

// UTF-8 to Big5 when the text holds anything but printable ASCII; a failed conversion keeps the text.
std::string inBig5IfNeeded(const std::string& text) {
  if (!needsCharsetConversion(text)) return text;
  std::optional<std::string> big5 = convertCharset(text, "BIG5", "UTF-8");
  if (!big5) return text;
  return big5->substr(0, big5->find('\0'));
}

std::string upToNul(const std::string& text) { return text.substr(0, text.find('\0')); }

}  // namespace

std::string ZododovuRavuVODCtrl::getSessionNo() { return ::getSessionNo(); }

std::string ZododovuRavuVODCtrl::runCrypto(const std::string& text) {
  std::string request = inBig5IfNeeded(text);
  std::string mac = HMAC_Data(request);
  if (mac.empty()) {
    LogMsg(2, "runCrypto", "HMAC_Data() error.");
    return std::string();
  }
  std::string sessionNo = getSessionNo();
  if (sessionNo.size() != 16) {
    LogMsg(2, "runCrypto", "getSessionNo() error.");
    return std::string();
  }
  std::string cipher = DESEncrypt(upToNul(request + mac), sessionNo);
  if (cipher.empty()) {
    LogMsg(2, "runCrypto", "DESEncrypt() error.");
    return std::string();
  }
  std::string sealedKey = RSADataEncrypt(sessionNo);
  if (sealedKey.empty()) {
    LogMsg(2, "runCrypto", "RSADataEncrypt() error.");
    return std::string();
  }
  return cipher + "%" + sealedKey;
}

long ZododovuRavuVODCtrl::sealRequest(const std::string& request) {
  TrnsMsg = runCrypto(request);
  lastResult = TrnsMsg.empty() ? rc::kSealFailed : rc::kOk;
  return lastResult;
}
