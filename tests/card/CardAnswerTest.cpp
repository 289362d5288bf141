// The one reading of card answers: status word, record values against their length byte, and the
// answer of a write with serial number and TAC.
#include "card/CardAnswer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes bytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(CardAnswerView, StatusWordOnlyWithTwoBytes) {
  const struct {
    Bytes answer;
    bool hasStatusWord;
    FiscSW sw;
    std::size_t dataLength;
  } cases[] = {
      {{}, false, 0, 0},
      {{0x90}, false, 0, 0},
      {{0x90, 0x00}, true, 0x9000, 0},
      {{0x01, 0x02, 0x63, 0xC1}, true, 0x63C1, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer.size());
    const CardAnswer answer(c.answer.data(), c.answer.size());
    EXPECT_EQ(answer.hasStatusWord(), c.hasStatusWord);
    EXPECT_EQ(answer.statusWord(), c.sw);
    EXPECT_EQ(answer.ok(), c.sw == 0x9000);
    EXPECT_EQ(answer.dataLength(), c.dataLength);
  }
}

TEST(RecordValues, MustBeAsLongAsTheirLengthByteAnnouncesAndHoldTheWidthRead) {
  const Bytes issuer = Bytes{0x01, 0x08} + bytes("00400001");
  const struct {
    const char* name;
    Bytes record;
    std::size_t width;
    bool readable;
  } cases[] = {
      {"whole", issuer, 8, true},
      {"whole, narrower read", issuer, 3, true},
      {"cut in half", Bytes(issuer.begin(), issuer.begin() + 5), 8, false},
      {"length byte beyond the answer", Bytes{0x01, 0x09} + bytes("00400001"), 8, false},
      {"announces fewer than the width", Bytes{0x01, 0x03} + bytes("00400001"), 8, false},
      {"header only", Bytes{0x01}, 0, false},
      {"empty value", Bytes{0x01, 0x00}, 0, true},
      {"bytes after the value", issuer + Bytes{0xEE, 0xEE}, 8, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto value = recordValue(c.record.data(), c.record.size(), c.width);
    ASSERT_EQ(value.has_value(), c.readable);
    if (value) {
      EXPECT_EQ(value->bytes, c.record.data() + 2);
      EXPECT_EQ(value->length, c.record[1]);
    }
  }
  EXPECT_FALSE(recordValue(nullptr, 10, 0));
}

TEST(WriteAnswers, NeedAnEightByteSerialAndExactlyTheTacTheyAnnounceOfAtLeastEightBytes) {
  const Bytes tac{0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8};
  const Bytes good = Bytes{0x00} + bytes("00000042") + Bytes{0x00, 0x08} + tac;
  const struct {
    const char* name;
    Bytes answer;
    bool accepted;
  } cases[] = {
      {"as the card sends it", good, true},
      {"longer TAC", Bytes{0x00} + bytes("00000042") + Bytes{0x00, 0x0A} + tac + Bytes{0xB1, 0xB2}, true},
      {"nothing", {}, false},
      {"cut before the TAC length", Bytes(good.begin(), good.begin() + 10), false},
      {"TAC cut short", Bytes(good.begin(), good.end() - 1), false},
      {"TAC length 0", Bytes{0x00} + bytes("00000042") + Bytes{0x00, 0x00}, false},
      {"TAC length 4", Bytes{0x00} + bytes("00000042") + Bytes{0x00, 0x04} + Bytes(tac.begin(), tac.begin() + 4),
       false},
      {"TAC length beyond the answer", Bytes{0x00} + bytes("00000042") + Bytes{0x01, 0x00} + tac, false},
      {"bytes after the TAC", good + Bytes{0xEE}, false},
      {"zero serial", Bytes(9, 0x00) + Bytes{0x00, 0x08} + tac, false},
      {"serial with a zero byte", Bytes{0x00} + bytes("0000") + Bytes{0x00} + bytes("042") + Bytes{0x00, 0x08} + tac,
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto written = writeAnswer(c.answer.data(), c.answer.size());
    ASSERT_EQ(written.has_value(), c.accepted);
    if (written) {
      EXPECT_EQ(written->serial, "00000042");
      EXPECT_EQ(written->tac, c.answer.data() + 11);
      EXPECT_EQ(written->tacLength, c.answer.size() - 11);
    }
  }
}

}  // namespace
