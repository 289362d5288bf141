// The card's transaction log read back as XML rows, one per record of a known kind. Decoding a record
// also leaves its values in the page fields, so after the call they hold the last record's.
#include <cstring>
#include <vector>

#include "RequestXml.h"
#include "ZododovuRavuVODCtrl.h"
#include "card/CardAnswer.h"
#include "card/Ebcdic.h"
#include "card/GP.h"
#include "card/TextHelpers.h"
#include "crypto/Setting.h"

namespace {
struct RecordBytes {
  // The record as the card stores it: the written data starts at offset 12. Bytes 0 to 2 and 11 are
  // the card's own (a card may hold anything there) and are never read.
  const unsigned char* bytes;
  std::size_t length;
};
}  // namespace

struct ZododovuRavuVODCtrl::LogRecordView : RecordBytes {};

namespace {
using Ctrl = ZododovuRavuVODCtrl;
using Setter = void (Ctrl::*)(const char*);
using Getter = std::string (Ctrl::*)() const;

constexpr int kRecordsRead = 10;
constexpr std::size_t kSerialAt = 3, kSerialLength = 8;
constexpr std::size_t kCodeAt = 12, kCodeLength = 4;
constexpr std::size_t kPCodeAt = 32, kPCodeLength = 6;
const char* const kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

enum class Coding { Text, Ebcdic, Amount, Fixed };

struct FieldRule {
  Setter set;
  Coding coding;
  std::size_t offset;
  std::size_t length;  // for Fixed: unused
};

struct RowElement {
  const char* tag;
  Getter get;
};

struct LogKind {
  std::vector<std::string> pCodes;  // P-code kinds
  int lowCode, highCode;            // numbered kinds (0 for P-code kinds)
  int alsoCode;                     // one more numbered code of the kind, or 0
  std::vector<FieldRule> fields;
  std::size_t tacAt;
  std::vector<RowElement> row;
};

// The elements most rows open with.
std::vector<RowElement> rowOf(std::initializer_list<RowElement> tail, bool full = true) {
  std::vector<RowElement> row{{"icc_no", &Ctrl::GetbaICC_SNO}, {"tac_id", &Ctrl::GetbaP_CODE}};
  if (full) {
    row.insert(row.end(), {{"trns_amount", &Ctrl::GetbaMoney},
                           {"atm_no", &Ctrl::GetbaIFD_ID},
                           {"atm_checkcode", &Ctrl::GetbaIFD_Chk_Code},
                           {"client_dttm", &Ctrl::GetbaDateTime}});
  }
  row.insert(row.end(), tail);
  row.push_back({"tsac", &Ctrl::GetbaTAC});
  return row;
}

const RowElement kOutAccount{"trns_out_account", &Ctrl::GetbaAccount1};
const RowElement kInAccountImport{"trns_in_account", &Ctrl::GetbaImport_Account};
const RowElement kInAccountCancel{"trns_in_account", &Ctrl::GetbaCancelNo};

// The P-code kinds share the amount, check code, date-time and account of their EBCDIC layout.
std::vector<FieldRule> postalFields(std::initializer_list<FieldRule> more) {
  std::vector<FieldRule> fields{{&Ctrl::SetbaMoney, Coding::Amount, 18, 6},
                                {&Ctrl::SetbaIFD_Chk_Code, Coding::Ebcdic, 24, 8},
                                {&Ctrl::SetbaDateTime, Coding::Ebcdic, 32, 14},
                                {&Ctrl::SetbaAccount1, Coding::Ebcdic, 46, 16}};
  fields.insert(fields.end(), more);
  return fields;
}

// The numbered kinds share amount, terminal, check code and date-time.
std::vector<FieldRule> bankFields(std::initializer_list<FieldRule> more) {
  std::vector<FieldRule> fields{{&Ctrl::SetbaMoney, Coding::Text, 16, 14},
                                {&Ctrl::SetbaIFD_ID, Coding::Text, 30, 8},
                                {&Ctrl::SetbaIFD_Chk_Code, Coding::Text, 38, 8},
                                {&Ctrl::SetbaDateTime, Coding::Text, 46, 14}};
  fields.insert(fields.end(), more);
  return fields;
}

const std::vector<LogKind>& logKinds() {
  static const std::vector<LogKind> kinds = {
      {{"P014A1", "P014A2", "G004A4", "G004A2", "G103E9", "G103EA"},
       0,
       0,
       0,
       {{&Ctrl::SetbaMoney, Coding::Text, 16, 6},
        {&Ctrl::SetbaIFD_Chk_Code, Coding::Fixed, 0, 0},
        {&Ctrl::SetbaDateTime, Coding::Ebcdic, 67, 14},
        {&Ctrl::SetbaImport_Account, Coding::Ebcdic, 97, 16},
        {&Ctrl::SetbaAccount1, Coding::Text, 21, 16}},
       90,
       rowOf({kInAccountImport, kOutAccount})},
      {{"P014A5"},
       0,
       0,
       0,
       postalFields({{&Ctrl::SetbaCancelNo, Coding::Ebcdic, 62, 16}}),
       78,
       rowOf({kOutAccount, kInAccountCancel})},
      {{"P014A6"},
       0,
       0,
       0,
       postalFields({{&Ctrl::SetbaTax_Date, Coding::Ebcdic, 62, 7}, {&Ctrl::SetbaUSER_REF, Coding::Ebcdic, 69, 16}}),
       85,
       rowOf({kOutAccount, {"trns_date", &Ctrl::GetbaTax_Date}, {"trns_user_ref", &Ctrl::GetbaUSER_REF}})},
      {{"P014AB", "P014AC", "P014AD"}, 0, 0, 0, postalFields({}), 78, rowOf({kOutAccount, kInAccountCancel})},
      {{"P611A1", "P611A2", "GJ01A1"},
       0,
       0,
       0,
       {{&Ctrl::SetbaIFD_Chk_Code, Coding::Ebcdic, 38, 8},
        {&Ctrl::SetbaDateTime, Coding::Ebcdic, 62, 14},
        {&Ctrl::SetbaAccount1, Coding::Text, 16, 16}},
       60,
       rowOf({kOutAccount, kInAccountCancel})},
      {{},
       2500,
       2500,
       CARDSTART,
       {{&Ctrl::SetbaIFD_Chk_Code, Coding::Text, 16, 8}, {&Ctrl::SetbaAccount1, Coding::Text, 24, 16}},
       40,
       rowOf({{"atm_checkcode", &Ctrl::GetbaIFD_Chk_Code}, kOutAccount}, false)},
      {{}, 2510, 2510, 0, bankFields({{&Ctrl::SetbaAccount1, Coding::Text, 60, 16}}), 76, rowOf({kOutAccount})},
      {{},
       2521,
       2525,
       0,
       bankFields({{&Ctrl::SetbaImport_Account, Coding::Text, 60, 16}, {&Ctrl::SetbaAccount1, Coding::Text, 76, 16}}),
       92,
       rowOf({kInAccountImport, kOutAccount})},
      {{},
       2531,
       2532,
       0,
       bankFields({{&Ctrl::SetbaPaymentType, Coding::Text, 60, 5},
                   {&Ctrl::SetbaAccount1, Coding::Text, 65, 16},
                   {&Ctrl::SetbaCancelNo, Coding::Text, 81, 16}}),
       97,
       rowOf({{"tax_type", &Ctrl::GetbaPaymentType}, kOutAccount, kInAccountCancel})},
      {{},
       2541,
       2541,
       0,
       bankFields({{&Ctrl::SetbaMerchantID, Coding::Text, 60, 30}, {&Ctrl::SetbaAccount1, Coding::Text, 90, 16}}),
       106,
       rowOf({{"merchant_id", &Ctrl::GetbaMerchantID}, kOutAccount})},
      {{}, 2561, 2564, 0, bankFields({{&Ctrl::SetbaAccount1, Coding::Text, 60, 16}}), 76, rowOf({kOutAccount})},
  };
  return kinds;
}

// Bytes of the record as characters up to the first zero byte (zeros past the received end).
std::string textAt(const RecordBytes& record, std::size_t offset, std::size_t length) {
  std::string text;
  for (std::size_t i = offset; i < offset + length && i < record.length && record.bytes[i] != 0; ++i)
    text += static_cast<char>(record.bytes[i]);
  return text;
}

std::string ebcdicAt(const RecordBytes& record, std::size_t offset, std::size_t length) {
  std::string text;
  for (std::size_t i = offset; i < offset + length && i < record.length; ++i) {
    unsigned char c = 0;
    ebcdic2ascii(&c, record.bytes + i, 1);
    if (c == 0) break;
    text += static_cast<char>(c);
  }
  return text;
}

// Six packed bytes: their twelve hexadecimal digits cut to nine, leading zeros removed.
std::string amountAt(const RecordBytes& record, std::size_t offset) {
  std::string digits;
  for (std::size_t i = offset; i < offset + 6; ++i)
    digits += Ctrl::format("%02x", i < record.length ? record.bytes[i] : 0);
  truncate(digits, 9);
  trimLeft(digits, '0');
  return digits;
}

std::string decoded(const RecordBytes& record, const FieldRule& rule) {
  switch (rule.coding) {
    case Coding::Text:
      return textAt(record, rule.offset, rule.length);
    case Coding::Ebcdic:
      return ebcdicAt(record, rule.offset, rule.length);
    case Coding::Amount:
      return amountAt(record, rule.offset);
    case Coding::Fixed:
      return "REVO 100";
  }
  return std::string();
}

int leadingDigits(const std::string& text) {
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
  }
  return value;
}

const LogKind* kindOfPCode(const std::string& pCode) {
  for (const LogKind& kind : logKinds())
    for (const std::string& code : kind.pCodes)
      if (code == pCode) return &kind;
  return nullptr;
}

const LogKind* kindOfNumber(int code) {
  for (const LogKind& kind : logKinds())
    if (kind.pCodes.empty() &&
        ((code >= kind.lowCode && code <= kind.highCode) || (kind.alsoCode && code == kind.alsoCode)))
      return &kind;
  return nullptr;
}
}  // namespace

Ctrl::LogDecode ZododovuRavuVODCtrl::decodeLogRecord(const LogRecordView& record, std::string& row) {
  baICC_SNO = textAt(record, kSerialAt, kSerialLength);
  baP_CODE = ebcdicAt(record, kPCodeAt, kPCodeLength);
  const LogKind* kind = kindOfPCode(baP_CODE);
  if (!kind) {
    baP_CODE = textAt(record, kCodeAt, kCodeLength);
    kind = kindOfNumber(leadingDigits(baP_CODE));
    if (!kind) return LogDecode::UnknownKind;
  }
  // The kind's written data ends where its TAC length stands; that length and the TAC it announces must
  // lie inside what the card sent. Fields that overlap the TAC are read as far as the record goes.
  if (record.length < kind->tacAt + 2) return LogDecode::Unreadable;
  const std::size_t tacLength =
      (static_cast<std::size_t>(record.bytes[kind->tacAt]) << 8) | record.bytes[kind->tacAt + 1];
  if (tacLength > record.length - kind->tacAt - 2) return LogDecode::Unreadable;

  for (const FieldRule& rule : kind->fields) (this->*rule.set)(decoded(record, rule).c_str());
  baTACLen = GP_UnpackData(record.bytes + kind->tacAt, 2);
  baTAC = GP_UnpackData(record.bytes + kind->tacAt + 2, tacLength);

  XmlText xml;
  xml.open("row");
  for (const RowElement& element : kind->row) xml.element(element.tag, (this->*element.get)());
  xml.close("row");
  row = kDeclaration + xml.text();
  return LogDecode::Row;
}

long ZododovuRavuVODCtrl::ReadRecord() {
  if (selectFile("1080") != 0) return lastResult;
  if (swRaw != kSwOk) {
    lastResult = 0;
    return lastResult;
  }
  unsigned char data[256];
  int rows = 0;
  int lastCode = 0;
  for (int number = 1; number <= kRecordsRead; ++number) {
    int length = 0;
    readRecordWhole(number, data, sizeof data, length);  // clears the buffer: no bytes of an earlier record
    LogDecode outcome = LogDecode::Unreadable;
    std::string row;
    // A log record has no length byte of its own: its kind alone says which bytes are read.
    if (lastResult == 0 && swRaw == kSwOk) {
      outcome = decodeLogRecord({{data, static_cast<std::size_t>(length)}}, row);
      if (outcome != LogDecode::UnknownKind && baP_CODE.size() == kCodeLength) lastCode = leadingDigits(baP_CODE);
    }
    if (outcome == LogDecode::Row) baRecord[static_cast<std::size_t>(rows++)] = row;
    if (outcome == LogDecode::Unreadable) {
      lastResult = rc::kLogUnreadable;
      uiSW12 = swRaw;
      LogMsg(2, "ReadRecord", "iPCODE:[%d] unknow, error with error code:[0x%08x].", lastCode, lastResult);
    }
  }
  iRec = rows;
  uiSW12 = swRaw;
  return lastResult;
}
