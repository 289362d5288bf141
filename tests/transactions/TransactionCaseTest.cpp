// Every transaction and kind, end to end: page fields in, the exact record the card received, the
// result, the request XML, and the envelope the bank opens with a valid MAC.
#include <functional>

#include "TransactionBench.h"
#include "card/Ebcdic.h"

namespace txbench {
namespace {

using Front = long (ZododovuRavuVODCtrl::*)();
using Page = std::function<void(ZododovuRavuVODCtrl&)>;

struct Case {
  std::string name;
  const CardFacts* card;
  Front front;
  Page page;
  std::string record;  // the bytes the card must receive
  std::string txCode;
  std::string tacId;
  std::string elements;      // between </tac_id> and <icc_no>
  std::string block = "";    // between </tsac> and </trns>
  std::string checkTo = "";  // the transfer check's payee text; empty: no dialog
  std::string checkAmount = "";
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

std::string el(const std::string& tag, const std::string& value) { return "<" + tag + ">" + value + "</" + tag + ">"; }

std::string ebcdic(std::string text) {
  ascii2ebcdic(text.data(), text.data(), text.size());
  return text;
}

// Common values of the cases.
const std::string kAmount = "00000000012300";        // baMoney 12300 as the bank steps take it
const std::string kPostalAmount = "00000001230000";  // and as the postal steps do (hundredths)
const std::string kPayee = "0000001234567890";       // baImport_Account 1234567890
const std::string kBankHead = std::string(kAmount) + kTerminal + kCheckCode + kDateTime;
const std::string kPackedCheckAndTime = hx("38200001") + hx("20261210131500");

Page transferPage(const char* payeeBank) {
  return [payeeBank](ZododovuRavuVODCtrl& c) {
    c.SetbaAccept_No(payeeBank);
    c.SetbaAagency_No("0001");
    c.SetbaImport_Account("1234567890");
  };
}

std::string transferElements(const CardFacts& card, const std::string& payeeBank, const std::string& payee,
                             const std::string& amount) {
  return el("trns_in_bank", payeeBank) + el("trns_out_bank", card.issuer) + el("agency_bank", "0001") +
         el("trns_in_account", payee) + el("trns_out_account", card.mainAccount) + el("trns_amount", amount);
}

Case bankTransfer(const char* name, const CardFacts& card, const char* payeeBank, const std::string& code) {
  return {name,
          &card,
          &ZododovuRavuVODCtrl::Transfer,
          transferPage(payeeBank),
          code + kBankHead + kPayee + card.mainAccount,
          "MSG" + code + "U",
          code,
          transferElements(card, payeeBank, kPayee, kAmount),
          "",
          std::string(payeeBank).substr(0, 3) + "/" + kPayee,
          "123"};
}

Case postalTransfer(const char* pCode, const std::string& code, const std::string& packed, const std::string& txCode,
                    bool checked = true) {
  Page page = [pCode](ZododovuRavuVODCtrl& c) {
    transferPage("700")(c);
    c.SetbaP_CODE(pCode);
  };
  return {std::string("Postal") + pCode,
          &kPostalCard,
          &ZododovuRavuVODCtrl::Transfer,
          page,
          (code.empty() ? zeros(4) : code) + kPostalAmount + kPayee + hx(packed) + kPackedCheckAndTime +
              kPostalCard.mainAccount,
          txCode,
          pCode,
          transferElements(kPostalCard, "700", kPayee, kPostalAmount),
          "",
          checked ? "700/" + kPayee : "",
          "12300"};
}

Case inquiry(const char* name, const CardFacts& card, const char* pCode, const std::string& record,
             const std::string& txCode, const std::string& tacId) {
  return {name,
          &card,
          &ZododovuRavuVODCtrl::Inquiry,
          [pCode](ZododovuRavuVODCtrl& c) { c.SetbaP_CODE(pCode); },
          record,
          txCode,
          tacId,
          el("trns_out_bank", card.issuer) + el("trns_out_account", card.mainAccount)};
}

Case postalInquiry(const char* pCode, const std::string& code, const std::string& txCode) {
  return inquiry((std::string("PostalInquiry") + pCode).c_str(), kPostalCard, pCode,
                 (code.empty() ? zeros(4) : code) + std::string(16, '0') + ebcdic(pCode) + ebcdic(kCheckCode) +
                     ebcdic(kDateTime) + kPostalCard.mainAccount,
                 txCode, pCode);
}

Case tax(const char* name, const CardFacts& card, const char* type, const char* cancelNo, const std::string& code,
         const std::string& payeeNumber, const std::string& group) {
  Page page = [type, cancelNo](ZododovuRavuVODCtrl& c) {
    c.SetbaAagency_No("0001");
    c.SetbaPaymentType(type);
    c.SetbaCancelNo(cancelNo);
    c.SetbaTax_Date("1141231");
    c.SetbaTax_Unit("ABC");
  };
  std::string typeSlot = std::string(type) + zeros(5 - std::string(type).size());
  return {name,
          &card,
          &ZododovuRavuVODCtrl::Tax,
          page,
          code + kBankHead + typeSlot + card.mainAccount + payeeNumber,
          "MSG" + code + "U",
          code,
          el("trns_out_bank", card.issuer) + el("agency_bank", "0001") + el("trns_in_account", payeeNumber) +
              el("trns_out_account", card.mainAccount) + el("trns_amount", kAmount),
          "<tax>" + el("tax_type", type) + (group == "unit" ? el("tax_unit", "ABC") : el("tax_date", "1141231")) +
              "</tax>"};
}

Case wideFee(const char* name, const CardFacts& card, const char* payeeBank, const std::string& code) {
  Page page = [payeeBank](ZododovuRavuVODCtrl& c) {
    c.SetbaAccept_No(payeeBank);
    c.SetbaAagency_No("0001");
    c.SetbaPaymentType("21");
    c.SetbaTaxAgencyNo("A0001");
    c.SetbaTaxComment("FEE");
  };
  return {name,
          &card,
          &ZododovuRavuVODCtrl::WideFee,
          page,
          code + kBankHead + card.mainAccount,
          "MSG" + code + "U",
          code,
          el("trns_in_bank", payeeBank) + el("trns_out_bank", card.issuer) + el("agency_bank", "0001") +
              el("trns_out_account", card.mainAccount) + el("trns_amount", kAmount),
          "<tax>" + el("tax_type", "21") + el("tax_agency_no", "A0001") + el("tax_comment", "FEE") + "</tax>"};
}

Case rodaAccount(const char* pCode, const std::string& code, const std::string& packed, const std::string& txCode) {
  const bool contact = std::string(pCode) == "D38713";
  Page page = [pCode](ZododovuRavuVODCtrl& c) {
    transferPage("700")(c);
    c.SetbaP_CODE(pCode);
    c.SetbaUSER_REF("REF001");
    c.SetbaACC_TEL("0223456789");
    c.SetbaACC_ADDR("TAIPEI");
    c.SetbaACC_EMAIL("a@b.example");
  };
  std::string extra =
      contact ? el("trns_acc_tel", "0223456789") + el("trns_acc_addr", "TAIPEI") + el("trns_acc_email", "a@b.example")
              : el("trns_user_ref", "REF001");
  return {std::string("Account") + pCode,
          &kPostalCard,
          &ZododovuRavuVODCtrl::RodaAccount,
          page,
          (code.empty() ? zeros(4) : code) + std::string(14, '0') + kPostalCard.mainAccount + hx(packed) +
              kPackedCheckAndTime + kPostalCard.mainAccount,
          txCode,
          pCode,
          transferElements(kPostalCard, "700", kPayee, kPostalAmount) + extra};
}

Case rodaPayment(const char* pCode, const std::string& code, const std::string& packed, const std::string& txCode) {
  const std::string p(pCode);
  const bool userRef = p == "P014A6";
  const bool cancel = p.rfind("P014A", 0) == 0 && !userRef;
  Page page = [pCode, cancel](ZododovuRavuVODCtrl& c) {
    c.SetbaP_CODE(pCode);
    if (cancel) c.SetbaCancelNo("CANCEL0000000001");
    c.SetbaUSER_REF("REF123");
    c.SetbaCIF_TEL_AREA("02");
    c.SetbaTax_Date("1141231");
  };
  std::string field = cancel ? "CANCEL0000000001" : userRef ? "00REF12302" + zeros(6) : zeros(16);
  std::string body = el("trns_out_bank", kPostalCard.issuer) + el("trns_out_account", kPostalCard.mainAccount);
  if (userRef)
    body += el("trns_in_account", "00REF12302") + el("trns_date", "1141231") + el("trns_user_ref", "REF123") +
            el("trns_cif_tel_area", "02");
  else
    body += el("trns_in_account", cancel ? "CANCEL0000000001" : "");
  body += el("trns_amount", kPostalAmount);
  return {"Payment" + p,
          &kPostalCard,
          &ZododovuRavuVODCtrl::RodaPayment,
          page,
          (code.empty() ? zeros(4) : code) + kPostalAmount + field + hx(packed) + kPackedCheckAndTime +
              kPostalCard.mainAccount,
          txCode,
          pCode,
          body};
}

// Account setting: no amount in the record, the payee account in its 16-character form, and the card
// code only for the processing codes that have one; the request always says 2581.
Case accountSetting(const char* pCode, const std::string& code, const std::string& packed) {
  Page page = [pCode](ZododovuRavuVODCtrl& c) {
    transferPage("700")(c);
    c.SetbaP_CODE(pCode);
  };
  return {std::string("AccountSetting") + pCode,
          &kPostalCard,
          &ZododovuRavuVODCtrl::AccountSetting,
          page,
          (code.empty() ? zeros(4) : code) + std::string(14, '0') + kPayee + hx(packed) + kPackedCheckAndTime +
              kPostalCard.mainAccount,
          "2581",
          pCode,
          el("trns_in_bank", "700") + el("trns_out_bank", kPostalCard.issuer) + el("trns_in_account", kPayee) +
              el("trns_out_account", kPostalCard.mainAccount) + el("trns_amount", kAmount)};
}

// Card renewal: always the card's first account, no amount, the agency bank in the request and the
// payee account there as the page set it.
Case visaRenewal() {
  Page page = [](ZododovuRavuVODCtrl& c) {
    transferPage("700")(c);
    c.SetbaP_CODE("P116A7");
    c.SetbAccountID("3");  // ignored: the renewal works on account 01
  };
  return {"VisaRenewal",
          &kPostalCard,
          &ZododovuRavuVODCtrl::VisaRenewal,
          page,
          "2581" + std::string(14, '0') + kPostalCard.mainAccount + hx("711617") + kPackedCheckAndTime +
              kPostalCard.mainAccount,
          "2581",
          "P116A7",
          el("trns_in_bank", "700") + el("trns_out_bank", kPostalCard.issuer) + el("agency_bank", "0001") +
              el("trns_in_account", "1234567890") + el("trns_out_account", kPostalCard.mainAccount) +
              el("trns_amount", std::string(14, '0'))};
}

std::vector<Case> allCases() {
  std::vector<Case> cases = {
      bankTransfer("OwnCardToOtherBank", kPostalCard, "004", "2521"),
      bankTransfer("OtherCardToOwnBank", kBankCard, "700", "2522"),
      bankTransfer("SameOtherBank", kBankCard, "004", "2523"),
      bankTransfer("InsideOwnBank", kPostalCard, "700", "2920"),
      bankTransfer("ThreeBanks", kBankCard, "8120000", "2524"),
      postalTransfer("P014A1", "2580", "701411", "2580"),
      postalTransfer("P014AI", "2581", "701419", "2581"),
      postalTransfer("G004A2", "2583", "700412", "2583"),
      postalTransfer("I03533", "2582", "903533", "2582", false),
      postalTransfer("Q12345", "", "812345", "MSGQ12345U"),
      inquiry("BankInquiry", kBankCard, "", std::string("2500") + kCheckCode + kBankCard.mainAccount, "2500", "2500"),
      postalInquiry("P611A6", "2590", "2590"),
      postalInquiry("GJ01A2", "2593", "2593"),
      postalInquiry("P014A1", "", ""),
      tax("TaxDateOtherBank", kBankCard, "11", "12345678", "2531", "12345678        ", "date"),
      tax("TaxDateOwnBank", kPostalCard, "16000", "12345678", "2532", "12345678        ", "date"),
      tax("TaxUnitOtherBank", kBankCard, "15001", "A123456789", "2531", "0000010123456789", "unit"),
      tax("TaxUnitOwnBank", kPostalCard, "15999", "A123456789", "2532", "ABC10123456789  ", "unit"),
      tax("TaxType15000IsAUnit", kBankCard, "15000", "1234", "2531", "000001234       ", "unit"),
      tax("TaxTypeWithLeadingLetterIsADate", kBankCard, "A1", "1234", "2531", "1234            ", "date"),
      wideFee("FeeOwnCardToOtherBank", kPostalCard, "004", "2561"),
      wideFee("FeeOtherCardToOwnBank", kBankCard, "700", "2562"),
      wideFee("FeeSameOtherBank", kBankCard, "004", "2563"),
      wideFee("FeeInsideOwnBank", kPostalCard, "700", "2563"),
      wideFee("FeeThreeBanks", kBankCard, "812", "2564"),
      wideFee("FeeTwoCharacterPayeeBank", kBankCard, "70", "2564"),
      wideFee("FeeFourCharacterPayeeBank", kBankCard, "7001", "2562"),
      rodaAccount("P116A1", "2584", "711611", "2584"),
      rodaAccount("P116A2", "2584", "711612", "2584"),
      rodaAccount("D38713", "2584", "438713", "2584"),
      rodaAccount("P116A4", "2581", "711614", "2581"),
      rodaAccount("ZZZZZZ", "", "999999", "MSG2584U"),
      rodaPayment("P014A5", "2580", "701415", "2580"),
      rodaPayment("P014A6", "2580", "701416", "2580"),
      rodaPayment("P014A9", "2580", "701419", "2580"),
      rodaPayment("P014AA", "2581", "701411", "2581"),
      rodaPayment("P014AB", "2581", "701412", "2581"),
      rodaPayment("P014AC", "2581", "701413", "2581"),
      rodaPayment("P014AD", "2581", "701414", "2581"),
      rodaPayment("I03533", "", "903533", "2582"),
      rodaPayment("I03537", "", "903537", "2582"),
      accountSetting("P116A3", "2581", "711613"),
      accountSetting("P116A4", "", "711614"),
      accountSetting("P116A5", "2581", "711615"),
      accountSetting("P116A6", "2581", "711616"),
      visaRenewal(),
  };

  // A unit number of nine digits or more has no letter to convert: the payee number is five zeros.
  Case allDigits = tax("TaxUnitAllDigits", kBankCard, "15001", "123456789", "2531", "00000", "unit");
  allDigits.record = "2531" + kBankHead + "15001" + kBankCard.mainAccount + "00000" + zeros(11);
  cases.push_back(allDigits);

  // PayTransfer: always 2525, with the payment type in a tax block.
  Case payTransfer = bankTransfer("PayTransfer", kBankCard, "812", "2525");
  payTransfer.front = &ZododovuRavuVODCtrl::PayTransfer;
  payTransfer.page = [](ZododovuRavuVODCtrl& c) {
    transferPage("812")(c);
    c.SetbaPaymentType("15001");
  };
  payTransfer.block = "<tax>" + el("tax_type", "15001") + "</tax>";
  cases.push_back(payTransfer);

  // A processing code left from a postal payment that needs no check: the bank step shows none either.
  Case payTransferNoCheck = payTransfer;
  payTransferNoCheck.name = "PayTransferAfterAPostalCodeWithoutCheck";
  payTransferNoCheck.page = [](ZododovuRavuVODCtrl& c) {
    transferPage("812")(c);
    c.SetbaPaymentType("15001");
    c.SetbaP_CODE("I03533");
  };
  payTransferNoCheck.checkTo = "";
  cases.push_back(payTransferNoCheck);

  // PayCredit: another bank's card paying into the own bank.
  Case payCredit = bankTransfer("PayCreditFromOtherBank", kBankCard, "700", "2522");
  payCredit.front = &ZododovuRavuVODCtrl::PayCredit;
  payCredit.elements = transferElements(kBankCard, "700", "1234567890", kAmount);  // as the page set it
  cases.push_back(payCredit);

  // PayCredit inside the own bank: the record's payee slot is "00" and the first 14 characters.
  Case payCreditOwn = bankTransfer("PayCreditInsideOwnBank", kPostalCard, "700", "2920");
  payCreditOwn.front = &ZododovuRavuVODCtrl::PayCredit;
  payCreditOwn.record = "2920" + kBankHead + "0000000012345678" + kPostalCard.mainAccount;
  payCreditOwn.elements = transferElements(kPostalCard, "700", "1234567890", kAmount);
  cases.push_back(payCreditOwn);

  Case payment{"Payment",
               &kBankCard,
               &ZododovuRavuVODCtrl::Payment,
               [](ZododovuRavuVODCtrl& c) {
                 c.SetbaMerchantID("MERCHANT-0001");
                 c.SetbaOrderNumber("ORDER-77");
               },
               "2541" + kBankHead + "MERCHANT-0001" + zeros(17) + kBankCard.mainAccount,
               "MSG2541U",
               "2541",
               el("trns_out_bank", kBankCard.issuer) + el("trns_out_account", kBankCard.mainAccount) +
                   el("trns_amount", kAmount),
               "<payment>" + el("merchant_id", "MERCHANT-0001") + el("order_number", "ORDER-77") + "</payment>"};
  cases.push_back(payment);
  return cases;
}

class EveryTransaction : public TransactionTest, public ::testing::WithParamInterface<Case> {};

TEST_P(EveryTransaction, WritesItsRecordAndSealsItsRequest) {
  const Case& c = GetParam();
  connect(*c.card);
  c.page(*ctrl);
  ctrl->SetTrnsMsg("an earlier request");
  if (!c.checkTo.empty())
    answerTransferCheck(std::string(c.card->issuer).substr(0, 3) + "/" + c.card->mainAccount, c.checkTo, c.checkAmount);
  ASSERT_EQ((ctrl.get()->*c.front)(), 0);
  EXPECT_EQ(ctrl->GetuiSW12(), 0x9000u);
  EXPECT_EQ(ctrl->GetbaEFID(), "1001");  // the write names the log by P1 P2 and selects nothing
  std::vector<CardWrite> written = writes();
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0].p1p2, "1080");
  EXPECT_EQ(rvp::cardsim::toHex(Bytes(written[0].record.begin(), written[0].record.end())),
            rvp::cardsim::toHex(Bytes(c.record.begin(), c.record.end())));
  expectSealed(expectedRequest(*c.card, c.txCode, c.tacId, c.elements, written[0], c.block));
}

INSTANTIATE_TEST_SUITE_P(Transactions, EveryTransaction, ::testing::ValuesIn(allCases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

}  // namespace
}  // namespace txbench
