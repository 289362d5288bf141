// Fault drills: the page-driven transactions Inquiry, Transfer, PayTransfer, Tax and RodaPayment, which
// read the card, verify the PIN and write the card's log, with each kind of damaged answer at every
// command they send, through pcscd and the virtual card's fault injection. Each drill must end with a
// non-zero code, no request (TrnsMsg and XMLStr empty), and the same transaction must succeed right
// after it on the same page. Runs on slot 1.
#include <functional>
#include <optional>

#include "TransactionBench.h"

namespace txbench {
namespace {

using rvp::cardsim::ApduExchange;

// A fault made for the answer the card gave at that command in a clean run; none when it would not
// change that answer.
struct Drill {
  const char* name;
  std::function<std::optional<Fault>(int nth, const Bytes& cleanAnswer)> fault;
  bool pullsTheCard;
};

std::size_t dataLength(const Bytes& answer) { return answer.size() >= 2 ? answer.size() - 2 : 0; }
const Bytes kOk{0x90, 0x00};

const Drill kDrills[] = {
    {"card pulled instead of answering", [](int n, const Bytes&) { return Fault::drop(n); }, true},
    {"refused with 6F00", [](int n, const Bytes&) { return Fault::statusWord(0x6F00, n); }, false},
    {"last byte lost", [](int n, const Bytes& a) { return Fault::cutAnswer(a.size() - 1, n); }, false},
    {"data cut in half",
     [](int n, const Bytes& a) -> std::optional<Fault> {
       if (dataLength(a) == 0) return std::nullopt;
       return Fault::cutData(dataLength(a) / 2, n);
     },
     false},
    {"over-long",
     [](int n, const Bytes&) {
       return Fault::extend(Bytes{0xEE, 0xEE}, n);
     },
     false},
    // A one-byte count cannot tell this answer from the real one.
    {"over-long by 256 bytes", [](int n, const Bytes&) { return Fault::extend(Bytes(256, 0xEE), n); }, false},
    {"garbage with 9000",
     [](int n, const Bytes& a) -> std::optional<Fault> {
       if (dataLength(a) == 0) return Fault::replace(Bytes{0x5A, 0x5A}, n);
       Bytes garbage(dataLength(a), 0x5A);
       garbage.insert(garbage.end(), kOk.begin(), kOk.end());
       return Fault::replace(garbage, n);
     },
     false},
    {"answered, then pulled", [](int n, const Bytes&) { return Fault::answerThenPull(n); }, true},
};

// The transfer check comes after the selection and the four record reads.
constexpr int kCommandsBeforeTheCheck = 5;

class FaultDrills : public TransactionTest {
 protected:
  FaultDrills() { slot = 1; }

  void run(const PageTransaction& t) {
    connect(*t.card);
    setPageFor(*ctrl, t);
    // A clean run: the commands and the answers the drills damage.
    expectCheck(t, true);
    ASSERT_EQ((ctrl.get()->*t.front)(), 0);
    std::vector<ApduExchange> clean = card->apduLog();
    const int commands = static_cast<int>(clean.size());
    ASSERT_GE(commands, 7);

    for (const Drill& drill : kDrills) {
      for (int nth = 1; nth <= commands; ++nth) {
        std::optional<Fault> fault = drill.fault(nth, clean[static_cast<std::size_t>(nth - 1)].response);
        if (!fault) continue;
        SCOPED_TRACE(std::string(t.name) + ", " + drill.name + " at command " + std::to_string(nth));
        setPageFor(*ctrl, t);
        ctrl->SetXMLStr("");
        card->clearApduLog();
        // The check shows when the card data was read whole: a fault after it, or an answer given in
        // full before the card went.
        const bool answeredThenPulled = fault->kind == Fault::Kind::AnswerThenPull;
        expectCheck(t, nth > kCommandsBeforeTheCheck || (answeredThenPulled && nth == kCommandsBeforeTheCheck));
        card->inject(*fault);
        const long result = (ctrl.get()->*t.front)();
        if (answeredThenPulled && nth == commands) {
          // The card answered the write before it went: the request stands, as the card's log does.
          EXPECT_EQ(result, 0);
          expectOpens();
        } else {
          EXPECT_NE(result, 0);
          EXPECT_EQ(ctrl->GetTrnsMsg(), "");
          EXPECT_EQ(ctrl->GetXMLStr(), "");
        }
        if (drill.pullsTheCard) reinsert();
        if (::testing::Test::HasFatalFailure()) return;

        // The next transaction on the same page goes through.
        setPageFor(*ctrl, t);
        card->clearApduLog();
        expectCheck(t, true);
        ASSERT_EQ((ctrl.get()->*t.front)(), 0);
        expectOpens();
      }
    }
  }

 private:
  void expectCheck(const PageTransaction& t, bool shown) {
    if (t.transferCheck && shown) user->expectWindow("ATM_Trans_Dlg").click("btnOK");
  }
  void expectOpens() {
    banktool::OpenedEnvelope opened = banktool::openEnvelope(ctrl->GetTrnsMsg());
    ASSERT_TRUE(opened.ok) << opened.error;
    EXPECT_TRUE(opened.macOk);
    EXPECT_EQ(opened.text, ctrl->GetXMLStr());
  }
  void reinsert() {
    card->remove();
    card->insert();
    ASSERT_EQ(ctrl->ConnectCard(), 0);
  }
};

TEST_F(FaultDrills, Inquiry) { run(kPageTransactions[0]); }
TEST_F(FaultDrills, Transfer) { run(kPageTransactions[1]); }
TEST_F(FaultDrills, PayTransfer) { run(kPageTransactions[2]); }
TEST_F(FaultDrills, Tax) { run(kPageTransactions[3]); }
TEST_F(FaultDrills, RodaPayment) { run(kPageTransactions[4]); }

}  // namespace
}  // namespace txbench
