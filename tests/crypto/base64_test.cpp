#include <string>

#include <gtest/gtest.h>

#include "crypto/base64.h"

namespace {

std::string pattern(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>(i * 37 + 11);
  return s;
}

std::vector<std::size_t> lineLengths(const std::string& text) {
  std::vector<std::size_t> lengths;
  std::size_t start = 0;
  for (std::size_t nl = text.find('\n'); nl != std::string::npos; nl = text.find('\n', start)) {
    lengths.push_back(nl - start);
    start = nl + 1;
  }
  EXPECT_EQ(start, text.size()) << "text must end with a line break";
  return lengths;
}

TEST(Base64, LinedShapeBreaksEvery64AndAtTheEnd) {
  EXPECT_EQ(lineLengths(base64Encode(pattern(20))), (std::vector<std::size_t>{28}));
  EXPECT_EQ(lineLengths(base64Encode(pattern(128))), (std::vector<std::size_t>{64, 64, 44}));
  EXPECT_EQ(lineLengths(base64Encode(pattern(48))), (std::vector<std::size_t>{64}));
  EXPECT_EQ(base64Encode(std::string("hello")), "aGVsbG8=\n");
}

TEST(Base64, OneLineShapeHasNoBreak) {
  std::string data = pattern(100);
  std::string line = base64EncodeLine(reinterpret_cast<const unsigned char*>(data.data()), data.size());
  EXPECT_EQ(line.size(), 136u);
  EXPECT_EQ(line.find('\n'), std::string::npos);
  EXPECT_EQ(base64EncodeLine(nullptr, 0), "");
}

TEST(Base64, DecodeTakesEitherShapeAndKeepsEveryByte) {
  for (std::size_t n : {0u, 1u, 20u, 47u, 128u, 300u}) {
    std::string data = pattern(n);
    std::string line = base64EncodeLine(reinterpret_cast<const unsigned char*>(data.data()), n);
    EXPECT_EQ(base64Decode(base64Encode(data)), data) << n;
    EXPECT_EQ(base64Decode(line), data) << n;
    EXPECT_EQ(base64Decode(line + "\n"), data) << n;
  }
}

TEST(Base64, BadInputDecodesToNothing) {
  EXPECT_EQ(base64Decode("ab!d\n"), "");
  EXPECT_EQ(base64DecodeBlock("abc"), "");
  EXPECT_EQ(base64DecodeBlock("a*cd"), "");
}

TEST(Base64, BlockDecoderKeepsPaddingBytes) {
  // 24 characters of a 16-byte key decode to 18 bytes; the key is the first 16.
  std::string key = pattern(16);
  std::string text = base64EncodeLine(reinterpret_cast<const unsigned char*>(key.data()), 16);
  std::string decoded = base64DecodeBlock(text);
  ASSERT_EQ(decoded.size(), 18u);
  EXPECT_EQ(decoded.substr(0, 16), key);
}

}  // namespace
