// Transfer_V2 from what a form handed back to the sealed request: the confirmation's texts per kind of
// form, the card's answer, the transaction code, the request the bank opens, and what the page reads.
#include <PCSC/winscard.h>

#include <functional>
#include <string>

#include "FormTransferBench.h"
#include "crypto/random.h"
#include "transactions/FormParameters.h"
#include "transactions/FormRoad.h"
#include "transactions/TransferForms.h"

namespace txbench {
namespace {

std::string el(const std::string& tag, const std::string& value) { return "<" + tag + ">" + value + "</" + tag + ">"; }

std::unique_ptr<OpenTransferForm> noForm(const TransferFormInputs&) { return nullptr; }

struct RequestCase {
  const char* name;
  const CardFacts* card;
  TransferFormRow row;
  TransferFormValues values;
  std::string payingShown;
  std::string payeeShown;
  std::string txCode;
  std::string tacId;
  std::string payeeBank;      // <trns_in_bank>
  std::string payingAccount;  // <trns_out_account>
  std::string pCodeAfter;     // baP_CODE after the call
};

TransferFormValues formValues(const char* payee, const char* payeeBank = "") {
  TransferFormValues v;
  v.amount = "123";
  v.payee = payee;
  v.payeeBank = payeeBank;
  v.secondsLeft = 420;
  return v;
}

TransferFormValues bankCardValues(const char* payee, const char* payeeBank) {
  TransferFormValues v = formValues(payee, payeeBank);
  v.payingBank = "004";
  v.payingAccount = "0040987654321098";
  v.accountIndex = 2;
  return v;
}

// A text of the page, and as the request holds it (written out here, not made by the plug-in's code).
struct PageText {
  const char* page;
  const char* inRequest;
};
// Texts of the page's blocks that carry '&', '<' and '>': they must stay element text.
const PageText kMarkedSession{"S<1>&2", "S&lt;1&gt;&amp;2"};
const PageText kMarkedTerminal{"T<&>0001", "T&lt;&amp;&gt;0001"};
const PageText kMarkedCheckCode{"C&<00001", "C&amp;&lt;00001"};
const PageText kMarkedAgent{"<a>&0000", "&lt;a&gt;&amp;0000"};

class FormRequest : public FormTransferTest {
 protected:
  // Connected and fed the blocks of the kind, opened as Transfer_V2 opens them; `page` changes the
  // bank's case before the blocks are made.
  FormParameters parameters(const CardFacts& facts, const std::string& kind, const std::string& giro = "",
                            const std::function<void(banktool::TransferCase&)>& page = {}) {
    banktool::TransferCase c = transferCase(facts, kind);
    c.giroAccount = giro;
    if (page) page(c);
    FormParameters params;
    EXPECT_EQ(openFormParameters(banktool::makeTransferBlocks(c), params), 0);
    EXPECT_EQ(ctrl->CardAccounts(), 0);
    ctrl->SetSessionId(params.fields.D2SessionId.c_str());
    ctrl->SetbaP_CODE(kind.c_str());
    ctrl->SetbaMoney("123");
    return params;
  }
};

TEST_F(FormRequest, EachKindOfFormIsConfirmedWrittenAndSealedAsTheBankExpects) {
  const RequestCase cases[] = {
      {"postal card to a bank",
       &kPostalCard,
       {"0307", "TransFPOST2BANK", PayingSide::PostalCard, true, "%s", false, noForm},
       formValues("1234567890", "81200000"),
       "700/" + std::string(kPostalCard.mainAccount),
       "812/1234567890",
       "MSG2521U",
       "2521",
       "81200000",
       kPostalCard.mainAccount,
       "0307"},
      {"postal card to a postal account",
       &kPostalCard,
       {"P014A1", "TransFPOST2RODA", PayingSide::PostalCard, false, "%014s", true, noForm},
       formValues("1234567890"),
       "700/" + std::string(kPostalCard.mainAccount),
       "700/00001234567890",
       "2580",
       "P014A1",
       "70000000",
       kPostalCard.mainAccount,
       "P014A1"},
      {"giro to a giro account",
       &kPostalCard,
       {"G004A2", "TransFPT2PT", PayingSide::Giro, false, "%08s", false, noForm},
       formValues("12345"),
       "700/87654321",
       "700/00012345",
       "2583",
       "G004A2",
       "70000000",
       kPostalCard.mainAccount,
       "G004A2"},
      {"bank card to a bank account of the same bank",
       &kBankCard,
       {"0306", "TransFBANK2BANK", PayingSide::BankCard, true, "%016s", false, noForm},
       bankCardValues("1234567890", "00400000"),
       "004/0040987654321098",
       "004/0000001234567890",
       "MSG2523U",
       "2523",
       "00400000",
       "0040987654321098",
       "2523"},
      {"bank card to another bank",
       &kBankCard,
       {"0306", "TransFBANK2BANK", PayingSide::BankCard, true, "%016s", false, noForm},
       bankCardValues("1234567890", "81200000"),
       "004/0040987654321098",
       "812/0000001234567890",
       "MSG2524U",
       "2524",
       "81200000",
       "0040987654321098",
       "2524"},
  };
  // Every kind's request is made from page texts with markup in them: the bank opens each request to
  // the very texts, escaped.
  auto markedPage = [](banktool::TransferCase& c) {
    c.sessionId = kMarkedSession.page;
    c.terminalId = kMarkedTerminal.page;
    c.checkCode = kMarkedCheckCode.page;
    c.agentNo = kMarkedAgent.page;
  };
  for (const RequestCase& rc : cases) {
    SCOPED_TRACE(rc.name);
    useCard(*rc.card);
    const FormParameters params = parameters(*rc.card, rc.row.kind, "87654321", markedPage);
    TransferFormValues values = rc.values;
    values.pin = rc.card->pin;
    user->expectWindow("TransFConfirm")
        .expectText("cbOutAccount", rc.payingShown)
        .expectText("cbInAccount", rc.payeeShown)
        .expectText("cbAmount", "123       ")
        .expectText("tfTimer", "")
        .wait(1)
        .expectText("tfTimer", "419")
        .click("btnOK");
    ASSERT_EQ(ctrl->confirmAndRequest(transferRoad(), rc.row, params, values), 0);
    ASSERT_EQ(writes().size(), 1u);
    const std::string elements = el("trns_in_bank", rc.payeeBank) + el("trns_out_bank", rc.card->issuer) +
                                 el("agency_bank", kMarkedAgent.inRequest) +
                                 el("trns_in_account", ZododovuRavuVODCtrl::format("%016s", rc.values.payee)) +
                                 el("trns_out_account", rc.payingAccount) + el("trns_amount", "00000000012300");
    expectSealed(expectedRequest(*rc.card, rc.txCode, rc.tacId, elements, writes()[0], "", kMarkedTerminal.inRequest,
                                 kMarkedCheckCode.inRequest, kMarkedSession.inRequest));
    EXPECT_EQ(ctrl->GetbaP_CODE(), rc.pCodeAfter);
    EXPECT_TRUE(cardAndReaderClosed());
  }
}

TEST_F(FormRequest, AConfirmationEndedOtherThanByTheCardGivesItsCodeWithNoRequest) {
  const TransferFormRow row{"0307", "TransFPOST2BANK", PayingSide::PostalCard, true, "%s", false, noForm};
  struct EndCase {
    const char* name;
    std::function<void(appkit::ScriptedUser&)> script;
    long code;
  };
  const EndCase cases[] = {
      {"Cancel", [](appkit::ScriptedUser& u) { u.click("btnCancel"); }, 2},
      {"the countdown the form left", [](appkit::ScriptedUser& u) { u.wait(421); }, 9950},
      // The card step's own result, a PC/SC one included, reaches the page as the number it is.
      {"the card dropping its answer at the card step",
       [this](appkit::ScriptedUser& u) {
         // Selections: the application at the reconnection, EF 1001 for the issuer account and id, then
         // EF 1001 for the card data of the write.
         card->inject(Fault::drop(4, 0xA4));
         u.click("btnOK");
       },
       static_cast<long>(SCARD_F_COMM_ERROR)},
  };
  for (const EndCase& ec : cases) {
    SCOPED_TRACE(ec.name);
    connect(kPostalCard);
    const FormParameters params = parameters(kPostalCard, "0307");
    ctrl->SetXMLStr("<earlier/>");
    ec.script(*user);
    EXPECT_EQ(ctrl->confirmAndRequest(transferRoad(), row, params, formValues("1234567890", "81200000")), ec.code);
    EXPECT_EQ(ctrl->GetTrnsMsg(), "");
    EXPECT_EQ(ctrl->GetXMLStr(), "<earlier/>");
    EXPECT_TRUE(writes().empty());
    EXPECT_TRUE(cardAndReaderClosed());
  }
}

TEST_F(FormRequest, ARequestThatCannotBeSealedGives9970AndNothingToSend) {
  connect(kPostalCard);
  const FormParameters params = parameters(kPostalCard, "0307");
  const TransferFormRow row{"0307", "TransFPOST2BANK", PayingSide::PostalCard, true, "%s", false, noForm};
  TransferFormValues values = formValues("1234567890", "81200000");
  values.pin = kPostalCard.pin;
  ctrl->SetTrnsMsg("an earlier request");
  // No random bytes from the moment the customer confirms: no session key for the envelope.
  user->expectWindow("TransFConfirm")
      .run([] { setRandomSource([](unsigned char*, std::size_t) { return false; }); })
      .click("btnOK");
  const long result = ctrl->confirmAndRequest(transferRoad(), row, params, values);
  setRandomSource(RandomSource());
  EXPECT_EQ(result, rc::kSealFailed);
  EXPECT_EQ(ctrl->GetTrnsMsg(), "");
  EXPECT_NE(ctrl->GetXMLStr().find("<tx_code>MSG2521U</tx_code>"), std::string::npos) << "the request was built";
  EXPECT_EQ(writes().size(), 1u);
  EXPECT_TRUE(cardAndReaderClosed());
}

TEST_F(FormRequest, PageTextsGoIntoTheRequestEscapedSoTheyCannotChangeItsStructure) {
  connect(kPostalCard);
  banktool::TransferCase c = transferCase(kPostalCard, "0307");
  c.sessionId = "S<x>&y";
  c.agentNo = "<a>&0000";
  FormParameters params;
  ASSERT_EQ(openFormParameters(banktool::makeTransferBlocks(c), params), 0);
  ASSERT_EQ(ctrl->CardAccounts(), 0);
  ctrl->SetSessionId(params.fields.D2SessionId.c_str());
  ctrl->SetbaMoney("123");
  const TransferFormRow row{"0307", "TransFPOST2BANK", PayingSide::PostalCard, true, "%s", false, noForm};
  TransferFormValues values = formValues("1234567890", "81200000");
  user->expectWindow("TransFConfirm").click("btnOK");
  ASSERT_EQ(ctrl->confirmAndRequest(transferRoad(), row, params, values), 0);
  const std::string xml = ctrl->GetXMLStr();
  EXPECT_NE(xml.find("<session_id>S&lt;x&gt;&amp;y</session_id>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<agency_bank>&lt;a&gt;&amp;0000</agency_bank>"), std::string::npos) << xml;
  const banktool::OpenedEnvelope opened = banktool::openEnvelope(ctrl->GetTrnsMsg());
  ASSERT_TRUE(opened.ok) << opened.error;
  EXPECT_TRUE(opened.macOk);
  EXPECT_EQ(opened.text, xml);
}

TEST_F(FormRequest, PageMarkersTellWherePostalPayeesCameFromAndWhichTransactionType) {
  connect(kPostalCard);
  const FormParameters params = parameters(kPostalCard, "P014A1");
  const TransferFormRow postal{"P014A1", "TransFPOST2RODA", PayingSide::PostalCard, false, "%014s", true, noForm};
  const TransferFormRow bankCard{"0306", "TransFBANK2BANK", PayingSide::BankCard, true, "%016s", false, noForm};
  struct MarkerCase {
    const char* name;
    const TransferFormRow* row;
    int source, index, txType;
    const char* asn;     // clear text of ReturnASN; "" for empty
    const char* txFlag;  // clear text of ReturnTxFlag; "" for empty
  };
  for (MarkerCase mc : {MarkerCase{"agreed account 2", &postal, 1, 2, 1, "P2", "1"},
                        MarkerCase{"account book entry 0", &postal, 3, 0, 0, "M0", "0"},
                        MarkerCase{"typed payee", &postal, 2, 5, 2, "", "2"},
                        MarkerCase{"list header: no real pick", &postal, 1, -1, 0, "", "0"},
                        MarkerCase{"bank card: no markers", &bankCard, 1, 2, 1, "", ""}}) {
    SCOPED_TRACE(mc.name);
    ZododovuRavuVODCtrl fresh;
    TransferFormValues v;
    v.payeeSource = mc.source;
    v.payeeIndex = mc.index;
    v.txTypeIndex = mc.txType;
    fresh.returnPayeeSource(*mc.row, params, v);
    // What the bank's side makes of the same text under the call's IV.
    auto sealed = [&](const std::string& text) {
      return text.empty() ? text : banktool::makeParamBlock(text, params.iv);
    };
    EXPECT_EQ(fresh.GetReturnASN(), sealed(mc.asn));
    EXPECT_EQ(fresh.GetReturnTxFlag(), sealed(mc.txFlag));
  }
}

}  // namespace
}  // namespace txbench
