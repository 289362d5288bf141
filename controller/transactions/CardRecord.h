// The byte block a card step has the card write to its transaction log.
//
// A slot is a place in the block and how text goes in: ASCII as it stands, EBCDIC one byte a
// character, or EBCDIC packed two characters a byte (the low nibble of each). Texts shorter than their
// slot leave zero bytes; a text longer than its slot never goes in: card steps check every page text
// against its slot (fits) before they send any card command.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

enum class SlotCoding { Ascii, Ebcdic, Packed };

struct RecordSlot {
  std::size_t offset;
  std::size_t bytes;
  SlotCoding coding = SlotCoding::Ascii;
  // Characters the slot holds: its bytes, or two a byte when packed.
  std::size_t capacity() const { return coding == SlotCoding::Packed ? bytes * 2 : bytes; }
};

// A text and the slot it is meant for.
struct SlotText {
  const RecordSlot& slot;
  const std::string& text;
};

// Whether every text fits its slot.
bool fits(std::initializer_list<SlotText> texts);

class CardRecord {
 public:
  explicit CardRecord(std::size_t length) : bytes_(length, 0) {}

  // Places the text in its slot (cut to the slot; callers check with fits first).
  CardRecord& put(const RecordSlot& slot, const std::string& text);

  const std::vector<unsigned char>& bytes() const { return bytes_; }
  std::size_t size() const { return bytes_.size(); }

 private:
  std::vector<unsigned char> bytes_;
};

// Slots shared by the bank records: code, amount, terminal id, check code, client date-time.
namespace bankslot {
constexpr RecordSlot kCode{0, 4};
constexpr RecordSlot kAmount{4, 14};
constexpr RecordSlot kTerminalId{18, 8};
constexpr RecordSlot kCheckCode{26, 8};
constexpr RecordSlot kDateTime{34, 14};
}  // namespace bankslot

// Slots shared by the postal records (transfer, account service, payment).
namespace postalslot {
constexpr RecordSlot kCode{0, 4};
constexpr RecordSlot kAmount{4, 14};
constexpr RecordSlot kAccountField{18, 16};
constexpr RecordSlot kProcessingCode{34, 3, SlotCoding::Packed};
constexpr RecordSlot kCheckCode{37, 4, SlotCoding::Packed};
constexpr RecordSlot kDateTime{41, 7, SlotCoding::Packed};
constexpr RecordSlot kAccountUsed{48, 16};
}  // namespace postalslot

// Any account slot: sixteen characters.
constexpr RecordSlot kAccountSlot{0, 16};
