// Files and records of the payment application: selections, record writes, account lists and the PIN.
#include <cstring>
#include <optional>
#include <string_view>

#include "ZododovuRavuVODCtrl.h"
#include "card/CardAnswer.h"
#include "card/CardBuffers.h"
#include "card/FISC.h"
#include "card/GP.h"
#include "card/PinBlock.h"
#include "transactions/TransactionRecords.h"

namespace {
// Longest record data the page may hand over as hex text (128 bytes).
constexpr std::size_t kMaxRecordHex = 256;

// A PIN the card can be given: 1 to 16 ASCII digits. Packed as it stands, any other character would
// become a nibble of some digit and a 17th digit would be cut off.
bool isPinText(std::string_view pin) {
  return !pin.empty() && pin.size() <= 16 && pin.find_first_not_of("0123456789") == std::string_view::npos;
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

// Text of `width` bytes of a record's value, ending at the first zero byte; nothing when the record's
// length byte does not fit the answer or announces fewer than `width` bytes.
std::optional<std::string> recordText(const unsigned char* data, int length, std::size_t width) {
  const std::optional<RecordValue> value = recordValue(data, length < 0 ? 0 : static_cast<std::size_t>(length), width);
  if (!value) return std::nullopt;
  const char* text = reinterpret_cast<const char*>(value->bytes);
  return std::string(text, strnlen(text, width));
}

// Card texts that go into a request are printable ASCII (bank ids and account numbers).
bool printable(const std::string& text) {
  for (char c : text)
    if (c < 0x20 || c > 0x7E) return false;
  return true;
}
}  // namespace

long ZododovuRavuVODCtrl::selectFile(const char* efid) {
  baEFID = efid;
  if (SelectEF() != 0) cardCallFailed("selectFile", "FISC_SelectEF()", lastResult);
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
  lastResult =
      static_cast<long>(FISC_ReadRecord(hCard, static_cast<unsigned char>(record), le, data, room, &received, &swRaw));
  length = received;
  if (lastResult != 0) cardCallFailed("readRecord", "FISC_ReadRecord()", lastResult);
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
  // Of the TAC, the first 8 bytes are kept.
  const std::optional<WriteAnswer> written = writeAnswer(response, received);
  if (!written) {
    LogMsg(2, "WriteRecordWithSNUMTAC", "answer of [%d] bytes refused.", received);
    lastResult = rc::kWriteFailed;
    return lastResult;
  }
  baSN = written->serial;
  baTSAC = GP_UnpackData(written->tac, kMinTacLength);
  return lastResult;
}

long ZododovuRavuVODCtrl::readAccountList(int firstRecord, int width, std::array<std::string, 8>& list, int& count) {
  unsigned char data[256];
  int length = 0;
  int n = 0;
  const std::string allZeros(static_cast<std::size_t>(width), '0');
  for (int record = firstRecord; record < firstRecord + 8; ++record) {
    if (readRecordWhole(record, data, sizeof data, length) != 0 || swRaw != kSwOk) {
      lastResult = rc::kRecordUnreadable;
      continue;
    }
    std::optional<std::string> text = recordText(data, length, static_cast<std::size_t>(width));
    if (!text) {
      lastResult = rc::kRecordUnreadable;
      continue;
    }
    std::string account = *text;
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
  std::optional<std::string> text;
  auto readWith = [&](int record, unsigned char le, std::size_t width) {
    if (readRecordWith(record, le, data, sizeof data, length) != 0 || swRaw != kSwOk) return false;
    text = recordText(data, length, width);
    return text.has_value();
  };
  if (readWith(1, 0, 8)) baAccount[0] = *text;
  if (readWith(2, 48, 30)) baAccount[1] = *text;
  int n = 0;
  for (int record = 3; record <= 7 && readWith(record, 22, 16); ++record)
    baAccount[static_cast<std::size_t>(2 + n++)] = *text;
  iNoA = n;
  uiSW12 = swRaw;
  return lastResult;
}

long ZododovuRavuVODCtrl::verifyPinBlock(std::string_view pin) {
  {
    const PinBlock block(pin.data(), pin.size());
    swRaw = 0;
    lastResult = static_cast<long>(FISC_VerifyPIN(hCard, 0x10, block.bytes(), &swRaw));
  }
  uiSW12 = swRaw;
  if (lastResult != 0) return cardCallFailed("VerifyPIN", "FISC_VerifyPIN()", lastResult);
  return swRaw == kSwOk ? 0 : static_cast<long>(swRaw);
}

long ZododovuRavuVODCtrl::VerifyPIN() {
  if (!isPinText(baPIN)) {
    swRaw = 0;  // no card answered
    return refuseStep(rc::kInputMissing);
  }
  lastResult = verifyPinBlock(baPIN);
  return lastResult;
}

long ZododovuRavuVODCtrl::ChangePassword() {
  if (!isPinText(baNewPIN)) return refuseStep(rc::kInputMissing);
  if (selectFile("00C2") != 0 || swRaw != kSwOk) return lastResult;
  {
    const PinBlock block(baNewPIN.data(), baNewPIN.size());
    swRaw = 0;
    lastResult = static_cast<long>(FISC_UpdateRecord(hCard, 1, 8, block.bytes(), &swRaw));
    card::wipeCommand();  // the new PIN goes no further than the card
  }
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
  return recordText(data, length, 8).value_or(std::string());
}

std::string ZododovuRavuVODCtrl::GetIssuerAccount() {
  unsigned char data[256];
  int length = 0;
  if (readIssuerRecord(3, data, sizeof data, length) != 0) return std::string();
  return recordText(data, length, 16).value_or(std::string());
}

std::string ZododovuRavuVODCtrl::GetIssuerRemark() {
  unsigned char data[256];
  int length = 0;
  if (readIssuerRecord(2, data, sizeof data, length) != 0) return std::string();
  const std::optional<RecordValue> value = recordValue(data, static_cast<std::size_t>(length), 0);
  if (!value) return std::string();
  return hexWithoutTrailingBlanks(value->bytes, value->length > 127 ? 127 : value->length);
}

// ---- the card identity every card step starts from ----

long ZododovuRavuVODCtrl::getCardInfo(stCardInfo& out, std::string accountIndex) {
  if (selectFile("1001") != 0) return lastResult;
  // A refused selection reads nothing: it must not pass for a success.
  if (swRaw != kSwOk) return refuseStep(rc::kRecordUnreadable);
  unsigned char data[256];
  int length = 0;
  // The record's value, `width` bytes of it checked against its length byte; a text also printable.
  auto read = [&](int record, std::size_t width, bool asText, std::string& into) {
    std::optional<std::string> text;
    if (readRecordWhole(record, data, sizeof data, length) == 0 && swRaw == kSwOk)
      text = recordText(data, length, width);
    if (!text || (asText && !printable(*text))) {
      LogMsg(2, "getCardInfo", "record [%d] unreadable, error with error code:[0x%08x].", record, lastResult);
      lastResult = rc::kRecordUnreadable;
      return false;
    }
    into = asText ? *text : hexWithoutTrailingBlanks(data + 2, width);
    return true;
  };
  if (!read(1, 8, true, out.sIssueNo)) return lastResult;
  if (!read(2, 30, false, out.sRemark)) return lastResult;
  if (!read(3, 16, true, out.sMainAccount)) return lastResult;
  // Index 1 is the main account (record 3) ... index 8 record 10; any other index reads record 3.
  long index = std::strtol(accountIndex.c_str(), nullptr, 10);
  int record = (index >= 1 && index <= 8) ? static_cast<int>(index) + 2 : 3;
  if (!read(record, 16, true, out.sAccount)) return lastResult;
  uiSW12 = swRaw;
  return lastResult;
}

long ZododovuRavuVODCtrl::getICCID(stTaxOut& out) {
  if (selectFile("0001") != 0) return lastResult;
  if (swRaw != kSwOk) return 0;
  unsigned char data[256];
  int length = 0;
  std::optional<std::string> serial;
  if (readRecordWhole(2, data, sizeof data, length) == 0 && swRaw == kSwOk) serial = recordText(data, length, 10);
  if (serial)
    out.sICCSerial = *serial;
  else
    lastResult = rc::kRefused;
  uiSW12 = swRaw;
  return lastResult;
}

// A dialog's PIN check: lastResult keeps the PC/SC result, the refusal is only returned.
int ZododovuRavuVODCtrl::InnerVerifyPIN(const char* pin, CardHandle cardHandle) {
  hCard = cardHandle;
  return static_cast<int>(verifyPinBlock(pin ? std::string_view(pin) : std::string_view()));
}
