// Files and records of the payment application: selections, record writes, account lists and the PIN.
#include <cstring>

#include "ZododovuRavuVODCtrl.h"
#include "card/FISC.h"
#include "card/GP.h"
#include "transactions/TransactionRecords.h"

namespace {
constexpr unsigned kSwOk = 0x9000;
// Longest record data the page may hand over as hex text (128 bytes).
constexpr std::size_t kMaxRecordHex = 256;

// PIN block: the digits left-aligned in sixteen 'F's, packed to 8 bytes.
void pinBlock(const std::string& pin, unsigned char block[8]) {
  std::string digits(16, 'F');
  digits.replace(0, pin.size() < 16 ? pin.size() : 16, pin.substr(0, 16));
  GP_PackData(digits.c_str(), digits.size(), block, 8);
}

// A file identifier: its first 4 hex characters packed to 2 bytes.
struct FileId {
  explicit FileId(const std::string& hex) {
    GP_PackData(hex.c_str(), hex.size() < 4 ? hex.size() : 4, bytes, sizeof bytes);
  }
  unsigned char bytes[2] = {};
};

// The first byte of a hex text (record number, length); 0 for an empty text.
unsigned char firstByte(const std::string& hex) {
  unsigned char byte = 0;
  GP_PackData(hex.c_str(), hex.size() < 2 ? hex.size() : 2, &byte, 1);
  return byte;
}

// A remark as upper-case hex, trailing blanks removed.
std::string hexWithoutTrailingBlanks(const unsigned char* bytes, std::size_t count) {
  std::string hex = GP_UnpackData(bytes, count);
  std::size_t end = hex.find_last_not_of(' ');
  return end == std::string::npos ? std::string() : hex.substr(0, end + 1);
}

// Text of `width` bytes from offset 2 of a record, ending at the first zero byte.
std::string recordText(const unsigned char* data, int length, std::size_t width) {
  if (length <= 2) return std::string();
  std::size_t available = static_cast<std::size_t>(length) - 2;
  const char* text = reinterpret_cast<const char*>(data + 2);
  return std::string(text, strnlen(text, width < available ? width : available));
}
}  // namespace

long ZododovuRavuVODCtrl::selectFile(const char* efid) {
  baEFID = efid;
  if (SelectEF() != 0) LogMsg(2, "selectFile", "FISC_SelectEF() error with error code:[0x%08x].", lastResult);
  return lastResult;
}

long ZododovuRavuVODCtrl::readRecordWhole(int record, unsigned char* data, std::size_t room, int& length) {
  return readRecordWith(record, 0, data, room, length);
}

long ZododovuRavuVODCtrl::readRecordWith(int record, unsigned char le, unsigned char* data, std::size_t room,
                                         int& length) {
  std::memset(data, 0, room);
  unsigned char received = 0;
  swRaw = 0;
  lastResult = static_cast<long>(
      FISC_ReadRecord(hCard, static_cast<unsigned char>(record), le, data, room, &received, &swRaw));
  length = received;
  if (lastResult != 0) LogMsg(2, "readRecord", "FISC_ReadRecord() error with error code:[0x%08x].", lastResult);
  return lastResult;
}

long ZododovuRavuVODCtrl::SelectParentDF() {
  swRaw = 0;
  lastResult = static_cast<long>(FISC_SelectParentDF(hCard, &swRaw));
  uiSW12 = swRaw;
  return lastResult;
}

long ZododovuRavuVODCtrl::SelectDF() {
  FileId fid(baDFID);
  swRaw = 0;
  lastResult = static_cast<long>(FISC_SelectDF(hCard, fid.bytes, &swRaw));
  uiSW12 = swRaw;
  return lastResult;
}

long ZododovuRavuVODCtrl::SelectEF() {
  FileId fid(baEFID);
  swRaw = 0;
  lastResult = static_cast<long>(FISC_SelectEF(hCard, fid.bytes, &swRaw));
  uiSW12 = swRaw;
  return lastResult;
}

long ZododovuRavuVODCtrl::UpdateRecord() {
  if (baBuf.size() > kMaxRecordHex) {
    lastResult = rc::kInputMissing;
    return lastResult;
  }
  unsigned char data[256] = {};
  GP_PackData(baBuf.c_str(), baBuf.size(), data, sizeof data);
  swRaw = 0;
  lastResult = static_cast<long>(FISC_UpdateRecord(hCard, firstByte(bRecID), firstByte(bLen), data, &swRaw));
  uiSW12 = swRaw;
  return lastResult;
}

long ZododovuRavuVODCtrl::WriteRecordWithSNUMTAC() {
  if (baBuf.size() > kMaxRecordHex) {
    lastResult = rc::kInputMissing;
    return lastResult;
  }
  baEFID = "1080";
  FileId p1p2(baEFID);
  unsigned char data[256] = {};
  GP_PackData(baBuf.c_str(), baBuf.size(), data, sizeof data);
  unsigned char response[256] = {};
  unsigned char received = 0;
  swRaw = 0;
  lastResult = static_cast<long>(FISC_WriteRecordWithSNUMTAC(hCard, p1p2.bytes, firstByte(bLen), data, response,
                                                             sizeof response, &received, &swRaw));
  uiSW12 = swRaw;
  if (lastResult != 0 || swRaw != kSwOk) return lastResult;
  // The answer must hold the serial number, the TAC length and all the TAC it announces, of which the
  // first 8 bytes are kept: a shorter TAC or a TAC cut off by the end of the answer is refused.
  unsigned tacLength = (static_cast<unsigned>(response[9]) << 8) | response[10];
  if (tacLength < 8 || received < 11 + tacLength) {
    LogMsg(2, "WriteRecordWithSNUMTAC", "answer too short:[%d] TAC length:[%d].", received, tacLength);
    lastResult = rc::kWriteFailed;
    return lastResult;
  }
  const char* serial = reinterpret_cast<const char*>(response + 1);
  baSN = std::string(serial, strnlen(serial, 8));
  baTSAC = GP_UnpackData(response + 11, 8);
  return lastResult;
}

long ZododovuRavuVODCtrl::readAccountList(int firstRecord, int width,
                                          std::array<std::string, 8>& list, int& count) {
  unsigned char data[256];
  int length = 0;
  int n = 0;
  const std::string allZeros(static_cast<std::size_t>(width), '0');
  for (int record = firstRecord; record < firstRecord + 8; ++record) {
    if (readRecordWhole(record, data, sizeof data, length) != 0 || swRaw != kSwOk) {
      lastResult = rc::kRecordUnreadable;
      continue;
    }
    std::string account = recordText(data, length, static_cast<std::size_t>(width));
    for (char& c : account)
      if (c == ' ') c = '0';
    if (account.empty() || account == allZeros) continue;
    list[static_cast<std::size_t>(n++)] = account;
  }
  count = n;
  uiSW12 = swRaw;
  return lastResult;
}

long ZododovuRavuVODCtrl::CardAccounts() {
  if (selectFile("1001") != 0 || swRaw != kSwOk) {
    iNoA = 0;
    return lastResult;
  }
  return readAccountList(3, 16, baAccount, iNoA);
}

long ZododovuRavuVODCtrl::AppnAccounts() {
  if (selectFile("1002") != 0 || swRaw != kSwOk) return lastResult;
  return readAccountList(1, 24, baAppnAccount, iNoAP);
}

long ZododovuRavuVODCtrl::ListAccounts() {
  if (selectFile("1001") != 0) {
    iNoA = 0;
    return lastResult;
  }
  unsigned char data[256];
  int length = 0;
  auto readWith = [&](int record, unsigned char le) {
    return readRecordWith(record, le, data, sizeof data, length) == 0 && swRaw == kSwOk;
  };
  if (readWith(1, 0)) baAccount[0] = recordText(data, length, 8);
  if (readWith(2, 48)) baAccount[1] = recordText(data, length, 30);
  int n = 0;
  for (int record = 3; record <= 7 && readWith(record, 22); ++record)
    baAccount[static_cast<std::size_t>(2 + n++)] = recordText(data, length, 16);
  iNoA = n;
  uiSW12 = swRaw;
  return lastResult;
}

long ZododovuRavuVODCtrl::verifyPinBlock(const std::string& pin) {
  unsigned char block[8];
  pinBlock(pin, block);
  swRaw = 0;
  lastResult = static_cast<long>(FISC_VerifyPIN(hCard, 0x10, block, &swRaw));
  uiSW12 = swRaw;
  if (lastResult != 0) {
    LogMsg(2, "VerifyPIN", "FISC_VerifyPIN() error with error code:[0x%08x].", lastResult);
    return lastResult;
  }
  return swRaw == kSwOk ? 0 : static_cast<long>(swRaw);
}

long ZododovuRavuVODCtrl::VerifyPIN() {
  lastResult = verifyPinBlock(baPIN);
  return lastResult;
}

long ZododovuRavuVODCtrl::ChangePassword() {
  if (selectFile("00C2") != 0 || swRaw != kSwOk) return lastResult;
  unsigned char block[8];
  pinBlock(baNewPIN, block);
  swRaw = 0;
  lastResult = static_cast<long>(FISC_UpdateRecord(hCard, 1, 8, block, &swRaw));
  uiSW12 = swRaw;
  return lastResult;
}

// ---- issuer getters: they read EF 1001 of the card in the current session ----

long ZododovuRavuVODCtrl::readIssuerRecord(int record, unsigned char* data, std::size_t room, int& length) {
  if (selectFile("1001") != 0 || swRaw != kSwOk) return lastResult != 0 ? lastResult : -1;
  if (readRecordWhole(record, data, room, length) != 0 || swRaw != kSwOk) return lastResult != 0 ? lastResult : -1;
  return 0;
}

std::string ZododovuRavuVODCtrl::GetIssuerId() {
  unsigned char data[256];
  int length = 0;
  if (readIssuerRecord(1, data, sizeof data, length) != 0) return std::string();
  return recordText(data, length, 8);
}

std::string ZododovuRavuVODCtrl::GetIssuerAccount() {
  unsigned char data[256];
  int length = 0;
  if (readIssuerRecord(3, data, sizeof data, length) != 0) return std::string();
  return recordText(data, length, 16);
}

std::string ZododovuRavuVODCtrl::GetIssuerRemark() {
  unsigned char data[256];
  int length = 0;
  if (readIssuerRecord(2, data, sizeof data, length) != 0 || length < 2) return std::string();
  std::size_t valueLength = data[1] > 127 ? 127 : data[1];
  std::size_t available = static_cast<std::size_t>(length) - 2;
  if (valueLength > available) valueLength = available;
  return hexWithoutTrailingBlanks(data + 2, valueLength);
}

// ---- the card identity every card step starts from ----

long ZododovuRavuVODCtrl::getCardInfo(stCardInfo& out, std::string accountIndex) {
  if (selectFile("1001") != 0) return lastResult;
  if (swRaw != kSwOk) return 0;
  unsigned char data[256];
  int length = 0;
  auto read = [&](int record) {
    if (readRecordWhole(record, data, sizeof data, length) != 0 || swRaw != kSwOk || length < 2) {
      lastResult = rc::kRecordUnreadable;
      return false;
    }
    return true;
  };
  if (!read(1)) return lastResult;
  out.sIssueNo = recordText(data, length, 8);
  if (!read(2)) return lastResult;
  out.sRemark = hexWithoutTrailingBlanks(data + 2, 30);
  if (!read(3)) return lastResult;
  out.sMainAccount = recordText(data, length, 16);
  // Index 1 is the main account (record 3) ... index 8 record 10; any other index reads record 3.
  long index = std::strtol(accountIndex.c_str(), nullptr, 10);
  int record = (index >= 1 && index <= 8) ? static_cast<int>(index) + 2 : 3;
  if (!read(record)) return lastResult;
  out.sAccount = recordText(data, length, 16);
  uiSW12 = swRaw;
  return lastResult;
}

long ZododovuRavuVODCtrl::getICCID(stTaxOut& out) {
  if (selectFile("0001") != 0) return lastResult;
  if (swRaw != kSwOk) return 0;
  unsigned char data[256];
  int length = 0;
  if (readRecordWhole(2, data, sizeof data, length) != 0 || swRaw != kSwOk || length < 2) {
    lastResult = rc::kRefused;
  } else {
    out.sICCSerial = recordText(data, length, 10);
  }
  uiSW12 = swRaw;
  return lastResult;
}

// A dialog's PIN check: lastResult keeps the PC/SC result, the refusal is only returned.
int ZododovuRavuVODCtrl::InnerVerifyPIN(const char* pin, CardHandle cardHandle) {
  hCard = cardHandle;
  return static_cast<int>(verifyPinBlock(pin ? pin : ""));
}
