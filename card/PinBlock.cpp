#include "card/PinBlock.h"

#include "card/GP.h"
#include "card/SecureWipe.h"

PinBlock::PinBlock(const char* digits, std::size_t count) {
  if (digits == nullptr) count = 0;
  const auto nibble = [&](std::size_t i) { return i < count ? digits[i] : 'F'; };
  for (std::size_t i = 0; i < sizeof bytes_; ++i) bytes_[i] = GP_Pack2To1(nibble(2 * i), nibble(2 * i + 1));
}

PinBlock::~PinBlock() { card::wipe(bytes_, sizeof bytes_); }
