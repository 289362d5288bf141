// The client-authentication answer: proves to the bank's server that the genuine component is installed.
#include "ZododovuRavuVODCtrl.h"
#include "crypto/mac.h"
#include "crypto/rsaseal.h"
#include "crypto/tripledes.h"

// The component token the server expects in every answer.
const std::string ocxSHA1str = "Hk4nZp7Q";

namespace {
const char* const kInstallPath = "/Library/Internet Plug-Ins/npDUZIVUREZORO.plugin";
const char* const kClientFlag = "T";
}  // namespace

std::string ZododovuRavuVODCtrl::Cocx() { return ocxSHA1str; }

void ZododovuRavuVODCtrl::Challenge() {
  if (OptionData[0].empty()) return;
  std::string clear = DESDecrypt(OptionData[0] + "\n");
  clear = clear.substr(0, clear.find('\0'));
  std::string mac = HMAC_CR(clear);
  installPath = kInstallPath;
  clientFlag = kClientFlag;
  // Without a MAC or a seal there is no answer to give: the slot is left empty rather than
  // handing the page something the server cannot accept.
  if (mac.empty()) {
    LogMsg(2, "Challenge", "HMAC_CR() error.");
    OptionData[0].clear();
    return;
  }
  std::string answer = mac + ocxSHA1str + clientFlag + installPath;
  OptionData[0] = RSADataEncrypt(answer);
  if (OptionData[0].empty()) LogMsg(2, "Challenge", "RSADataEncrypt() error.");
}
