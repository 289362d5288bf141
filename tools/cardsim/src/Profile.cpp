// Profile text format, one setting per line, '#' starts a comment:
//
//   atr = 3B 80 80 01 01           hex bytes (blanks optional)
//   aid = A0 00 00 01 72 95 00 01
//   df = 1000                      the application DF's file id
//   pin = 1234                     stored as the PIN block in record 1 of the PIN file
//   pin_file = 00C2
//   pin_tries = 3
//   tac_key = <16 bytes hex>       card key of the TAC
//   serial = 1                     transaction serial number of the next logged write
//   log = 1080                     the cyclic log file
//   log_capacity = 10
//   log_framing = zeros            bytes 0-2 and 11 of the log records the card writes:
//                                  zeros | ff | length (80, length of the rest, 00 .. data length)
//                                  | whole_length (80, length of the whole record, 00 .. data length)
//   tac_needs_pin = yes|no
//
//   [ef 1001]                      a file; the lines below fill it
//   1 = tlv 01 "70000019"          record 1: tag 01, length, then the value
//   2 = tlv 02 "POSTAL":30         a quoted text padded with blanks to 30 bytes
//   3 = 01 10 "0001234567890123"   items: hex bytes and quoted texts, concatenated
//   binary = 00 11 22              the file's READ BINARY contents
//
// Records are numbered from 1 without gaps. In the log file record 1 is the newest.
#include "cardsim/Profile.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace rvp::cardsim {

namespace {

std::string trim(const std::string& s) {
  auto begin = s.find_first_not_of(" \t\r");
  if (begin == std::string::npos) return "";
  auto end = s.find_last_not_of(" \t\r");
  return s.substr(begin, end - begin + 1);
}

// Strips a '#' comment that is not inside a quoted text.
std::string stripComment(const std::string& line) {
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == '#' && !quoted) return line.substr(0, i);
  }
  return line;
}

unsigned long parseNumber(const std::string& text, int base, unsigned long max) {
  if (text.empty()) throw std::invalid_argument("missing number");
  std::size_t used = 0;
  unsigned long v = std::stoul(text, &used, base);
  if (used != text.size() || v > max) throw std::invalid_argument("bad number: " + text);
  return v;
}

std::uint16_t parseFileId(const std::string& text) {
  if (text.size() != 4) throw std::invalid_argument("file id needs 4 hex digits: " + text);
  return static_cast<std::uint16_t>(parseNumber(text, 16, 0xFFFF));
}

LogFraming parseLogFraming(const std::string& text) {
  if (text == "zeros") return LogFraming::Zeros;
  if (text == "ff") return LogFraming::Ff;
  if (text == "length") return LogFraming::LengthByte;
  if (text == "whole_length") return LogFraming::WholeLength;
  throw std::invalid_argument("expected zeros, ff, length or whole_length: " + text);
}

bool parseFlag(const std::string& text) {
  if (text == "yes" || text == "true" || text == "1") return true;
  if (text == "no" || text == "false" || text == "0") return false;
  throw std::invalid_argument("expected yes or no: " + text);
}

// Items of a record value: hex bytes and quoted texts (optionally ":width", padded with blanks),
// with an optional leading "tlv TT" that prefixes tag and length.
Bytes parseRecordValue(const std::string& text) {
  std::string rest = trim(text);
  bool tlv = false;
  std::uint8_t tag = 0;
  if (rest.rfind("tlv ", 0) == 0) {
    rest = trim(rest.substr(4));
    auto space = rest.find_first_of(" \t");
    std::string tagText = rest.substr(0, space);
    Bytes tagBytes = fromHex(tagText);
    if (tagBytes.size() != 1) throw std::invalid_argument("tlv needs a one-byte tag");
    tag = tagBytes[0];
    tlv = true;
    rest = space == std::string::npos ? "" : trim(rest.substr(space));
  }
  Bytes value;
  std::size_t i = 0;
  while (i < rest.size()) {
    if (rest[i] == '"') {
      auto close = rest.find('"', i + 1);
      if (close == std::string::npos) throw std::invalid_argument("unterminated text");
      std::string s = rest.substr(i + 1, close - i - 1);
      i = close + 1;
      if (i < rest.size() && rest[i] == ':') {
        std::size_t j = i + 1;
        while (j < rest.size() && std::isdigit(static_cast<unsigned char>(rest[j]))) ++j;
        std::size_t width = parseNumber(rest.substr(i + 1, j - i - 1), 10, 256);
        if (s.size() > width) throw std::invalid_argument("text longer than its width: " + s);
        s.resize(width, ' ');
        i = j;
      }
      value.insert(value.end(), s.begin(), s.end());
    } else {
      auto next = rest.find('"', i);
      Bytes hex = fromHex(rest.substr(i, next == std::string::npos ? std::string::npos : next - i));
      value.insert(value.end(), hex.begin(), hex.end());
      i = next == std::string::npos ? rest.size() : next;
    }
  }
  if (tlv) {
    if (value.size() > 254) throw std::invalid_argument("tlv value longer than 254 bytes");
    value.insert(value.begin(), {tag, static_cast<std::uint8_t>(value.size())});
  }
  if (value.size() > 256) throw std::invalid_argument("record longer than 256 bytes");
  return value;
}

struct Parser {
  Profile profile;
  std::string pin;
  bool pinSet = false;
  ElementaryFile* file = nullptr;

  void header(const std::string& line) {
    std::istringstream words(line.substr(1, line.size() - 2));
    std::string kind, id, extra;
    words >> kind >> id >> extra;
    if (kind != "ef" || id.empty() || !extra.empty()) throw std::invalid_argument("expected [ef XXXX]");
    file = &profile.files[parseFileId(id)];
  }

  void setting(const std::string& key, const std::string& value) {
    if (file) return fileSetting(key, value);
    if (key == "atr")
      profile.atr = fromHex(value);
    else if (key == "aid")
      profile.aid = fromHex(value);
    else if (key == "df")
      profile.applicationDf = parseFileId(value);
    else if (key == "pin") {
      pin = value;
      pinSet = true;
    } else if (key == "pin_file")
      profile.pinFile = parseFileId(value);
    else if (key == "pin_tries")
      profile.pinTries = static_cast<int>(parseNumber(value, 10, 15));
    else if (key == "tac_key")
      profile.tacKey = fromHex(value);
    else if (key == "serial")
      profile.nextSerial = static_cast<std::uint32_t>(parseNumber(value, 10, 99999999));
    else if (key == "log")
      profile.logFile = parseFileId(value);
    else if (key == "log_capacity")
      profile.logCapacity = parseNumber(value, 10, 255);
    else if (key == "log_framing")
      profile.logFraming = parseLogFraming(value);
    else if (key == "tac_needs_pin")
      profile.tacNeedsPin = parseFlag(value);
    else
      throw std::invalid_argument("unknown setting: " + key);
  }

  void fileSetting(const std::string& key, const std::string& value) {
    if (key == "binary") {
      file->binary = parseRecordValue(value);
      return;
    }
    std::size_t number = parseNumber(key, 10, 255);
    if (number == 0 || number > file->records.size() + 1)
      throw std::invalid_argument("records are numbered from 1 without gaps: " + key);
    Bytes record = parseRecordValue(value);
    if (number == file->records.size() + 1)
      file->records.push_back(record);
    else
      file->records[number - 1] = record;
  }

  void finish() {
    if (profile.atr.empty() || profile.atr.size() > 33) throw std::invalid_argument("atr needs 1 to 33 bytes");
    if (profile.aid.empty() || profile.aid.size() > 16) throw std::invalid_argument("aid needs 1 to 16 bytes");
    if (profile.tacKey.size() != 16) throw std::invalid_argument("tac_key needs 16 bytes");
    if (profile.logCapacity == 0) throw std::invalid_argument("log_capacity must be at least 1");
    if (pinSet) {
      auto& records = profile.files[profile.pinFile].records;
      if (records.empty()) records.emplace_back();
      records[0] = pinBlock(pin);
    }
    profile.files[profile.logFile];  // the log exists even when empty
    auto& log = profile.files[profile.logFile].records;
    if (log.size() > profile.logCapacity) throw std::invalid_argument("more log records than log_capacity");
  }
};

}  // namespace

Bytes pinBlock(const std::string& digits) {
  if (digits.empty() || digits.size() > 16 ||
      !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
    throw std::invalid_argument("a PIN is 1 to 16 digits");
  std::string text = digits;
  text.resize(16, 'F');
  return fromHex(text);
}

Profile Profile::parse(const std::string& text, const std::string& origin) {
  Parser parser;
  std::istringstream lines(text);
  std::string raw;
  int lineNumber = 0;
  try {
    while (std::getline(lines, raw)) {
      ++lineNumber;
      std::string line = trim(stripComment(raw));
      if (line.empty()) continue;
      if (line.front() == '[' && line.back() == ']') {
        parser.header(line);
        continue;
      }
      auto eq = line.find('=');
      if (eq == std::string::npos) throw std::invalid_argument("expected key = value");
      parser.setting(trim(line.substr(0, eq)), trim(line.substr(eq + 1)));
    }
    lineNumber = 0;
    parser.finish();
  } catch (const std::exception& e) {
    std::string where = origin + (lineNumber ? ":" + std::to_string(lineNumber) : "");
    throw ProfileError(where + ": " + e.what());
  }
  return parser.profile;
}

Profile Profile::load(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw ProfileError(path + ": cannot be read");
  std::ostringstream text;
  text << in.rdbuf();
  return parse(text.str(), path);
}

}  // namespace rvp::cardsim
