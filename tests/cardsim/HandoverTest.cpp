// One slot handed from one test process to the next. Run as two ctest entries, one after the other:
// the first exits while still holding its card exclusively (as the controller's process-wide
// connection does; pcscd then resets the card when it drops the connection), the second must get its
// own card seen at once.
#include <gtest/gtest.h>

#include <winscard.h>

#include "PcscConnection.h"
#include "cardbench/CardBench.h"

namespace rvp::cardsim::testing {
namespace {

const std::string selectAid = "00A4040008A00000017295000100";

class Handover : public cardbench::CardBenchTest {};

TEST_F(Handover, ExitsStillConnectedToItsCard) {
  cardbench::BenchCard& card = startCard(0, "bank");
  SCARDCONTEXT context = 0;
  ASSERT_EQ(SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context), SCARD_S_SUCCESS);
  SCARDHANDLE handle = 0;
  DWORD protocol = 0;
  ASSERT_EQ(
      SCardConnect(context, card.readerName().c_str(), SCARD_SHARE_EXCLUSIVE, SCARD_PROTOCOL_T1, &handle, &protocol),
      SCARD_S_SUCCESS);
  // Neither disconnected nor released: pcscd drops the connection when the process is gone.
}

TEST_F(Handover, NextProcessGetsItsCardSeen) {
  cardbench::BenchCard& card = startCard(0, "postal");
  PcscConnection c(card.readerName());
  EXPECT_EQ(statusOf(c.transmit(selectAid)), 0x9000);
}

}  // namespace
}  // namespace rvp::cardsim::testing
