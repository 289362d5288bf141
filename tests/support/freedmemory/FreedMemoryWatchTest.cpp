// The watch counts a block only for what its own owner wrote there and left: a secret left behind is
// found, a wiped one is not, and neither is what an earlier owner left in the same memory.
#include <gtest/gtest.h>

#include <cstring>
#include <new>

#include "FreedMemoryWatch.h"

namespace {

constexpr char kSecret[] = "137951";
constexpr std::size_t kBlock = 64;
// Past the allocator's own bookkeeping, which it writes over the first bytes of a freed block.
constexpr std::size_t kAt = 32;

char* newBlock() { return static_cast<char*>(::operator new(kBlock)); }

TEST(FreedMemoryWatch, CountsABlockFreedWithTheSecretAndNotOneWipedFirst) {
  const struct {
    const char* what;
    bool wipe;
    int hits;
  } cases[] = {{"left", false, 1}, {"wiped", true, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const freedmemory::FreedMemoryWatch watch(kSecret, 3);
    char* block = newBlock();
    std::memcpy(block + kAt, kSecret + 2, 3);
    if (c.wipe) std::memset(block + kAt, 0, 3);
    ::operator delete(block);
    EXPECT_EQ(watch.blocksHoldingSecret(), c.hits);
  }
}

// A plain build's malloc hands the memory of a block just freed to the next request of its size as it
// is; what the first owner left there is no fault of the second.
TEST(FreedMemoryWatch, WhatAnEarlierOwnerLeftInTheMemoryIsNotCounted) {
  char* earlier = newBlock();
  std::memcpy(earlier + kAt, kSecret, sizeof kSecret - 1);
  ::operator delete(earlier);  // unwiped, before the watch
  const freedmemory::FreedMemoryWatch watch(kSecret, 3);
  char* later = newBlock();
  later[0] = 'x';
  ::operator delete(later);
  EXPECT_EQ(watch.blocksHoldingSecret(), 0);
}

}  // namespace
