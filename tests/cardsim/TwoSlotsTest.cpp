// Both vpcd slots at once, each with its own card.
#include <gtest/gtest.h>

#include "PcscConnection.h"
#include "cardbench/CardBench.h"

namespace rvp::cardsim::testing {
namespace {

class TwoSlots : public cardbench::CardBenchTest {};

TEST_F(TwoSlots, EachReaderReachesItsOwnCard) {
  auto& bank = startCard(0, "bank");
  auto& postal = startCard(1, "postal");
  ASSERT_NE(bank.readerName(), postal.readerName());
  for (auto* card : {&bank, &postal}) {
    PcscConnection c(card->readerName());
    c.transmit("00A4040008A00000017295000100");
    c.transmit("00A40200021001");
    Bytes issuer = dataOf(c.transmit("00B2010400"));
    EXPECT_EQ(std::string(issuer.begin() + 2, issuer.end()), card == &bank ? "00400001" : "70000019");
    EXPECT_EQ(card->apduLog().size(), 3u);
  }
  postal.remove();
  EXPECT_TRUE(cardbench::readerState(bank.readerName()) & SCARD_STATE_PRESENT) << "slot 0 is not disturbed";
}

}  // namespace
}  // namespace rvp::cardsim::testing
