#include "crypto/ParseEncParam.h"

#include <cstring>
#include <stdexcept>

#include "card/TextHelpers.h"
#include "crypto/base64.h"
#include "crypto/charset.h"
#include "crypto/hexcodec.h"
#include "crypto/selectkey.h"
#include "crypto/softcbc.h"
#include "crypto/softdes.h"
#include "crypto/tripledes.h"

namespace {

// First 16 bytes of a joined key, decoded with the one-block decoder; empty when it does not decode.
std::string blockKey(const std::string& joined) {
  std::string key = base64DecodeBlock(joined);
  return key.size() >= 16 ? key.substr(0, 16) : std::string();
}

const unsigned char* u8(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

std::string upToNul(const std::string& s) { return s.substr(0, std::strlen(s.c_str())); }

}  // namespace

int CParseEncParam::GetParam_IV(const std::string& hexBlock5, unsigned char iv[8]) {
  std::memset(iv, 0, 8);
  std::optional<std::string> cipher = hexcodec::toBytes(hexBlock5);
  std::string key = blockKey(joinedDESKey());
  if (!cipher || cipher->size() < 8 || key.empty()) return -1;
  std::string clear(cipher->size() / 8 * 8, '\0');
  Des2_Decrypt_CBC(u8(key), kZeroTextIV, u8(*cipher), clear.size(), reinterpret_cast<unsigned char*>(&clear[0]));
  std::memcpy(iv, clear.data(), 8);
  return 0;
}

std::string CParseEncParam::GetStringFromEncData(const std::string& hexBlock, const unsigned char iv[8]) {
  std::string key = blockKey(joinedBHOKey());
  if (key.empty() || hexBlock.empty() || hexBlock.size() % 16 != 0) return std::string();
  std::optional<std::string> cipher = hexcodec::toBytes(hexBlock);
  if (!cipher) return std::string();
  std::optional<std::string> clear = softTdesDecryptPadded(u8(key), iv, *cipher);
  if (!clear) return std::string();
  if (needsCharsetConversion(*clear)) {
    if (std::optional<std::string> utf8 = convertCharset(*clear, "UTF-8", "BIG5")) return upToNul(*utf8);
  }
  return upToNul(*clear);
}

std::string CParseEncParam::SetStringToEncData(const std::string& clear, const unsigned char iv[8]) {
  std::string key = blockKey(joinedBHOKey());
  if (key.empty()) return std::string();
  return hexcodec::toHex(softTdesEncryptPadded(u8(key), iv, clear));
}

int CParseEncParam::Parse_BH_D0(const std::string& block) {
  SplitString_1(block.c_str(), '#', D0List);
  return 0;
}

int CParseEncParam::Parse_BH_D1(const std::string& block) {
  if (block.size() < 25) throw std::out_of_range("block 1 shorter than 25 characters");
  D1ReaderType = block.substr(0, 1);
  D1IssuerId = block.substr(1, 8);
  D1IssuerAccount = block.substr(9, 16);
  D1ReaderName = block.substr(25);
  return 0;
}

int CParseEncParam::Parse_BH_D2(const std::string& block) {
  D2SessionId = block;
  return 0;
}

int CParseEncParam::Parse_BH_D3(const std::string& block) {
  if (block.size() < 24) throw std::out_of_range("block 3 shorter than 24 characters");
  D3TerminalId = block.substr(0, 8);
  D3CheckCode = block.substr(8, 8);
  D3AgentNo = block.substr(16, 8);
  D3TransDateTime = block.substr(24, 14);
  if (block.size() > 38) D3CardAccount = block.substr(38, 8);
  return 0;
}

int CParseEncParam::Parse_BH_D4(const std::string& block) {
  D4PCode = block;
  return 0;
}
int CParseEncParam::Parse_BH_D6(const std::string& block) {
  SplitString_1(block.c_str(), '#', D6AgreeAccounts);
  return 0;
}
int CParseEncParam::Parse_BH_D7(const std::string& block) {
  SplitString_1(block.c_str(), '#', D7CommonAccounts);
  return 0;
}

int CParseEncParam::Parse_BH_D8(const std::string& block) {
  std::string amounts = block;
  trimRight(amounts, '#');
  std::size_t dollar = amounts.find('$');
  if (dollar == std::string::npos) {
    D8AgSelfAmt = "0";
    D8NagSelfAmt = amounts;
    return 0;
  }
  // "a$b": both amounts. A missing amount on either side of the "$" counts as "0".
  std::vector<std::string> pieces;
  SplitString_1(amounts.c_str(), '$', pieces);
  if (pieces.size() >= 2) {
    D8AgSelfAmt = pieces[0];
    D8NagSelfAmt = pieces[1];
  } else {
    std::string only = pieces.empty() ? "0" : pieces[0];
    D8AgSelfAmt = dollar == 0 ? "0" : only;
    D8NagSelfAmt = dollar == 0 ? only : "0";
  }
  return 0;
}

int CParseEncParam::Parse_BH_D9(const std::string& block) {
  SplitString_1(block.c_str(), '#', D9BookEntries);
  return 0;
}
int CParseEncParam::Parse_BH_D10(const std::string& block) {
  D10CountLimit = block;
  return 0;
}

int CParseEncParam::SplitString_1(const char* text, char sep, std::vector<std::string>& list) {
  list.clear();
  if (!text) return 0;
  std::string piece;
  for (std::size_t i = 0; text[i] != '\0'; ++i) {
    if (text[i] != sep) {
      piece += text[i];
    } else if (i > 0) {
      list.push_back(piece);
      piece.clear();
    }
  }
  if (!piece.empty()) list.push_back(piece);
  return static_cast<int>(list.size());
}

int CParseEncParam::SplitString(const std::string& text, const std::string& sep, std::vector<std::string>& list) {
  if (sep.empty() || sep.size() > text.size()) return 0;
  int found = 0;
  std::size_t start = 0;
  for (std::size_t pos = text.find(sep); pos != std::string::npos; pos = text.find(sep, start)) {
    if (pos > start) list.push_back(text.substr(start, pos - start));
    start = pos + sep.size();
    ++found;
  }
  if (found > 0 && start < text.size()) list.push_back(text.substr(start));
  return found;
}

int CParseEncParam::Hex2Bin(const char* hex, int len, unsigned char* out) { return hexcodec::Hex2Bin(hex, len, out); }
int CParseEncParam::Bin2Hex(const unsigned char* bytes, int count, char* out) {
  return hexcodec::Bin2Hex(bytes, count, out);
}
int CParseEncParam::checkHexString(const char* text, int len) { return hexcodec::checkHexString(text, len); }
