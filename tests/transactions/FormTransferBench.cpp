#include "FormTransferBench.h"

namespace txbench {

banktool::TransferCase FormTransferTest::transferCase(const CardFacts& facts, const std::string& kind) const {
  banktool::TransferCase c;
  c.readerType = "2";
  c.loginIssuerId = facts.issuer;
  c.loginIssuerAccount = facts.mainAccount;
  c.readerName = card->readerName();
  c.sessionId = kSession;
  c.terminalId = kTerminal;
  c.checkCode = kCheckCode;
  c.agentNo = kAgent;
  c.dateTime = kDateTime;
  c.kind = kind;
  c.limits = "50000$30000";
  return c;
}

void FormTransferTest::setBlocks(const std::array<std::string, 9>& b) {
  void (ZododovuRavuVODCtrl::*const setters[])(const char*) = {
      &ZododovuRavuVODCtrl::Setbh_d0, &ZododovuRavuVODCtrl::Setbh_d1, &ZododovuRavuVODCtrl::Setbh_d2,
      &ZododovuRavuVODCtrl::Setbh_d3, &ZododovuRavuVODCtrl::Setbh_d4, &ZododovuRavuVODCtrl::Setbh_d5,
      &ZododovuRavuVODCtrl::Setbh_d6, &ZododovuRavuVODCtrl::Setbh_d7, &ZododovuRavuVODCtrl::Setbh_d8};
  for (std::size_t n = 0; n < b.size(); ++n) (ctrl.get()->*setters[n])(b[n].c_str());
}

BenchCard& FormTransferTest::useCard(const CardFacts& facts) {
  if (!card || cardInReader_ != &facts) {
    cardInReader_ = &facts;
    return connect(facts);
  }
  ctrl = std::make_unique<ZododovuRavuVODCtrl>();
  ctrl->SetbaReaderName(card->readerName().c_str());
  EXPECT_EQ(ctrl->ConnectCard(), 0);
  ctrl->SetSessionId(kSession);
  card->clearApduLog();
  return *card;
}

bool FormTransferTest::cardAndReaderClosed() { return ctrl->GetCardStatus() != 0; }

bool FormTransferTest::noCardCommand() const { return card->apduCommands().empty(); }

}  // namespace txbench
