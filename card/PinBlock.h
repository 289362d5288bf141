#pragma once
// A PIN as the card takes it in VERIFY and in its PIN record: the digits left-aligned in sixteen 'F'
// nibbles, packed to 8 bytes. Packed straight from the caller's digits (no copy of them is made) and
// wiped when the block goes, so the PIN lives no longer than the command that carries it.

#include <cstddef>

class PinBlock {
 public:
  // The first `count` characters of `digits` (at most 16 are used).
  PinBlock(const char* digits, std::size_t count);
  ~PinBlock();
  PinBlock(const PinBlock&) = delete;
  PinBlock& operator=(const PinBlock&) = delete;

  const unsigned char* bytes() const { return bytes_; }

 private:
  unsigned char bytes_[8];
};
