#pragma once
// Records of every kind of the card's log, built field by field from the kind's layout, and the row
// each must give, written out by hand (never taken from the reader under test).
//
// A record as a card stores it: bytes 0 to 2 (the card's own), serial number (8) at 3, byte 11 (the
// card's own), the written data from 12 (four-digit code at 12, or a six-character EBCDIC P-code at
// 32), TAC length (2, big-endian) right after the data, TAC, and whatever a card sends after it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "cardsim/Bytes.h"

namespace logrecords {

using rvp::cardsim::Bytes;

// Every record here carries this serial number and, unless a test gives another, this TAC (whose bytes
// read as EBCDIC "ABCDEFGH").
extern const char* const kSerial;
extern const Bytes kTac;
extern const char* const kTacHex;

// Page values that rows show where a kind leaves its field alone: set them before reading.
extern const char* const kPageMoney;     // baMoney
extern const char* const kPageTerminal;  // baIFD_ID
extern const char* const kPageCancelNo;  // baCancelNo

// The bytes from a record's TAC length on.
struct TacBytes {
  std::uint16_t length = 8;  // the TAC length as stored (it may promise more bytes than follow)
  Bytes tac = kTac;
  Bytes after;  // what the record holds after its TAC
};

// What a row shows of a record's TacBytes: its TAC, and the fields two kinds read over the TAC (as far
// as the record goes), written out for each record.
struct RowTail {
  std::string tsac;   // the TAC as hex
  std::string payee;  // P014A1 group: trns_in_account, bytes 97 to 112
  std::string date;   // P611A1 group: client_dttm, bytes 62 to 75
};
// The row tail of a record with the default TacBytes (kTac, nothing after it).
extern const RowTail kTacRowTail;

struct LogKind {
  std::string name;
  std::vector<std::string> codes;                     // every code that selects the kind
  bool pCode;                                         // the code is a P-code at 32 (EBCDIC), else four digits at 12
  std::size_t tacLengthAt;                            // where the data ends and the TAC length stands
  std::vector<std::pair<std::size_t, Bytes>> fields;  // bytes placed at their offsets
  std::function<std::string(const std::string& code, const RowTail& tail)> rowWith;

  // The row of the record with `code` and the default TacBytes.
  std::string row(const std::string& code) const { return rowWith(code, kTacRowTail); }
};

// The eleven kinds of the log.
const std::vector<LogKind>& logKinds();

// Bytes 0, 1, 2 and 11 of a record: what some card holds there.
using Framing = std::array<std::uint8_t, 4>;
// Ten framings for a record of `length` bytes whose data is `dataLength` bytes: zeros, FF, a byte 1
// that is the length of the rest (as a tag-length-value record has it), the whole length, and others.
std::vector<Framing> framings(std::size_t length, std::size_t dataLength);

// The record of `kind` with `code`, framed so, ending with `tacBytes`.
Bytes storedRecord(const LogKind& kind, const std::string& code, const Framing& framing, const TacBytes& tacBytes = {});

// Text converted to EBCDIC (code page 037) for digits, capital letters and blank.
Bytes ebcdic(const std::string& text);
Bytes text(const std::string& text);

// A bank card's profile whose log holds `records` (record 1 first).
std::string profileWithLog(const std::vector<Bytes>& records);

// "<tag>value</tag>" and a whole row with its declaration.
std::string element(const std::string& tag, const std::string& value);
std::string row(const std::string& elements);

}  // namespace logrecords
