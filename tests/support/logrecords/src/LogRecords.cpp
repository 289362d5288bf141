#include "logrecords/LogRecords.h"

#include <stdexcept>

namespace logrecords {

const char* const kSerial = "00000042";
const Bytes kTac = {0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8};
const char* const kTacHex = "C1C2C3C4C5C6C7C8";
const char* const kPageMoney = "PAGE-MONEY";
const char* const kPageTerminal = "PAGE-ATM";
const char* const kPageCancelNo = "PAGE-CANCEL";
const RowTail kTacRowTail{kTacHex, "FGH", "ABCDEFGH"};

namespace {

constexpr std::size_t kSerialAt = 3, kCodeAt = 12, kPCodeAt = 32;

std::string el(const std::string& tag, const std::string& value) { return element(tag, value); }
std::string asChars(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

const std::string kIcc = el("icc_no", kSerial);
std::string tsac(const RowTail& tail) { return el("tsac", tail.tsac); }

// The amount, terminal, check code and date-time every numbered kind but 2500 holds at 16 to 59.
std::vector<std::pair<std::size_t, Bytes>> bankFields(std::vector<std::pair<std::size_t, Bytes>> more) {
  std::vector<std::pair<std::size_t, Bytes>> fields{
      {16, text("00000000012300")}, {30, text("ATM00001")}, {38, text("CHK00001")}, {46, text("20261213090000")}};
  fields.insert(fields.end(), more.begin(), more.end());
  return fields;
}
std::string bankHead(const std::string& code) {
  return kIcc + el("tac_id", code) + el("trns_amount", "00000000012300") + el("atm_no", "ATM00001") +
         el("atm_checkcode", "CHK00001") + el("client_dttm", "20261213090000");
}

}  // namespace

std::string element(const std::string& tag, const std::string& value) {
  return "<" + tag + ">" + value + "</" + tag + ">";
}

std::string row(const std::string& elements) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><row>" + elements + "</row>";
}

Bytes text(const std::string& t) { return Bytes(t.begin(), t.end()); }

Bytes ebcdic(const std::string& t) {
  Bytes out;
  for (char c : t) {
    if (c >= '0' && c <= '9')
      out.push_back(static_cast<std::uint8_t>(0xF0 + (c - '0')));
    else if (c >= 'A' && c <= 'I')
      out.push_back(static_cast<std::uint8_t>(0xC1 + (c - 'A')));
    else if (c >= 'J' && c <= 'R')
      out.push_back(static_cast<std::uint8_t>(0xD1 + (c - 'J')));
    else if (c >= 'S' && c <= 'Z')
      out.push_back(static_cast<std::uint8_t>(0xE2 + (c - 'S')));
    else if (c == ' ')
      out.push_back(0x40);
    else
      throw std::invalid_argument(std::string("no EBCDIC written out for ") + c);
  }
  return out;
}

const std::vector<LogKind>& logKinds() {
  static const std::vector<LogKind> kinds = {
      // Amount text at 16; the account (21 to 36) shares byte 21 with the amount and its last five
      // bytes with the P-code; the payee account (97 to 112) lies over the TAC and what follows it.
      {"P014A1 group",
       {"P014A1", "P014A2", "G004A4", "G004A2", "G103E9", "G103EA"},
       true,
       90,
       {{16, text("12345")}, {21, text("6700123456")}, {31, text("9")}, {67, ebcdic("20261210131500")}},
       [](const std::string& code, const RowTail& tail) {
         return row(kIcc + el("tac_id", code) + el("trns_amount", "123456") + el("atm_no", kPageTerminal) +
                    el("atm_checkcode", "REVO 100") + el("client_dttm", "20261210131500") +
                    el("trns_in_account", tail.payee) +
                    el("trns_out_account", "67001234569" + asChars(ebcdic(code.substr(0, 5)))) + tsac(tail));
       }},
      // Packed amount 00 00 01 23 45 67: twelve digits cut to nine, leading zeros gone. The date starts
      // with the P-code.
      {"P014A5",
       {"P014A5"},
       true,
       78,
       {{18, {0x00, 0x00, 0x01, 0x23, 0x45, 0x67}},
        {24, ebcdic("CHK000A5")},
        {38, ebcdic("20261210")},
        {46, ebcdic("7001234567890123")},
        {62, ebcdic("CANCEL0000000001")}},
       [](const std::string& code, const RowTail& tail) {
         return row(kIcc + el("tac_id", code) + el("trns_amount", "1234") + el("atm_no", kPageTerminal) +
                    el("atm_checkcode", "CHK000A5") + el("client_dttm", code + "20261210") +
                    el("trns_out_account", "7001234567890123") + el("trns_in_account", "CANCEL0000000001") +
                    tsac(tail));
       }},
      // Six zero bytes of amount stay nine zeros.
      {"P014A6",
       {"P014A6"},
       true,
       85,
       {{18, Bytes(6, 0x00)},
        {24, ebcdic("CHK000A6")},
        {38, ebcdic("20261211")},
        {46, ebcdic("7009876543210987")},
        {62, ebcdic("1151231")},
        {69, ebcdic("REF0000000000006")}},
       [](const std::string& code, const RowTail& tail) {
         return row(kIcc + el("tac_id", code) + el("trns_amount", "000000000") + el("atm_no", kPageTerminal) +
                    el("atm_checkcode", "CHK000A6") + el("client_dttm", code + "20261211") +
                    el("trns_out_account", "7009876543210987") + el("trns_date", "1151231") +
                    el("trns_user_ref", "REF0000000000006") + tsac(tail));
       }},
      // Bytes 62 on are not this kind's: its payee is the page's.
      {"P014AB group",
       {"P014AB", "P014AC", "P014AD"},
       true,
       78,
       {{18, {0x98, 0x76, 0x54, 0x32, 0x10, 0x99}},
        {24, ebcdic("CHK000AB")},
        {38, ebcdic("20261212")},
        {46, ebcdic("7001111111111111")},
        {62, ebcdic("NOTREADBYTHEKIND")}},
       [](const std::string& code, const RowTail& tail) {
         return row(kIcc + el("tac_id", code) + el("trns_amount", "987654321") + el("atm_no", kPageTerminal) +
                    el("atm_checkcode", "CHK000AB") + el("client_dttm", code + "20261212") +
                    el("trns_out_account", "7001111111111111") + el("trns_in_account", kPageCancelNo) + tsac(tail));
       }},
      // No amount; the date (62 to 75) starts where the TAC does.
      {"P611A1 group",
       {"P611A1", "P611A2", "GJ01A1"},
       true,
       60,
       {{16, text("7001234567890123")}, {38, ebcdic("CHK611A1")}, {46, text("NOTREAD")}},
       [](const std::string& code, const RowTail& tail) {
         return row(kIcc + el("tac_id", code) + el("trns_amount", kPageMoney) + el("atm_no", kPageTerminal) +
                    el("atm_checkcode", "CHK611A1") + el("client_dttm", tail.date) +
                    el("trns_out_account", "7001234567890123") + el("trns_in_account", kPageCancelNo) + tsac(tail));
       }},
      {"2500 and 6100",
       {"2500", "6100"},
       false,
       40,
       {{16, text("CHK02500")}, {24, text("0040123456789012")}},
       [](const std::string& code, const RowTail& tail) {
         return row(kIcc + el("tac_id", code) + el("atm_checkcode", "CHK02500") +
                    el("trns_out_account", "0040123456789012") + tsac(tail));
       }},
      {"2510",
       {"2510"},
       false,
       76,
       bankFields({{60, text("0040123456789012")}}),
       [](const std::string& code, const RowTail& tail) {
         return row(bankHead(code) + el("trns_out_account", "0040123456789012") + tsac(tail));
       }},
      {"2521 to 2525",
       {"2521", "2522", "2523", "2524", "2525"},
       false,
       92,
       bankFields({{60, text("0000001234567890")}, {76, text("0040123456789012")}}),
       [](const std::string& code, const RowTail& tail) {
         return row(bankHead(code) + el("trns_in_account", "0000001234567890") +
                    el("trns_out_account", "0040123456789012") + tsac(tail));
       }},
      {"2531 and 2532",
       {"2531", "2532"},
       false,
       97,
       bankFields({{60, text("15001")}, {65, text("0040123456789012")}, {81, text("CANCEL0000000002")}}),
       [](const std::string& code, const RowTail& tail) {
         return row(bankHead(code) + el("tax_type", "15001") + el("trns_out_account", "0040123456789012") +
                    el("trns_in_account", "CANCEL0000000002") + tsac(tail));
       }},
      {"2541",
       {"2541"},
       false,
       106,
       bankFields({{60, text("MERCHANT0000000000000000000001")}, {90, text("0040123456789012")}}),
       [](const std::string& code, const RowTail& tail) {
         return row(bankHead(code) + el("merchant_id", "MERCHANT0000000000000000000001") +
                    el("trns_out_account", "0040123456789012") + tsac(tail));
       }},
      {"2561 to 2564",
       {"2561", "2562", "2563", "2564"},
       false,
       76,
       bankFields({{60, text("0040123456789012")}}),
       [](const std::string& code, const RowTail& tail) {
         return row(bankHead(code) + el("trns_out_account", "0040123456789012") + tsac(tail));
       }},
  };
  return kinds;
}

std::vector<Framing> framings(std::size_t length, std::size_t dataLength) {
  const auto rest = static_cast<std::uint8_t>(length - 2), whole = static_cast<std::uint8_t>(length),
             n = static_cast<std::uint8_t>(dataLength);
  return {
      {0x00, 0x00, 0x00, 0x00}, {0xFF, 0xFF, 0xFF, 0xFF}, {0x80, rest, 0x00, n},    {0x80, whole, 0x00, n},
      {0x80, rest, 0x00, 0x00}, {0x00, rest, 0x00, n},    {0x01, 0x02, 0x03, 0x04}, {0x80, 0x00, 0x00, n},
      {'<', '&', '>', '"'},     {0xFF, rest, 0xFF, 0x00},
  };
}

Bytes storedRecord(const LogKind& kind, const std::string& code, const Framing& framing, const TacBytes& tacBytes) {
  Bytes record(kind.tacLengthAt + 2, 0x00);
  record[0] = framing[0];
  record[1] = framing[1];
  record[2] = framing[2];
  record[11] = framing[3];
  const Bytes serial = text(kSerial);
  std::copy(serial.begin(), serial.end(), record.begin() + kSerialAt);
  for (const auto& [offset, bytes] : kind.fields) std::copy(bytes.begin(), bytes.end(), record.begin() + offset);
  const Bytes codeBytes = kind.pCode ? ebcdic(code) : text(code);
  std::copy(codeBytes.begin(), codeBytes.end(), record.begin() + (kind.pCode ? kPCodeAt : kCodeAt));
  record[kind.tacLengthAt] = static_cast<std::uint8_t>(tacBytes.length >> 8);
  record[kind.tacLengthAt + 1] = static_cast<std::uint8_t>(tacBytes.length & 0xFF);
  record.insert(record.end(), tacBytes.tac.begin(), tacBytes.tac.end());
  record.insert(record.end(), tacBytes.after.begin(), tacBytes.after.end());
  return record;
}

std::string profileWithLog(const std::vector<Bytes>& records) {
  std::string profile =
      "atr = 3B 80 80 01 01\naid = A0 00 00 01 72 95 00 01\npin = 1234\npin_tries = 3\n"
      "tac_key = 40 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F\nserial = 50\nlog = 1080\nlog_capacity = 10\n"
      "[ef 1001]\n1 = tlv 01 \"00400001\"\n2 = tlv 02 \"BANK CARD\":30\n3 = tlv 03 \"0040123456789012\"\n"
      "[ef 1080]\n";
  int number = 1;
  for (const Bytes& record : records)
    profile += std::to_string(number++) + " = " + rvp::cardsim::toHex(record, true) + "\n";
  return profile;
}

}  // namespace logrecords
