#include "card/GP.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> pack(const std::string& hex, std::size_t capacity = 64) {
  std::vector<unsigned char> out(capacity, 0xEE);
  out.resize(GP_PackData(hex.c_str(), hex.size(), out.data(), out.size()));
  return out;
}

using Bytes = std::vector<unsigned char>;

TEST(HexPacking, PacksEitherCaseAndTreatsNonHexAsZero) {
  EXPECT_EQ(pack("0a1B"), (Bytes{0x0A, 0x1B}));
  EXPECT_EQ(pack("zz"), (Bytes{0x00}));
  EXPECT_EQ(pack("g1"), (Bytes{0x01}));
  EXPECT_EQ(pack("00A4040008A00000017295000100"),
            (Bytes{0x00, 0xA4, 0x04, 0x00, 0x08, 0xA0, 0x00, 0x00, 0x01, 0x72, 0x95, 0x00, 0x01, 0x00}));
  EXPECT_EQ(GP_Pack2To1('f', 'F'), 0xFF);
  EXPECT_EQ(GP_Pack2To1('1', 'x'), 0x10);
}

TEST(HexPacking, OddLengthTakesTheNextCharacterAsLastNibble) {
  // The character after the n packed ones is the last low nibble: the text's next character, or its
  // terminating zero read as '0'.
  const struct {
    const char* text;
    std::size_t n;
    Bytes packed;
  } cases[] = {
      {"ABCD", 3, {0xAB, 0xCD}},
      {"ABC", 3, {0xAB, 0xC0}},
      {"1", 1, {0x10}},
      {"7f9", 1, {0x7F}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    unsigned char out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    ASSERT_EQ(GP_PackData(c.text, c.n, out, sizeof out), c.packed.size());
    EXPECT_EQ(Bytes(out, out + c.packed.size()), c.packed);
    EXPECT_EQ(out[c.packed.size()], 0xEE) << "no terminator is written";
  }
}

TEST(HexPacking, OddLengthAtTheTextsEndReadsNothingPastIt) {
  char* text = new char[4]{'A', 'B', 'C', '\0'};  // on the heap, so a read past it is caught
  unsigned char out[2] = {0xEE, 0xEE};
  EXPECT_EQ(GP_PackData(text, 3, out, sizeof out), 2u);
  EXPECT_EQ(out[1], 0xC0);
  delete[] text;
}

TEST(HexPacking, CountLongerThanTheTextReadsNothingPastItsEnd) {
  char* text = new char[2]{'7', '\0'};  // on the heap, so a read past it is caught
  unsigned char out[2] = {0xEE, 0xEE};
  EXPECT_EQ(GP_PackData(text, 4, out, sizeof out), 2u);
  EXPECT_EQ(out[0], 0x70);
  EXPECT_EQ(out[1], 0x00);
  delete[] text;
}

TEST(HexPacking, StopsAtTheOutputCapacity) {
  EXPECT_EQ(pack("10801234", 2), (Bytes{0x10, 0x80}));
  EXPECT_TRUE(pack("1080", 0).empty());
  EXPECT_EQ(GP_PackData(nullptr, 4, nullptr, 4), 0u);
}

TEST(HexUnpacking, WritesUpperCaseWithoutTerminator) {
  const unsigned char bytes[] = {0x0A, 0xFF};
  char out[6];
  std::memset(out, '#', sizeof out);
  EXPECT_EQ(GP_UnpackData(bytes, 2, out, sizeof out), 4u);
  EXPECT_EQ(std::string(out, 5), "0AFF#");
  EXPECT_EQ(GP_UnpackData(bytes, 2), "0AFF");
}

TEST(HexUnpacking, ZeroBytesLeaveAnEmptyText) {
  char out[4] = {'x', 'y', 'z', '\0'};
  EXPECT_EQ(GP_UnpackData(nullptr, 0, out, sizeof out), 0u);
  EXPECT_EQ(out[0], '\0');
  EXPECT_EQ(GP_UnpackData(reinterpret_cast<const unsigned char*>("a"), 0), "");
}

TEST(HexUnpacking, WritesOnlyWholeBytesThatFit) {
  const unsigned char bytes[] = {0x12, 0x34, 0x56};
  char out[6];
  std::memset(out, '#', sizeof out);
  EXPECT_EQ(GP_UnpackData(bytes, 3, out, 5), 4u);
  EXPECT_EQ(std::string(out, 6), "1234##");
}

TEST(HexRoundTrip, AllByteValues) {
  std::vector<unsigned char> bytes(256);
  for (int i = 0; i < 256; ++i) bytes[i] = static_cast<unsigned char>(i);
  const std::string hex = GP_UnpackData(bytes.data(), bytes.size());
  ASSERT_EQ(hex.size(), 512u);
  EXPECT_EQ(pack(hex, 256), bytes);
}

TEST(VersionText, IsCutToTheCallersBuffer) {
  char version[6], date[32];
  GP_GetAPIVersion(version, sizeof version, date, sizeof date);
  EXPECT_STREQ(version, "GPAPI");
  EXPECT_STREQ(date, "2002.09.26");
}

}  // namespace
