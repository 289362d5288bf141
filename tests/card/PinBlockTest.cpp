// The PIN block: how digits are packed, and that the block wipes itself when it goes.
#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <string>

#include "card/GP.h"
#include "card/PinBlock.h"

namespace {

std::string hexOf(const unsigned char* bytes, std::size_t n) { return GP_UnpackData(bytes, n); }

TEST(PinBlock, DigitsLeftAlignedInFs) {
  const struct {
    const char* digits;
    std::size_t count;
    const char* block;
  } cases[] = {
      {"1234", 4, "1234FFFFFFFFFFFF"},
      {"567890", 6, "567890FFFFFFFFFF"},
      {"97531", 5, "97531FFFFFFFFFFF"},
      {"1234567890123456", 16, "1234567890123456"},
      {"12345678901234567", 17, "1234567890123456"},  // no 17th digit
      {"123456", 4, "1234FFFFFFFFFFFF"},              // only the digits counted
      {"", 0, "FFFFFFFFFFFFFFFF"},
      {nullptr, 3, "FFFFFFFFFFFFFFFF"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.block);
    const PinBlock block(c.digits, c.count);
    EXPECT_EQ(hexOf(block.bytes(), 8), c.block);
  }
}

// The block's storage holds no digit once the block is gone.
TEST(PinBlock, WipesItselfWhenItGoes) {
  alignas(PinBlock) unsigned char storage[sizeof(PinBlock)];
  PinBlock* block = new (storage) PinBlock("97531864", 8);
  ASSERT_EQ(hexOf(block->bytes(), 8), "97531864FFFFFFFF");
  block->~PinBlock();
  EXPECT_EQ(hexOf(storage, sizeof storage), std::string(2 * sizeof storage, '0'));
}

}  // namespace
