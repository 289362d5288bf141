// Account setting and card renewal when the customer, the card or the page says no, and the order in
// which each asks the card: the PIN first for the setting, the card identity first for the renewal.
#include "TransactionBench.h"

namespace txbench {
namespace {

using AccountServices = TransactionTest;
using Front = long (ZododovuRavuVODCtrl::*)();

constexpr unsigned char kVerify = 0x20;
constexpr unsigned char kReadRecord = 0xB2;
constexpr unsigned char kWrite = 0xE2;

struct Service {
  const char* name;
  Front front;
  bool pinFirst;
};
const Service kServices[] = {{"AccountSetting", &ZododovuRavuVODCtrl::AccountSetting, true},
                             {"VisaRenewal", &ZododovuRavuVODCtrl::VisaRenewal, false}};

void servicePage(ZododovuRavuVODCtrl& c) {
  c.SetbaAccept_No("700");
  c.SetbaAagency_No("0001");
  c.SetbaImport_Account("1234567890");
  c.SetbaP_CODE("P116A3");
  c.SetXMLStr("<earlier/>");
  c.SetTrnsMsg("an earlier request");
}

// Where the first command of an instruction stands among the card's commands (-1: never sent).
int firstIndexOf(BenchCard& card, unsigned char ins) {
  int at = 0;
  for (const Bytes& command : card.apduCommands()) {
    if (command.size() > 1 && command[1] == ins) return at;
    ++at;
  }
  return -1;
}

TEST_F(AccountServices, AWrongPinGivesItsStatusWordAndNothingIsWritten) {
  for (const Service& s : kServices) {
    SCOPED_TRACE(s.name);
    connect(kPostalCard);
    servicePage(*ctrl);
    ctrl->SetbaPIN("111111");
    EXPECT_EQ((ctrl.get()->*s.front)(), 0x6608);
    EXPECT_EQ(ctrl->GetuiSW12(), 0x6608u);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(ctrl->GetTrnsMsg(), "");
    EXPECT_EQ(ctrl->GetXMLStr(), "<earlier/>");
    // The setting checks the PIN before it reads the card; the renewal reads the card first.
    const int verify = firstIndexOf(*card, kVerify);
    const int read = firstIndexOf(*card, kReadRecord);
    ASSERT_GE(verify, 0);
    if (s.pinFirst) {
      EXPECT_EQ(read, -1);
    } else {
      ASSERT_GE(read, 0) << "the renewal reads the card before the PIN is refused";
      EXPECT_LT(read, verify);
    }
  }
}

TEST_F(AccountServices, AnEmptyPinSkipsTheCheckAndTheCardStillWrites) {
  for (const Service& s : kServices) {
    SCOPED_TRACE(s.name);
    connect(kPostalCard);
    servicePage(*ctrl);
    ctrl->SetbaPIN("");
    EXPECT_EQ((ctrl.get()->*s.front)(), 0);
    EXPECT_EQ(writes().size(), 1u);
    EXPECT_EQ(firstIndexOf(*card, kVerify), -1);
  }
}

TEST_F(AccountServices, TheCardRefusingOrBotchingTheWriteGives8900AndNoRequest) {
  struct Refusal {
    const char* what;
    std::uint16_t sw;
  };
  for (const Service& s : kServices) {
    for (Refusal r : {Refusal{"refused", 0x6581}, Refusal{"no serial and TAC", 0x9000}}) {
      SCOPED_TRACE(std::string(s.name) + ": " + r.what);
      connect(kPostalCard);
      servicePage(*ctrl);
      card->inject(Fault::statusWord(r.sw, 1, kWrite));
      EXPECT_EQ((ctrl.get()->*s.front)(), rc::kWriteFailed);
      EXPECT_EQ(ctrl->GetLastResult(), rc::kWriteFailed);
      EXPECT_EQ(ctrl->GetuiSW12(), r.sw);
      EXPECT_EQ(ctrl->GetTrnsMsg(), "");
      EXPECT_EQ(ctrl->GetXMLStr(), "<earlier/>");
    }
  }
}

TEST_F(AccountServices, AnUnreadableCardIdentityGives8800BeforeAnyWrite) {
  for (const Service& s : kServices) {
    SCOPED_TRACE(s.name);
    connect(kPostalCard);
    servicePage(*ctrl);
    card->inject(Fault::statusWord(0x6A83, 1, kReadRecord));
    EXPECT_EQ((ctrl.get()->*s.front)(), rc::kRecordUnreadable);
    EXPECT_EQ(ctrl->GetuiSW12(), 0x6A83u);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(ctrl->GetTrnsMsg(), "");
  }
}

TEST_F(AccountServices, TheSettingWritesThePagesAccountIndexAndTheRenewalAlwaysTheFirst) {
  connect(kPostalCard);
  servicePage(*ctrl);
  ctrl->SetbAccountID("3");  // "03": the card's fifth record, an empty account
  ASSERT_EQ(ctrl->AccountSetting(), 0);
  ASSERT_EQ(writes().size(), 1u);
  EXPECT_EQ(writes()[0].record.substr(48), "0000000000000000");
  EXPECT_EQ(ctrl->GetbAccountID(), "3");

  // The renewal turns the index into "01" for good, even when the card then refuses the PIN.
  card->clearApduLog();
  ctrl->SetbaPIN("111111");
  EXPECT_EQ(ctrl->VisaRenewal(), 0x6608);
  EXPECT_EQ(ctrl->GetbAccountID(), "01");
  ctrl->SetbaPIN(kPostalCard.pin);
  ASSERT_EQ(ctrl->VisaRenewal(), 0);
  ASSERT_EQ(writes().size(), 1u);
  EXPECT_EQ(writes()[0].record.substr(18, 16), kPostalCard.mainAccount);
  EXPECT_EQ(writes()[0].record.substr(48), kPostalCard.mainAccount);
}

TEST_F(AccountServices, PageTextTooLongForItsSlotGives8600BeforeAnyCardCommand) {
  struct TooLong {
    const char* name;
    Front front;
    std::function<void(ZododovuRavuVODCtrl&)> page;
  };
  const std::vector<TooLong> cases = {
      {"SettingPayee", &ZododovuRavuVODCtrl::AccountSetting,
       [](auto& c) { c.SetbaImport_Account("12345678901234567"); }},
      {"SettingProcessingCode", &ZododovuRavuVODCtrl::AccountSetting, [](auto& c) { c.SetbaP_CODE("P116A33"); }},
      {"SettingCheckCode", &ZododovuRavuVODCtrl::AccountSetting, [](auto& c) { c.SetbaIFD_Chk_Code("CHK000001"); }},
      {"RenewalProcessingCode", &ZododovuRavuVODCtrl::VisaRenewal, [](auto& c) { c.SetbaP_CODE("P116A33"); }},
      {"RenewalDateTime", &ZododovuRavuVODCtrl::VisaRenewal, [](auto& c) { c.SetOptionData(1, "202612101315001"); }},
  };
  connect(kPostalCard);
  for (const TooLong& t : cases) {
    SCOPED_TRACE(t.name);
    servicePage(*ctrl);
    ctrl->SetbaIFD_Chk_Code(kCheckCode);
    ctrl->SetOptionData(1, kDateTime);
    t.page(*ctrl);
    card->clearApduLog();
    EXPECT_EQ((ctrl.get()->*t.front)(), rc::kInputMissing);
    EXPECT_TRUE(card->apduLog().empty());
    EXPECT_EQ(ctrl->GetTrnsMsg(), "");
  }
}

TEST_F(AccountServices, TheRenewalSendsAPayeeAccountOfAnyLengthAsThePageSetIt) {
  connect(kPostalCard);
  servicePage(*ctrl);
  ctrl->SetbaImport_Account("12345678901234567890");  // in no record slot, so no limit applies
  ASSERT_EQ(ctrl->VisaRenewal(), 0);
  EXPECT_NE(ctrl->GetXMLStr().find("<trns_in_account>12345678901234567890</trns_in_account>"), std::string::npos)
      << ctrl->GetXMLStr();
}

}  // namespace
}  // namespace txbench
