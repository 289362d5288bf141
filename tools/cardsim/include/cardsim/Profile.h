#pragma once
// What a virtual card holds: its answer to reset, the payment application and its files.
// Profiles are text files (see profiles/*.profile and the format notes in Profile.cpp).
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>

#include "cardsim/Bytes.h"

namespace rvp::cardsim {

struct ElementaryFile {
  std::vector<Bytes> records;  // record n is records[n - 1]
  Bytes binary;                // contents seen by READ BINARY (empty: a record file only)
};

// What the card keeps in bytes 0 to 2 and 11 of the log records it writes. Readers never use these
// bytes, so each choice stands for what some card holds there.
enum class LogFraming {
  Zeros,        // 00 00 00 .. 00
  Ff,           // FF FF FF .. FF
  LengthByte,   // 80, length of the rest (as a tag-length-value record), 00 .. data length
  WholeLength,  // 80, length of the whole record (low 8 bits), 00 .. data length
};

struct Profile {
  Bytes atr = {0x3B, 0x80, 0x80, 0x01, 0x01};  // offers T=0 and T=1
  Bytes aid = {0xA0, 0x00, 0x00, 0x01, 0x72, 0x95, 0x00, 0x01};
  std::uint16_t applicationDf = 0x1000;  // file id of the application's DF
  std::uint16_t pinFile = 0x00C2;        // record 1: the 8-byte PIN block
  std::uint16_t logFile = 0x1080;        // cyclic transaction log, newest record first
  std::size_t logCapacity = 10;
  LogFraming logFraming = LogFraming::Zeros;                   // of the records the card writes, not of preloaded ones
  int pinTries = 3;                                            // wrong PINs allowed before the PIN is stopped
  Bytes tacKey = fromHex("404142434445464748494A4B4C4D4E4F");  // two-key triple DES
  std::uint32_t nextSerial = 1;                                // transaction serial number of the next logged write
  bool tacNeedsPin = false;                                    // refuse WRITE RECORD WITH SNUM/TAC before VERIFY
  std::map<std::uint16_t, ElementaryFile> files;

  // Parses profile text; `origin` names the source in error messages. Throws ProfileError.
  static Profile parse(const std::string& text, const std::string& origin = "profile");
  static Profile load(const std::string& path);
};

struct ProfileError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// The PIN block a card stores and VERIFY sends: the digits left-aligned in 16 hex characters
// filled with F, packed to 8 bytes ("1234" -> 12 34 FF FF FF FF FF FF).
Bytes pinBlock(const std::string& digits);

}  // namespace rvp::cardsim
