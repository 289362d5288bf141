// Composite card operations: PIN check, account lookup and the transaction-log write in one call.
#include <winscard.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "card/CardBuffers.h"
#include "card/FISC.h"
#include "card/PinBlock.h"
#include "card/StringFormat.h"

namespace {

const unsigned char kIssuerFile[2] = {0x10, 0x01};
const unsigned char kTransactionLog[2] = {0x10, 0x80};
constexpr unsigned char kPinReference = 0x10;
constexpr unsigned char kAllRecordsLe = 0x84;

// Records 1 and 2 of EF 1001 as the read-all answer holds them, then 18-byte account records.
constexpr std::size_t kIssuerIdOffset = 2, kIssuerIdSize = 8;
constexpr std::size_t kRemarkOffset = 12, kRemarkSize = 30;
constexpr std::size_t kAccountRecordSize = 18, kAccountSize = 16;

// Output record layout.
constexpr std::size_t kOutRemark = 8, kOutAccount = 38, kOutSerial = 54, kOutTacLength = 62, kOutTac = 64;
constexpr std::size_t kOutCode = 320, kOutDateTime = 324;
constexpr std::size_t kMaxTac = kOutCode - kOutTac;

std::uint32_t result(std::uint32_t code) { return card::storeResult(code); }

// One field of a transaction record: `size` bytes at `at`, from the input record, the date-time,
// the chosen account or the transaction code.
struct Field {
  enum class Source { Input, DateTime, Account, Code };
  std::size_t at;
  Source source;
  std::size_t from;
  std::size_t size;
};

struct Composite {
  std::size_t inputSize;
  std::size_t pinAt;
  std::size_t accountIndexAt;
  unsigned char recordLength;
  bool withDateTime;
  std::string (*code)(const unsigned char* input, const unsigned char* issuerId);
  std::vector<Field> layout;
};

using S = Field::Source;

bool sameBankId(const unsigned char* a, const unsigned char* b) { return std::memcmp(a, b, 8) == 0; }

std::string inquiryCode(const unsigned char*, const unsigned char*) { return "2500"; }
std::string paymentCode(const unsigned char*, const unsigned char*) { return "2541"; }

std::string transferCode(const unsigned char* in, const unsigned char* issuer) {
  if (sameBankId(in + 8, issuer)) return "2523";
  if (sameBankId(in, in + 8)) return "2522";
  if (sameBankId(in, issuer)) return "2521";
  return "2524";
}

std::string taxCode(const unsigned char* in, const unsigned char* issuer) {
  return sameBankId(in, issuer) ? "2531" : "2532";
}

const Composite kInquiry = {kFiscInquiryInputSize,
                            8,
                            20,
                            28,
                            false,
                            inquiryCode,
                            {{0, S::Code, 0, 4}, {4, S::Input, 0, 8}, {12, S::Account, 0, 16}}};

const Composite kTransfer = {kFiscTransferInputSize,
                             32,
                             66,
                             80,
                             true,
                             transferCode,
                             {{0, S::Code, 0, 4},
                              {4, S::Input, 52, 14},
                              {18, S::Input, 36, 16},
                              {34, S::DateTime, 0, 14},
                              {48, S::Input, 16, 16},
                              {64, S::Account, 0, 16}}};

const Composite kPayment = {kFiscPaymentInputSize,
                            30,
                            64,
                            94,
                            true,
                            paymentCode,
                            {{0, S::Code, 0, 4},
                             {4, S::Input, 50, 14},
                             {18, S::Input, 34, 16},
                             {34, S::DateTime, 0, 14},
                             {48, S::Input, 0, 16},
                             {64, S::Input, 16, 14},
                             {78, S::Account, 0, 16}}};

const Composite kTax = {kFiscTaxInputSize,
                        8,
                        63,
                        85,
                        true,
                        taxCode,
                        {{0, S::Code, 0, 4},
                         {4, S::Input, 28, 14},
                         {18, S::Input, 12, 16},
                         {34, S::DateTime, 0, 14},
                         {48, S::Input, 42, 4},
                         {52, S::Input, 46, 1},
                         {53, S::Account, 0, 16},
                         {69, S::Input, 47, 16}}};

// Local time as 14 digits; a years-since-1900 value below 50 counts from 2000.
std::string localDateTime() {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  localtime_r(&now, &t);
  const int year = t.tm_year < 50 ? 2000 + t.tm_year : 1900 + t.tm_year;
  return string_format("%04d%02d%02d%02d%02d%02d", year, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
}

// Runs a status-word command; a PC/SC failure passes through, another status word becomes `code`.
template <typename Send>
std::uint32_t step(std::uint32_t code, Send send) {
  FiscSW sw = 0;
  const std::uint32_t rv = send(&sw);
  if (rv != 0) return rv;
  return sw == kSwOk ? 0 : result(code);
}

std::uint32_t runComposite(const Composite& kind, CardHandle hCard, const unsigned char* in, std::size_t inSize,
                           unsigned char* out, std::size_t outCapacity) {
  if (in == nullptr || inSize < kind.inputSize || out == nullptr || outCapacity < kFiscCompositeOutputSize) {
    return result(SCARD_E_INVALID_PARAMETER);
  }
  std::memset(out, 0, kFiscCompositeOutputSize);

  std::uint32_t rv = step(kFiscSelectParentFailed, [&](FiscSW* sw) { return FISC_SelectParentDF(hCard, sw); });
  if (rv != 0) return rv;

  {
    const PinBlock pin(reinterpret_cast<const char*>(in + kind.pinAt), 4);
    rv = step(kFiscVerifyPinFailed, [&](FiscSW* sw) { return FISC_VerifyPIN(hCard, kPinReference, pin.bytes(), sw); });
  }
  if (rv != 0) return rv;

  rv = step(kFiscSelectIssuerFileFailed, [&](FiscSW* sw) { return FISC_SelectEF(hCard, kIssuerFile, sw); });
  if (rv != 0) return rv;

  unsigned char records[256] = {};
  unsigned char recordsLength = 0;
  rv = step(kFiscReadRecordsFailed, [&](FiscSW* sw) {
    return FISC_ReadAllRecord_S(hCard, 1, kAllRecordsLe, records, sizeof records, &recordsLength, sw);
  });
  if (rv != 0) return rv;

  const unsigned index = in[kind.accountIndexAt];
  if (index < 1 || index > 5 || recordsLength < kAccountRecordSize * index + 42) {
    return result(kFiscReadRecordsFailed);
  }
  const unsigned char* issuerId = records + kIssuerIdOffset;
  const unsigned char* account = records + 44 + kAccountRecordSize * (index - 1);
  const std::string code = kind.code(in, issuerId);
  const std::string dateTime = kind.withDateTime ? localDateTime() : std::string();

  unsigned char record[255] = {};
  for (const Field& f : kind.layout) {
    const unsigned char* from = nullptr;
    switch (f.source) {
      case S::Input:
        from = in + f.from;
        break;
      case S::Account:
        from = account;
        break;
      case S::Code:
        from = reinterpret_cast<const unsigned char*>(code.data());
        break;
      case S::DateTime:
        from = reinterpret_cast<const unsigned char*>(dateTime.data());
        break;
    }
    std::memcpy(record + f.at, from, f.size);
  }

  unsigned char answer[256] = {};
  unsigned char answerLength = 0;
  rv = step(kFiscWriteFailed, [&](FiscSW* sw) {
    return FISC_WriteRecordWithSNUMTAC(hCard, kTransactionLog, kind.recordLength, record, answer, sizeof answer,
                                       &answerLength, sw);
  });
  if (rv != 0) return rv;

  const std::optional<WriteAnswer> written = writeAnswer(answer, answerLength);
  if (!written || written->tacLength > kMaxTac) return result(kFiscWriteFailed);

  std::memcpy(out, issuerId, kIssuerIdSize);
  std::memcpy(out + kOutRemark, records + kRemarkOffset, kRemarkSize);
  std::memcpy(out + kOutAccount, account, kAccountSize);
  std::memcpy(out + kOutSerial, written->serial.data(), kWriteSerialLength);
  std::memcpy(out + kOutTacLength, answer + kWriteTacLengthAt, 2);
  std::memcpy(out + kOutTac, written->tac, written->tacLength);
  std::memcpy(out + kOutCode, code.data(), 4);
  if (kind.withDateTime) std::memcpy(out + kOutDateTime, dateTime.data(), 14);
  return result(0);
}

}  // namespace

std::uint32_t FISC_ListAccounts(CardHandle hCard, unsigned char* count, unsigned char* accounts,
                                std::size_t accountsCapacity) {
  if (count == nullptr || (accounts == nullptr && accountsCapacity > 0)) return result(SCARD_E_INVALID_PARAMETER);
  *count = 0;
  std::uint32_t rv = step(kFiscSelectParentFailed, [&](FiscSW* sw) { return FISC_SelectParentDF(hCard, sw); });
  if (rv != 0) return rv;
  rv = step(kFiscSelectIssuerFileFailed, [&](FiscSW* sw) { return FISC_SelectEF(hCard, kIssuerFile, sw); });
  if (rv != 0) return rv;

  unsigned char area[1280] = {};
  unsigned char length = 0;
  rv = step(kFiscReadRecordsFailed,
            [&](FiscSW* sw) { return FISC_ReadAllRecord_S(hCard, 3, kAllRecordsLe, area, sizeof area, &length, sw); });
  if (rv != 0) return rv;

  const std::size_t records = length == 0 ? 0 : (length - 1) / kAccountRecordSize + 1;
  if (records * kAccountSize > accountsCapacity) return result(SCARD_E_INSUFFICIENT_BUFFER);
  for (std::size_t r = 0; r < records; ++r) {
    // A record cut short by the end of the answer keeps zeros where its bytes are missing.
    unsigned char* slot = accounts + r * kAccountSize;
    std::memset(slot, 0, kAccountSize);
    const std::size_t from = r * kAccountRecordSize + 2;
    if (from < length) std::memcpy(slot, area + from, std::min<std::size_t>(kAccountSize, length - from));
  }
  *count = static_cast<unsigned char>(records * kAccountSize);
  return result(0);
}

std::uint32_t FISC_Inquiry(CardHandle hCard, const unsigned char* input, std::size_t inputSize, unsigned char* output,
                           std::size_t outputCapacity) {
  return runComposite(kInquiry, hCard, input, inputSize, output, outputCapacity);
}

std::uint32_t FISC_Transfer(CardHandle hCard, const unsigned char* input, std::size_t inputSize, unsigned char* output,
                            std::size_t outputCapacity) {
  return runComposite(kTransfer, hCard, input, inputSize, output, outputCapacity);
}

std::uint32_t FISC_Payment(CardHandle hCard, const unsigned char* input, std::size_t inputSize, unsigned char* output,
                           std::size_t outputCapacity) {
  return runComposite(kPayment, hCard, input, inputSize, output, outputCapacity);
}

std::uint32_t FISC_Tax(CardHandle hCard, const unsigned char* input, std::size_t inputSize, unsigned char* output,
                       std::size_t outputCapacity) {
  return runComposite(kTax, hCard, input, inputSize, output, outputCapacity);
}
