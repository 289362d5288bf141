// What each mangling fault makes of a real answer (the pulls themselves are seen through pcscd in the
// card and transaction tests).
#include <gtest/gtest.h>

#include "cardsim/VirtualCard.h"

namespace rvp::cardsim {
namespace {

TEST(Faults, MangleTheRealAnswerAsNamed) {
  const Bytes answer = fromHex("0108303034303030303190 00");
  const struct {
    const char* name;
    Fault fault;
    Bytes sent;
  } cases[] = {
      {"status word", Fault::statusWord(0x6A82), fromHex("6A82")},
      {"replaced", Fault::replace(fromHex("5A")), fromHex("5A")},
      {"answer cut to one byte", Fault::cutAnswer(1), fromHex("01")},
      {"answer cut by its last byte", Fault::cutAnswer(answer.size() - 1), fromHex("0108303034303030303190")},
      {"cut beyond its length", Fault::cutAnswer(99), answer},
      {"data cut, status word kept", Fault::cutData(5), fromHex("01083030349000")},
      {"data cut beyond its length", Fault::cutData(99), answer},
      {"extended", Fault::extend(fromHex("EEEE")), fromHex("01083030343030303031EEEE9000")},
      {"answered, then pulled", Fault::answerThenPull(), answer},
  };
  for (const auto& c : cases) EXPECT_EQ(toHex(c.fault.mangle(answer)), toHex(c.sent)) << c.name;
}

}  // namespace
}  // namespace rvp::cardsim
