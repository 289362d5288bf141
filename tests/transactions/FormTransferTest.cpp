// Transfer_V2 up to its transfer form: the page's parameter blocks, the reader and card opened afresh,
// the login card, the kind of transfer; and what every way out leaves for the page.
#include <functional>
#include <set>
#include <stdexcept>

#include "FormTransferBench.h"
#include "appkit/Clock.h"

namespace txbench {
namespace {

using Blocks = std::array<std::string, 9>;
const char* const kParametersWrong = "元件參數錯誤，請確認元件版本是否正確";
const char* const kNotLoginCard = "登入所使用的卡片與現行卡片不符，請插入正確的卡片";

struct ParameterCase {
  const char* name;
  std::function<void(banktool::TransferCase&, Blocks&)> spoil;
  long code;
};

// A block the plug-in cannot open: not whole cipher blocks of hex.
const char* const kGarbled = "0123456789ABCDE";

TEST_F(FormTransferTest, EachMissingOrGarbledBlockGivesItsCodeBeforeAnyCardCommand) {
  const ParameterCase cases[] = {
      {"bank changes garbled", [](auto&, Blocks& b) { b[0] = kGarbled; }, 9810},
      {"login card missing", [](auto&, Blocks& b) { b[1] = ""; }, 9811},
      {"session garbled", [](auto&, Blocks& b) { b[2] = kGarbled; }, 9812},
      {"terminal missing", [](auto&, Blocks& b) { b[3] = ""; }, 9813},
      {"kind garbled", [](auto&, Blocks& b) { b[4] = "not hex at all!!"; }, 9814},
      {"agreed accounts empty", [](auto&, Blocks& b) { b[6] = ""; }, 9816},
      {"common accounts garbled", [](auto&, Blocks& b) { b[7] = "nul"; }, 9817},
      {"limits garbled", [](auto&, Blocks& b) { b[8] = kGarbled; }, 9818},
  };
  connect(kPostalCard);
  for (const ParameterCase& pc : cases) {
    SCOPED_TRACE(pc.name);
    card->clearApduLog();
    banktool::TransferCase c = transferCase(kPostalCard, "0307");
    c.bankChanges = "812U新銀行";
    Blocks blocks = banktool::makeTransferBlocks(c);
    pc.spoil(c, blocks);
    setBlocks(blocks);
    ctrl->SetTrnsMsg("an earlier request");
    EXPECT_EQ(ctrl->Transfer_V2(), pc.code);
    EXPECT_TRUE(noCardCommand());
    EXPECT_EQ(ctrl->GetTrnsMsg(), "");
  }
}

TEST_F(FormTransferTest, BlocksTooShortForTheirCutsGive9821AfterTheCriticalBox) {
  const ParameterCase cases[] = {
      {"login block of 24 characters",
       [](banktool::TransferCase& c, Blocks& b) {
         b[1] = banktool::makeParamBlock(banktool::transferBlock1(c).substr(0, 24), c.iv);
       },
       9821},
      {"terminal block of 23 characters",
       [](banktool::TransferCase& c, Blocks& b) {
         b[3] = banktool::makeParamBlock(banktool::transferBlock3(c).substr(0, 23), c.iv);
       },
       9821},
  };
  connect(kPostalCard);
  for (const ParameterCase& pc : cases) {
    SCOPED_TRACE(pc.name);
    card->clearApduLog();
    banktool::TransferCase c = transferCase(kPostalCard, "0307");
    Blocks blocks = banktool::makeTransferBlocks(c);
    pc.spoil(c, blocks);
    setBlocks(blocks);
    user->expectAlert(kParametersWrong, "", appkit::AlertStyle::Critical).answerAlert(1);
    EXPECT_EQ(ctrl->Transfer_V2(), pc.code);
    EXPECT_TRUE(noCardCommand());
  }
}

TEST_F(FormTransferTest, AListOrLimitBlockOfNullInAnyLetterCaseIsAbsent) {
  for (const char* null : {"null", "NULL", "Null", "nuLL"}) {
    SCOPED_TRACE(null);
    useCard(kPostalCard);
    banktool::TransferCase c = transferCase(kPostalCard, "0307");
    Blocks blocks = banktool::makeTransferBlocks(c);
    blocks[6] = blocks[7] = blocks[8] = null;
    setBlocks(blocks);
    // The form opens: none of the three blocks was taken for a block that does not open.
    user->expectWindow("TransFPOST2BANK").click("btnCancel");
    EXPECT_EQ(ctrl->Transfer_V2(), rc::kCancelled);
    EXPECT_TRUE(user->finished());
  }
}

TEST_F(FormTransferTest, ACardThatDoesNotConnectGives8990WithItsMessageAndNoForm) {
  connect(kPostalCard);
  setBlocks(transferCase(kPostalCard, "0307"));
  card->remove();
  user->expectAlert("晶片卡連線失敗，請檢查晶片卡是否已依正確方向插入讀卡機!", "轉帳交易",
                    appkit::AlertStyle::Informational)
      .answerAlert(1);
  EXPECT_EQ(ctrl->Transfer_V2(), rc::kCancelled);
  EXPECT_TRUE(user->finished());
  EXPECT_TRUE(user->failures().empty());
  EXPECT_EQ(ctrl->GetTrnsMsg(), "");
}

TEST_F(FormTransferTest, NotTheLoginCardGives9940WithCardAndReaderClosed) {
  struct LoginCase {
    const char* name;
    const char* issuer;
    const char* account;
  };
  for (LoginCase lc : {LoginCase{"another bank", "00400001", kPostalCard.mainAccount},
                       LoginCase{"another account of the bank", kPostalCard.issuer, "7001234567890124"},
                       LoginCase{"issuer in another letter case", "7000001a", kPostalCard.mainAccount}}) {
    SCOPED_TRACE(lc.name);
    useCard(kPostalCard);
    banktool::TransferCase c = transferCase(kPostalCard, "0307");
    c.loginIssuerId = lc.issuer;
    c.loginIssuerAccount = lc.account;
    setBlocks(c);
    ctrl->SetbaPIN("567890");
    user->expectAlert(kNotLoginCard, "轉帳交易", appkit::AlertStyle::Informational).answerAlert(1);
    EXPECT_EQ(ctrl->Transfer_V2(), rc::kWrongCard);
    EXPECT_EQ(ctrl->GetLastResult(), 0) << "the card let go before the reader";
    EXPECT_TRUE(cardAndReaderClosed());
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(ctrl->GetbaPIN(), "");
  }
}

TEST_F(FormTransferTest, TheLoginBlockNamesTheReaderAndTheSessionAndTheKindReachThePage) {
  connect(kPostalCard);
  banktool::TransferCase c = transferCase(kPostalCard, "0399");
  c.sessionId = "SESSION-FROM-D2";
  setBlocks(c);
  ctrl->SetbaReaderName("a reader the page named");
  user->expectAlert(kParametersWrong, "", appkit::AlertStyle::Critical).answerAlert(1);
  ctrl->Transfer_V2();
  EXPECT_EQ(ctrl->GetbaReaderName(), card->readerName());
  EXPECT_EQ(ctrl->GetSessionId(), "SESSION-FROM-D2");
  EXPECT_EQ(ctrl->GetbaP_CODE(), "0399");
}

TEST_F(FormTransferTest, AKindNoFormServesGives9821AfterClosingAndBuildsNoRequest) {
  for (const char* kind : {"0399", "P014A9", "", "0307x"}) {
    SCOPED_TRACE(kind);
    useCard(kPostalCard);
    setBlocks(transferCase(kPostalCard, kind));
    ctrl->SetTrnsMsg("an earlier request");
    ctrl->SetXMLStr("<earlier/>");
    // An empty kind block does not open at all.
    const bool opens = !std::string(kind).empty();
    if (opens)
      user->expectAlert(kParametersWrong, "", appkit::AlertStyle::Critical)
          .run([this] { EXPECT_TRUE(cardAndReaderClosed()) << "closed before the message"; })
          .answerAlert(1);
    EXPECT_EQ(ctrl->Transfer_V2(), opens ? rc::kParameterUnparsable : 9814);
    EXPECT_EQ(ctrl->GetTrnsMsg(), "");
    EXPECT_EQ(ctrl->GetXMLStr(), "<earlier/>");
    EXPECT_TRUE(writes().empty());
  }
}

TEST_F(FormTransferTest, EachCallListsTheCardsAccountsOnceOnTheBankCardForm) {
  connect(kBankCard);
  std::vector<std::string> lists[2][2];
  for (auto& seen : lists) {
    setBlocks(transferCase(kBankCard, "0306"));
    user->expectWindow("TransFBANK2BANK")
        .inspect([&seen](appkit::Window& w) {
          int n = 0;
          for (const char* list : {"cmbOutAccount", "cmbPreAccount"})
            if (auto* combo = dynamic_cast<appkit::ComboBox*>(w.viewWithIdentifier(list))) seen[n++] = combo->items();
        })
        .click("btnCancel");
    EXPECT_EQ(ctrl->Transfer_V2(), rc::kCancelled);
  }
  ASSERT_FALSE(lists[0][0].empty());
  EXPECT_EQ(lists[1][0], lists[0][0]) << "the paying accounts of the second call";
  EXPECT_EQ(lists[1][1], lists[0][1]) << "the application accounts of the second call";
  const std::set<std::string> distinct(lists[1][0].begin(), lists[1][0].end());
  EXPECT_EQ(distinct.size(), lists[1][0].size());
}

TEST_F(FormTransferTest, EachFormGetsThePagesListsInTheirOwnPlaces) {
  struct ListCase {
    const char* kind;
    const CardFacts* card;
    const char* form;
    const char* agreed;    // bh_d6, one entry
    const char* common;    // bh_d7, one entry
    bool agreedShown;      // the bank-card forms list the card's application accounts instead
    bool bankListChanged;  // the forms with a payee-bank list take the page's bank changes
  };
  const ListCase cases[] = {
      {"0307", &kPostalCard, "TransFPOST2BANK", "22222222222222$004-台灣銀行", "004555512345$房租", true, true},
      {"P014A1", &kPostalCard, "TransFPOST2RODA", "22222222222222$王小明", "70055551234500001$房租", true, false},
      {"G004A4", &kPostalCard, "TransFPOSTTRANSFER2RODA", "22222222222222$王小明", "70055551234500001$房租", true,
       false},
      {"0306", &kBankCard, "TransFBANK2BANK", "004-22222222222222", "004555512345$房租", false, true},
  };
  auto holds = [](const std::vector<std::string>& items, const std::string& part) {
    for (const std::string& item : items)
      if (item.find(part) != std::string::npos) return true;
    return false;
  };
  for (const ListCase& lc : cases) {
    SCOPED_TRACE(lc.kind);
    useCard(*lc.card);
    banktool::TransferCase c = transferCase(*lc.card, lc.kind);
    c.agreedAccounts = lc.agreed;
    c.commonAccounts = lc.common;
    c.bankChanges = "013U新名";
    c.giroAccount = "87654321";
    setBlocks(c);
    std::vector<std::string> agreed, common, banks;
    user->expectWindow(lc.form)
        .inspect([&](appkit::Window& w) {
          auto items = [&w](const char* name) {
            auto* combo = dynamic_cast<appkit::ComboBox*>(w.viewWithIdentifier(name));
            return combo ? combo->items() : std::vector<std::string>{};
          };
          agreed = items("cmbPreAccount");
          common = items("cmbCommonAccount");
          banks = items("cmbBankNo");
        })
        .click("btnCancel");
    EXPECT_EQ(ctrl->Transfer_V2(), rc::kCancelled);
    EXPECT_EQ(holds(agreed, "22222222222222"), lc.agreedShown) << "agreed list";
    if (!lc.agreedShown) EXPECT_TRUE(holds(agreed, "0123456789012345")) << "the card's application account";
    EXPECT_FALSE(holds(common, "22222222222222")) << "the agreed entry in the account book";
    EXPECT_TRUE(holds(common, "555512345")) << "account book";
    EXPECT_FALSE(holds(agreed, "555512345")) << "an account-book entry in the agreed list";
    EXPECT_EQ(holds(banks, "013新名"), lc.bankListChanged) << "bank list";
  }
}

TEST_F(FormTransferTest, ATypedPayeeIsHeldToTheSecondLimitOfThePageOnEveryPostalFamily) {
  struct LimitCase {
    const char* kind;
    const char* form;
    const char* ok;
    std::string bank;  // the payee bank to pick first, if the form has a list of them
    const char* payee;
    const char* title;
  };
  const LimitCase cases[] = {
      {"0307", "TransFPOST2BANK", "btnOK", "812台新國際商業銀行" + std::string(60, ' '), "1234567890", "RODA to Bank"},
      {"G004A4", "TransFPOSTTRANSFER2RODA", "btbOK", "", "12345690000001", "POSTTRANSFER to RODA"},
      {"G004A2", "TransFPT2PT", "btnOK", "", "12345678", "PT to PT"},
  };
  for (const LimitCase& lc : cases) {
    SCOPED_TRACE(lc.kind);
    useCard(kPostalCard);
    banktool::TransferCase c = transferCase(kPostalCard, lc.kind);
    c.giroAccount = "87654321";
    c.limits = "50000$1000";  // agreed payees up to 50000, any other up to 1000
    setBlocks(c);
    user->expectWindow(lc.form);
    if (!lc.bank.empty()) user->chooseItem("cmbBankNo", lc.bank);
    user->click("cbInAccount")
        .pressDigits(lc.payee)
        .click("cbAmount")
        .pressDigits("2000")
        .click("cbCaptchaInput")
        .typeDigitsShownIn("cbCaptcha")
        .click(lc.ok)
        .expectAlert("轉帳金額不可超過 01000, 請重新輸入", lc.title, appkit::AlertStyle::Informational)
        .answerAlert(1)
        .click("btnCancel");
    EXPECT_EQ(ctrl->Transfer_V2(), rc::kCancelled);
    EXPECT_TRUE(user->finished());
    EXPECT_TRUE(user->failures().empty());
  }
}

TEST_F(FormTransferTest, UnreadableOrMissingCardAccountsGive8800WithCardAndReaderClosed) {
  Profile noAccounts = loadProfile("postal");
  // The main account record holds sixteen "0" characters: no account at all.
  std::string zeroAccount = "0310";
  for (int i = 0; i < 16; ++i) zeroAccount += "30";
  noAccounts.files[0x1001].records[2] = rvp::cardsim::fromHex(zeroAccount);
  struct AccountCase {
    const char* name;
    const Profile profile;
    bool refuseRead;
    const char* message;
  };
  const AccountCase cases[] = {
      {"the card refuses the account records", loadProfile("postal"), true,
       "卡片資料讀取錯誤，請檢查讀卡機與晶片卡是否有問題。"},
      {"the card holds no account", noAccounts, false, "卡片中無任何帳號資料!"},
  };
  for (const AccountCase& ac : cases) {
    SCOPED_TRACE(ac.name);
    connect(kPostalCard, ac.profile);
    setBlocks(transferCase(kPostalCard, "0307"));
    // The list's result is that of its last record (record 10, the eighth read).
    if (ac.refuseRead) card->inject(Fault::statusWord(0x6A83, 8, 0xB2));
    user->expectAlert(ac.message, "轉帳交易", appkit::AlertStyle::Informational).answerAlert(1);
    EXPECT_EQ(ctrl->Transfer_V2(), rc::kRecordUnreadable);
    EXPECT_TRUE(cardAndReaderClosed());
    EXPECT_TRUE(writes().empty());
  }
}

TEST_F(FormTransferTest, AnExceptionInsideGives8990WithNoRequestAndCardAndReaderClosed) {
  connect(kPostalCard);
  banktool::TransferCase c = transferCase(kPostalCard, "0307");
  c.loginIssuerAccount = "7009999999999999";
  setBlocks(c);
  ctrl->SetTrnsMsg("an earlier request");
  ctrl->SetbaPIN("567890");
  user->expectAlert(kNotLoginCard, "轉帳交易")
      .run([] { throw std::runtime_error("a dialog failed"); })
      .expectAlert("exception catched", "TransFer_V2", appkit::AlertStyle::Informational)
      .answerAlert(1);
  EXPECT_EQ(ctrl->Transfer_V2(), rc::kCancelled);
  EXPECT_EQ(ctrl->GetTrnsMsg(), "");
  EXPECT_EQ(ctrl->GetbaPIN(), "");
  EXPECT_TRUE(cardAndReaderClosed());
}

// ---- kind 0307: the postal card to a bank account, through its form ----

const std::string kBank812 = "812台新國際商業銀行" + std::string(60, ' ');

class PostalToBank : public FormTransferTest {
 protected:
  // The customer types payee, amount, PIN and code on the form's keypad, picks bank 812 and says yes.
  void fillInForm(const std::string& pin = "", const std::string& amount = "123") {
    user->expectWindow("TransFPOST2BANK")
        .chooseItem("cmbBankNo", kBank812)
        .click("cbInAccount")
        .pressDigits("1234567890")
        .click("cbAmount")
        .pressDigits(amount);
    if (!pin.empty()) user->click("cbCardPIN").pressDigits(pin);
    user->click("cbCaptchaInput").typeDigitsShownIn("cbCaptcha").click("btnOK").answerAlert(1);
  }
};

TEST_F(PostalToBank, TheFormAndTheConfirmationLeaveOneWriteAndASealedRequest) {
  connect(kPostalCard);
  banktool::TransferCase c = transferCase(kPostalCard, "0307");
  c.readerType = "1";
  setBlocks(c);
  ctrl->SetbaPIN("page PIN");
  fillInForm(kPostalCard.pin);
  user->expectWindow("TransFConfirm")
      .expectDisplay("cbOutAccount", "700/" + std::string(kPostalCard.mainAccount))
      .expectDisplay("cbInAccount", "812/1234567890")
      .expectText("cbAmount", "123       ")
      .click("btnOK")
      .expectWindow("CARDINOUTDLG")
      .wait(1.5)
      .run([this] { card->remove(); })
      .wait(1)
      .run([this] { card->insert(); })
      .wait(3);
  EXPECT_EQ(ctrl->Transfer_V2(), 0);
  ASSERT_EQ(writes().size(), 1u);
  const std::string elements =
      "<trns_in_bank>81200000</trns_in_bank><trns_out_bank>70000019</trns_out_bank>"
      "<agency_bank>00000001</agency_bank><trns_in_account>0000001234567890</trns_in_account>"
      "<trns_out_account>7001234567890123</trns_out_account>"
      "<trns_amount>00000000012300</trns_amount>";
  expectSealed(expectedRequest(kPostalCard, "MSG2521U", "2521", elements, writes()[0]));
  EXPECT_EQ(ctrl->GetbaPIN(), "");
  EXPECT_EQ(ctrl->GetReturnASN(), "") << "a typed payee";
  EXPECT_EQ(ctrl->GetbaP_CODE(), "0307");
  EXPECT_EQ(ctrl->GetbaMoney(), "123");
  EXPECT_EQ(ctrl->GetLastResult(), 0) << "the card let go before the reader";
  EXPECT_TRUE(cardAndReaderClosed());
}

TEST_F(PostalToBank, CancellingTheFormGives8990AndTheConfirmationItsOwnTwo) {
  struct CancelCase {
    const char* name;
    std::function<void()> script;
    long code;
  };
  const CancelCase cases[] = {
      {"the form", [this] { user->expectWindow("TransFPOST2BANK").click("btnCancel"); }, 8990},
      {"the fraud warning",
       [this] {
         user->expectWindow("TransFPOST2BANK")
             .chooseItem("cmbBankNo", kBank812)
             .click("cbInAccount")
             .pressDigits("1234567890")
             .click("cbAmount")
             .pressDigits("123")
             .click("cbCaptchaInput")
             .typeDigitsShownIn("cbCaptcha")
             .click("btnOK")
             .answerAlert(2);
       },
       8990},
      {"the form's countdown", [this] { user->expectWindow("TransFPOST2BANK").wait(601); }, 9950},
      {"the confirmation",
       [this] {
         fillInForm();
         user->expectWindow("TransFConfirm").click("btnCancel");
       },
       2},
  };
  for (const CancelCase& cc : cases) {
    SCOPED_TRACE(cc.name);
    useCard(kPostalCard);
    setBlocks(transferCase(kPostalCard, "0307"));
    ctrl->SetTrnsMsg("an earlier request");
    cc.script();
    EXPECT_EQ(ctrl->Transfer_V2(), cc.code);
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(ctrl->GetTrnsMsg(), "");
    EXPECT_TRUE(cardAndReaderClosed());
  }
}

TEST_F(PostalToBank, AnAgreedPayeeIsMarkedForThePageAndTheNextCallClearsTheMark) {
  connect(kPostalCard);
  banktool::TransferCase c = transferCase(kPostalCard, "0307");
  c.agreedAccounts = "11112222$812-台新#1234567890$812-台新";
  setBlocks(c);
  user->expectWindow("TransFPOST2BANK")
      .choose("cmbPreAccount", 2)
      .click("cbAmount")
      .pressDigits("123")
      .click("cbCaptchaInput")
      .typeDigitsShownIn("cbCaptcha")
      .click("btnOK")
      .answerAlert(1)
      .expectWindow("TransFConfirm")
      .expectDisplay("cbInAccount", "812/1234567890")
      .click("btnOK");
  ASSERT_EQ(ctrl->Transfer_V2(), 0);
  // The second entry of the agreed list (index 1), as the bank's side enciphers it under the call's IV.
  EXPECT_EQ(ctrl->GetReturnASN(), banktool::makeParamBlock("P1", c.iv));
  ASSERT_EQ(writes().size(), 1u);

  c.kind = "0399";
  setBlocks(c);
  user->expectAlert("元件參數錯誤，請確認元件版本是否正確", "", appkit::AlertStyle::Critical).answerAlert(1);
  EXPECT_EQ(ctrl->Transfer_V2(), rc::kParameterUnparsable);
  EXPECT_EQ(ctrl->GetReturnASN(), "");
  EXPECT_EQ(ctrl->GetTrnsMsg(), "");
}

TEST_F(PostalToBank, OneCountdownSpansTheFormAndTheConfirmation) {
  connect(kPostalCard);
  setBlocks(transferCase(kPostalCard, "0307"));
  user->wait(100);
  fillInForm();
  // The confirmation goes on from what the form left (600 - 100 and the seconds the typing took).
  user->expectWindow("TransFConfirm").wait(500);
  EXPECT_EQ(ctrl->Transfer_V2(), 9950);
  EXPECT_LE(appkit::Clock::now(), 601.0);
  EXPECT_TRUE(writes().empty());
}

}  // namespace
}  // namespace txbench
