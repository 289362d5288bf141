// A card still held by a connection when the next test gets its slot: the bench hands the card over only
// once pcscd reports it held by no other process, fails clearly when it never is, and ends the
// connections a finished test left open.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <winscard.h>

#include <chrono>
#include <stdexcept>
#include <string>

#include "PcscConnection.h"
#include "cardbench/CardBench.h"

namespace rvp::cardsim::testing {
namespace {

using cardbench::BenchCard;
using cardbench::heldByAConnection;
using cardbench::readerState;

const std::string selectAid = "00A4040008A00000017295000100";

// One fixture test of its own, so a test can finish one (parking its card) and start the next.
class OneTest : public cardbench::CardBenchTest {
 public:
  using CardBenchTest::startCard;
  using CardBenchTest::TearDown;
  void TestBody() override {}
};

// The card holder program as a child process, connected exclusively once constructed.
class Holder {
 public:
  Holder(const std::string& reader, const std::string& milliseconds) {
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], STDOUT_FILENO);
      close(out[0]);
      close(out[1]);
      execl(CARD_HOLDER_PROGRAM, CARD_HOLDER_PROGRAM, reader.c_str(), milliseconds.c_str(), nullptr);
      _exit(127);
    }
    close(out[1]);
    char c = 0;
    while (read(out[0], &c, 1) == 1 && c != '\n') said_ += c;
    close(out[0]);
  }
  ~Holder() {
    if (exited()) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  bool held() const { return said_ == "held"; }
  const std::string& said() const { return said_; }
  bool exited() {
    if (!gone_ && waitpid(pid_, nullptr, WNOHANG) == pid_) gone_ = true;
    return gone_;
  }

 private:
  pid_t pid_ = -1;
  bool gone_ = false;
  std::string said_;
};

// The connection a test makes first thing: exclusive, as the controller's.
void expectConnects(const std::string& reader) {
  try {
    PcscConnection c(reader);
    EXPECT_EQ(statusOf(c.transmit(selectAid)), 0x9000);
  } catch (const std::runtime_error& e) {
    ADD_FAILURE() << "the next test could not connect to its card: " << e.what();
  }
}

TEST(HeldCard, TheNextTestGetsItsCardOnlyOnceAProcessThatHeldItHasLetGo) {
  struct Handover {
    const char* name;
    bool parked;  // the card the earlier test left in the slot is turned into the next one
  };
  for (Handover h : {Handover{"parked card taken over", true}, Handover{"new card inserted", false}}) {
    SCOPED_TRACE(h.name);
    OneTest earlier;
    BenchCard& first = earlier.startCard(0, "bank");
    // Longer than a removal and insertion take, so the next card is in before the holder is gone.
    Holder holder(first.readerName(), "2000");
    ASSERT_TRUE(holder.held()) << holder.said();
    if (!h.parked) first.remove();
    earlier.TearDown();

    OneTest next;
    BenchCard& card = next.startCard(0, "postal");
    EXPECT_TRUE(holder.exited()) << "the card was handed over while another process still held it";
    expectConnects(card.readerName());
    next.TearDown();
  }
}

TEST(HeldCard, ACardNeverLetGoFailsTheHandoverWithItsReasonWithinTheTimeLimit) {
  OneTest earlier;
  const std::string reader = earlier.startCard(0, "bank").readerName();
  Holder holder(reader, "forever");
  ASSERT_TRUE(holder.held()) << holder.said();
  earlier.TearDown();
  try {
    BenchCard card(0, cardbench::loadProfile("postal"), std::chrono::seconds(2));
    ADD_FAILURE() << "the card was handed over while another process held it";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("Virtual PCD 00 00: another process still holds a connection to the card"),
              std::string::npos)
        << e.what();
  }
  EXPECT_FALSE(holder.exited());
}

TEST(HeldCard, ConnectionsAFinishedTestLeftOpenAreEndedBeforeTheNextGetsItsCard) {
  OneTest earlier;
  const std::string reader = earlier.startCard(0, "bank").readerName();
  SCARDCONTEXT context = 0;
  SCARDHANDLE handle = 0;
  DWORD protocol = 0;
  ASSERT_EQ(SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context), SCARD_S_SUCCESS);
  ASSERT_EQ(SCardConnect(context, reader.c_str(), SCARD_SHARE_EXCLUSIVE, SCARD_PROTOCOL_T1, &handle, &protocol),
            SCARD_S_SUCCESS);
  EXPECT_TRUE(heldByAConnection(readerState(reader)));
  earlier.TearDown();  // neither disconnected nor released by the test

  EXPECT_FALSE(heldByAConnection(readerState(reader)));
  OneTest next;
  expectConnects(next.startCard(0, "postal").readerName());
  next.TearDown();
}

TEST(HeldCard, ATestsOwnConnectionDoesNotHoldUpItsNextCard) {
  OneTest test;
  const std::string reader = test.startCard(0, "bank").readerName();
  PcscConnection own(reader);
  // The test's own connection still holds the reader; the new card is handed over at once.
  EXPECT_NO_THROW(test.startCard(0, "postal"));
  EXPECT_EQ(own.reconnect(SCARD_RESET_CARD), SCARD_S_SUCCESS);
  EXPECT_EQ(statusOf(own.transmit(selectAid)), 0x9000);
  test.TearDown();
}

}  // namespace
}  // namespace rvp::cardsim::testing
