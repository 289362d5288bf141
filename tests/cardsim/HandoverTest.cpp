// One slot handed from one test process to the next. Run as two ctest entries, one after the other:
// the first exits while still holding its card exclusively through a connection the bench does not
// know of (opened past its wrapping of the PC/SC calls, as by a program the test runs), so pcscd drops
// it only after the exit and after the card was pulled out; the second must get its own card seen
// and connectable at once.
#include <gtest/gtest.h>

#include <winscard.h>

#include "PcscConnection.h"
#include "cardbench/CardBench.h"

// The PC/SC calls themselves, not the bench's wrappers that end what a finished test left open.
extern "C" LONG __real_SCardEstablishContext(DWORD scope, LPCVOID reserved1, LPCVOID reserved2, LPSCARDCONTEXT context);
extern "C" LONG __real_SCardConnect(SCARDCONTEXT context, LPCSTR reader, DWORD shareMode, DWORD protocols,
                                    LPSCARDHANDLE card, LPDWORD activeProtocol);

namespace rvp::cardsim::testing {
namespace {

const std::string selectAid = "00A4040008A00000017295000100";

class Handover : public cardbench::CardBenchTest {};

TEST_F(Handover, ExitsStillConnectedToItsCard) {
  cardbench::BenchCard& card = startCard(0, "bank");
  SCARDCONTEXT context = 0;
  ASSERT_EQ(__real_SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context), SCARD_S_SUCCESS);
  SCARDHANDLE handle = 0;
  DWORD protocol = 0;
  ASSERT_EQ(__real_SCardConnect(context, card.readerName().c_str(), SCARD_SHARE_EXCLUSIVE, SCARD_PROTOCOL_T1, &handle,
                                &protocol),
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
