#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "crypto/CVKB.h"
#include "crypto/hexcodec.h"
#include "crypto/softdes.h"
#include "test_sources.h"

namespace {

bool isPermutationOfDigits(std::string s) {
  std::sort(s.begin(), s.end());
  return s == "0123456789";
}

std::string shownRow(const CVKB& kb) {
  std::string row;
  for (int p = 0; p < 10; ++p) row += kb.GetKBChar(p);
  return row;
}

std::string label(const CVKB& kb, int position) {
  std::string out;
  EXPECT_EQ(kb.GetEncKBChar(position, out), 0);
  return out;
}

// The keypad's own key and IV, seen from outside: a seeded source replayed in the same order.
struct ReplayedSecrets {
  unsigned char iv[8];
  unsigned char key[16];
  // The first shuffle after them: the layout is drawn first, then the rows, each digit redrawn
  // while it repeats one placed earlier in its row.
  int layout = 0;
  std::string rows[4];
  explicit ReplayedSecrets(unsigned seed) {
    RandomSource replay = seededSource(seed);
    for (unsigned char& b : iv) b = static_cast<unsigned char>(*randomByteDraw(replay));
    for (unsigned char& b : key) b = static_cast<unsigned char>(*randomByteDraw(replay));
    layout = *randomByteDraw(replay) % 4;
    for (std::string& row : rows) {
      while (row.size() < 10) {
        char digit = static_cast<char>('0' + *randomByteDraw(replay) % 10);
        if (row.find(digit) == std::string::npos) row += digit;
      }
    }
  }
};

TEST(Keypad, ShuffleGivesPermutationsAndTheShownRowIsOneOfThem) {
  CVKB kb(seededSource(1));
  ASSERT_TRUE(kb.isReady());
  EXPECT_EQ(kb.GetKBChar(0), 0);  // nothing shown before the first shuffle
  for (int round = 0; round < 5; ++round) {
    ASSERT_EQ(kb.genKBString(), 0);
    EXPECT_TRUE(isPermutationOfDigits(shownRow(kb)));
  }
  EXPECT_EQ(kb.GetKBChar(10), 0);
  EXPECT_EQ(kb.GetKBChar(-1), 0);
}

TEST(Keypad, LabelsDecipherToTheFourRowsOfTheirPosition) {
  const unsigned seed = 42;
  CVKB kb(seededSource(seed));
  ASSERT_EQ(kb.genKBString(), 0);
  ReplayedSecrets secrets(seed);
  std::string rows[4];
  for (int p = 0; p < 10; ++p) {
    std::string hex = label(kb, p);
    ASSERT_EQ(hex.size(), 16u);
    EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    std::string cipher = *hexcodec::toBytes(hex), clear(8, '\0');
    Des2_Decrypt_CBC(secrets.key, secrets.iv, reinterpret_cast<const unsigned char*>(cipher.data()), 8,
                     reinterpret_cast<unsigned char*>(&clear[0]));
    EXPECT_EQ(clear.substr(4), std::string(4, '\x04'));
    for (int r = 0; r < 4; ++r) rows[r] += clear[r];
  }
  int shownMatches = 0;
  for (const std::string& row : rows) {
    EXPECT_TRUE(isPermutationOfDigits(row)) << row;
    shownMatches += row == shownRow(kb);
  }
  EXPECT_GE(shownMatches, 1);
  for (int r = 0; r < 4; ++r) EXPECT_EQ(rows[r], secrets.rows[r]) << r;
  EXPECT_EQ(shownRow(kb), secrets.rows[secrets.layout]);
}

TEST(Keypad, PressesReadBackAsTheDigitsShown) {
  CVKB kb(seededSource(3));
  ASSERT_EQ(kb.genKBString(), 0);
  std::string typed, expected;
  for (int p : {4, 0, 9, 9, 2}) {
    typed += label(kb, p);
    expected += kb.GetKBChar(p);
  }
  std::string back;
  EXPECT_EQ(kb.GetKBStrFromEncStr(typed, back), 0);
  EXPECT_EQ(back, expected);
}

TEST(Keypad, PutThenGetRoundTrips) {
  CVKB kb(seededSource(4));
  ASSERT_EQ(kb.genKBString(), 0);
  std::string enc, back;
  kb.PutKBStrToEncKBStr("0123456789", enc);
  EXPECT_EQ(enc.size(), 160u);
  kb.GetKBStrFromEncStr(enc, back);
  EXPECT_EQ(back, "0123456789");
  kb.PutKBStrToEncKBStr("1x", enc);
  kb.GetKBStrFromEncStr(enc, back);
  EXPECT_EQ(back, std::string("1") + kb.GetKBChar(0));
  kb.PutKBStrToEncKBStr(std::string(20, '7'), enc);
  EXPECT_EQ(enc.size(), 16u * 16u);
}

TEST(Keypad, OnlyWholeLabelsOfThisKeypadAreRead) {
  CVKB kb(seededSource(5));
  ASSERT_EQ(kb.genKBString(), 0);
  std::string two = label(kb, 1) + label(kb, 2), back;
  kb.GetKBStrFromEncStr(two.substr(0, 15), back);
  EXPECT_EQ(back, "");
  kb.GetKBStrFromEncStr(two + "01234567", back);
  EXPECT_EQ(back.size(), 2u);
  kb.GetKBStrFromEncStr("ZZZZZZZZZZZZZZZZ" + two, back);
  EXPECT_EQ(back, "");
  std::string seventeen;
  for (int i = 0; i < 17; ++i) seventeen += label(kb, i % 10);
  kb.GetKBStrFromEncStr(seventeen, back);
  EXPECT_EQ(back.size(), 16u);
}

TEST(Keypad, ReadingUsesTheCurrentShuffle) {
  CVKB kb(seededSource(6));
  ASSERT_EQ(kb.genKBString(), 0);
  std::string enc, back;
  kb.PutKBStrToEncKBStr("5", enc);
  ASSERT_EQ(kb.genKBString(), 0);
  std::string nowLabel;
  for (int p = 0; p < 10; ++p)
    if (kb.GetKBChar(p) == '5') nowLabel = label(kb, p);
  kb.GetKBStrFromEncStr(nowLabel, back);
  EXPECT_EQ(back, "5");
}

TEST(Keypad, TwoKeypadsLabelTheSameDigitsDifferently) {
  CVKB a(seededSource(10)), b(seededSource(11));
  ASSERT_EQ(a.genKBString(), 0);
  ASSERT_EQ(b.genKBString(), 0);
  std::string encA, encB, back;
  a.PutKBStrToEncKBStr("0123456789", encA);
  b.PutKBStrToEncKBStr("0123456789", encB);
  for (int i = 0; i < 10; ++i) EXPECT_NE(encA.substr(i * 16, 16), encB.substr(i * 16, 16));
  b.GetKBStrFromEncStr(encA, back);
  EXPECT_NE(back, "0123456789");

  CVKB real1, real2;  // the library's own generator
  ASSERT_EQ(real1.genKBString(), 0);
  ASSERT_EQ(real2.genKBString(), 0);
  EXPECT_NE(label(real1, 0), label(real2, 0));
}

TEST(Keypad, FailingSourceIsReported) {
  CVKB dead(failingSource());
  EXPECT_FALSE(dead.isReady());
  EXPECT_EQ(dead.genKBString(), -1);
  std::string out = "x";
  EXPECT_EQ(dead.GetEncKBChar(0, out), -1);
  EXPECT_EQ(out, "");
  EXPECT_EQ(dead.GetKBChar(0), 0);

  CVKB halfway(failingAfter(30));  // key and IV drawn, shuffle fails part-way
  ASSERT_TRUE(halfway.isReady());
  EXPECT_EQ(halfway.genKBString(), -1);
  EXPECT_EQ(halfway.GetKBChar(0), 0);

  CVKB stuck(stuckSource(3));  // never yields a second digit: must give up, not spin
  ASSERT_TRUE(stuck.isReady());
  EXPECT_EQ(stuck.genKBString(), -1);
}

TEST(Keypad, FailedReshuffleKeepsTheLayout) {
  auto works = std::make_shared<bool>(true);
  RandomSource inner = seededSource(8);
  CVKB kb([works, inner](unsigned char* b, std::size_t n) { return *works && inner(b, n); });
  ASSERT_EQ(kb.genKBString(), 0);
  std::string before = shownRow(kb), labelBefore = label(kb, 3);
  *works = false;
  EXPECT_EQ(kb.genKBString(), -1);
  EXPECT_EQ(shownRow(kb), before);
  EXPECT_EQ(label(kb, 3), labelBefore);
}

TEST(Keypad, PaddedCipherHelpers) {
  const unsigned char key[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  const unsigned char iv[8] = {'0', '0', '0', '0', '0', '0', '0', '0'};
  unsigned char cipher[32], clear[32];
  int n = 0, m = 0;
  EXPECT_EQ(CVKB::encrypt(key, iv, reinterpret_cast<const unsigned char*>("12345678"), 8, cipher, &n), 0);
  EXPECT_EQ(n, 16);
  EXPECT_EQ(CVKB::decrypt(key, iv, cipher, n, clear, &m), 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(clear), m), "12345678");
  const unsigned char badPad[8] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 9};
  Des2_Encrypt_CBC(key, iv, badPad, 8, cipher);
  EXPECT_EQ(CVKB::decrypt(key, iv, cipher, 8, clear, &m), -2);
}

}  // namespace
