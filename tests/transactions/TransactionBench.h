// A controller on a virtual card in slot 0 under a scripted user, the page fields every transaction
// reads, and what the card received and the bank opens.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogfixture/ScriptedUserFixture.h"
#include "ZododovuRavuVODCtrl.h"
#include "cardbench/CardBench.h"
#include "cardsim/Tac.h"
#include "tools/banktool/banktool.h"

namespace txbench {
using namespace rvp::cardbench;
using rvp::cardsim::Bytes;

// What the test knows of each card profile.
struct CardFacts {
  const char* profile;
  const char* pin;
  const char* issuer;
  const char* mainAccount;
  const char* remark;  // text of the remark record
};
extern const CardFacts kBankCard;    // bank 004
extern const CardFacts kPostalCard;  // bank 700

// The page values set before each call.
constexpr const char* kCheckCode = "CHK00001";
constexpr const char* kTerminal = "TERM0001";
constexpr const char* kDateTime = "20261210131500";
constexpr const char* kSession = "SESSION000000001";

// A record of bytes from text pieces; hx("701411") gives bytes, zeros(n) zero bytes.
std::string hx(const std::string& hex);
std::string zeros(std::size_t n);

// What the card answered to one WRITE RECORD WITH SNUM/TAC.
struct CardWrite {
  std::string p1p2;    // hex
  std::string record;  // the data bytes the card received
  std::string serial;  // 8 characters
  std::string tac;     // hex
};

// The request frame around a transaction's elements, for the card and the written record; the page's
// texts as the request holds them.
std::string expectedRequest(const CardFacts& card, const std::string& txCode, const std::string& tacId,
                            const std::string& elements, const CardWrite& write, const std::string& block = "",
                            const std::string& atmNo = kTerminal, const std::string& checkCode = kCheckCode,
                            const std::string& session = kSession);

// The page-driven transactions that read the card's data, verify the PIN and write the card's log, with
// the page values each needs on the card it runs on.
struct PageTransaction {
  const char* name;
  long (ZododovuRavuVODCtrl::*front)();
  const CardFacts* card;
  const char* pCode;
  bool transferCheck;  // shows the transfer check (after the card data, before VERIFY)
};
extern const PageTransaction kPageTransactions[5];  // Inquiry, Transfer, PayTransfer, Tax, RodaPayment
void setPageFor(ZododovuRavuVODCtrl& c, const PageTransaction& t);

class TransactionTest : public WithScriptedUser<CardBenchTest> {
 protected:
  // A fresh controller connected to a card of the profile with the common page fields set.
  BenchCard& connect(const CardFacts& facts);
  BenchCard& connect(const CardFacts& facts, const Profile& profile);
  // The writes the card received since the log was last cleared.
  std::vector<CardWrite> writes() const;
  // XMLStr is the expected request and the bank opens TrnsMsg to it with a valid MAC.
  void expectSealed(const std::string& request);
  // The transfer check, answered with the given button after checking its texts.
  void answerTransferCheck(const std::string& from, const std::string& to, const std::string& amount,
                           const char* button = "btnOK");

  std::unique_ptr<ZododovuRavuVODCtrl> ctrl;
  BenchCard* card = nullptr;
  int slot = 0;  // the vpcd slot connect() puts the card into
};

}  // namespace txbench
