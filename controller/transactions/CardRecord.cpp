#include "CardRecord.h"

#include <algorithm>

#include "card/Ebcdic.h"

bool fits(std::initializer_list<SlotText> texts) {
  return std::all_of(texts.begin(), texts.end(), [](const SlotText& t) { return t.text.size() <= t.slot.capacity(); });
}

CardRecord& CardRecord::put(const RecordSlot& slot, const std::string& text) {
  if (slot.offset >= bytes_.size()) return *this;
  std::size_t room = std::min(slot.bytes, bytes_.size() - slot.offset);
  unsigned char* at = bytes_.data() + slot.offset;
  if (slot.coding == SlotCoding::Packed) {
    // Missing characters count as zero bytes before packing.
    std::string chars(room * 2, '\0');
    std::copy_n(text.begin(), std::min(text.size(), chars.size()), chars.begin());
    ascii2ebcdic(chars.data(), chars.data(), chars.size());
    getRChar(at, chars.data(), chars.size());
    return *this;
  }
  std::size_t n = std::min(text.size(), room);
  std::copy_n(reinterpret_cast<const unsigned char*>(text.data()), n, at);
  if (slot.coding == SlotCoding::Ebcdic) ascii2ebcdic(at, at, n);
  return *this;
}
