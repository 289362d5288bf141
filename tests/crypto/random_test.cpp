#include <algorithm>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "crypto/random.h"
#include "test_sources.h"

namespace {

// A source that hands out the given byte as the last of each draw.
RandomSource lastByteIs(std::vector<unsigned char> values) {
  auto queue = std::make_shared<std::vector<unsigned char>>(std::move(values));
  auto next = std::make_shared<std::size_t>(0);
  return [queue, next](unsigned char* buf, std::size_t len) {
    for (std::size_t i = 0; i < len; ++i) buf[i] = 0xAA;
    buf[len - 1] = (*queue)[(*next)++ % queue->size()];
    return true;
  };
}

TEST(RandomDraw, IsTheLastOfSixteenBytes) {
  EXPECT_EQ(randomByteDraw(lastByteIs({0x7F})), 0x7F);
  EXPECT_FALSE(randomByteDraw(failingSource()));
  EXPECT_FALSE(randomByteDraw(RandomSource()));
}

TEST(SessionNumber, SixteenCharactersOfDigitsAndCapitals) {
  std::set<std::string> seen;
  for (int i = 0; i < 20; ++i) {
    std::string n = getSessionNo();
    ASSERT_EQ(n.size(), 16u);
    EXPECT_EQ(n.find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos);
    seen.insert(n);
  }
  EXPECT_EQ(seen.size(), 20u);
}

TEST(SessionNumber, SixteenDrawsOfOneCallMapModulo36) {
  const unsigned char bytes[16] = {0, 9, 10, 35, 36, 252, 253, 254, 255, 71, 0, 9, 10, 35, 36, 252};
  int calls = 0;
  RandomSource once = [&](unsigned char* buf, std::size_t len) {
    ++calls;
    if (len != sizeof bytes) return false;
    std::copy(bytes, bytes + len, buf);
    return true;
  };
  EXPECT_EQ(getSessionNo(once), "09AZ00123Z09AZ00");
  EXPECT_EQ(calls, 1);
}

TEST(SessionNumber, FailingSourceGivesNoNumberNotZeros) {
  EXPECT_EQ(getSessionNo(failingSource()), "");
  ScopedRandomSource scoped(failingSource());
  EXPECT_EQ(getSessionNo(), "");
  EXPECT_FALSE(MagicNum());
}

TEST(SessionNumber, ScopedSourceIsRestored) {
  { ScopedRandomSource scoped(failingSource()); }
  EXPECT_EQ(getSessionNo().size(), 16u);
}

}  // namespace
