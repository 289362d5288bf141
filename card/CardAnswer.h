#pragma once
// One place that reads card answers, so the success status word and the length rules are not
// re-derived by every caller.
//
// - CardAnswer: a read-only view of a whole answer (data, SW1, SW2), by default the last one in
//   baRecBuf/ulRecLen.
// - RecordValue: the data of a READ RECORD answer from a data file laid out as tag, length byte,
//   value (EF 1001, 0001, 1002), checked against its own length byte and the width a caller reads.
//   The log's records (EF 1080) carry no length byte: their reader checks them by their kind.
// - WriteAnswer: the answer of WRITE RECORD WITH SNUM/TAC (unused byte, 8-byte serial number,
//   two-byte TAC length, TAC), checked once for every write.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

using FiscSW = std::uint32_t;

constexpr FiscSW kSwOk = 0x9000;

class CardAnswer {
 public:
  CardAnswer(const unsigned char* bytes, std::size_t length) : bytes_(bytes), length_(bytes ? length : 0) {}
  // The answer the last transmission left in baRecBuf.
  static CardAnswer last();

  // An answer shorter than its two status bytes is no answer at all.
  bool hasStatusWord() const { return length_ >= 2; }
  // SW1 << 8 | SW2, or 0 without a status word.
  FiscSW statusWord() const;
  bool ok() const { return statusWord() == kSwOk; }
  // The bytes before the status word.
  std::size_t dataLength() const { return hasStatusWord() ? length_ - 2 : 0; }
  const unsigned char* data() const { return bytes_; }

 private:
  const unsigned char* bytes_;
  std::size_t length_;
};

// The value of one record: bytes 2.. of the data, as long as byte 1 announces. Empty when the data is
// shorter than its header, is not exactly as long as it announces (cut short, or followed by bytes of
// unknown meaning), or holds fewer than `width` bytes.
struct RecordValue {
  const unsigned char* bytes;
  std::size_t length;  // as announced by the record's length byte
};
std::optional<RecordValue> recordValue(const unsigned char* data, std::size_t length, std::size_t width);

// The serial number and TAC of a write; empty unless the answer holds a serial number of 8 non-zero
// bytes, a TAC length of at least 8 and exactly the TAC bytes it announces.
struct WriteAnswer {
  std::string serial;        // 8 characters
  const unsigned char* tac;  // inside the answer
  std::size_t tacLength;
};
constexpr std::size_t kWriteSerialAt = 1, kWriteSerialLength = 8, kWriteTacLengthAt = 9, kWriteTacAt = 11;
constexpr std::size_t kMinTacLength = 8;
std::optional<WriteAnswer> writeAnswer(const unsigned char* answer, std::size_t length);
