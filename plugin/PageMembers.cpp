// The one table of the page's names: what each name is, where it forwards, and who may use it. A
// member that talks to the reader or the card, or opens a dialog, is Guarded (only the bank's pages);
// a new transaction row is Guarded too. Members that only hold page values stay Open.
#include <cstdint>

#include "ZODODOVURAVUVOD.h"
#include "argument_conversion.h"
#include "card/SecureWipe.h"

namespace {

using Ctrl = ZododovuRavuVODCtrl;
using Z = ZODODOVURAVUVOD;

// A page value in the type a setter wants, refused with the framework's page-facing message.
template <class T>
T fromPage(const PF::variant& value) {
  return PF::detail::converter<T, PF::variant>::convert(value);
}

// Texts reach the controller as NUL-terminated strings, so a text stops at its first NUL. The copy
// made on the way is wiped when it goes: the text may be a PIN.
PF::SetPropFunctor textSetter(Ctrl& controller, void (Ctrl::*set)(const char*)) {
  Ctrl* ctrl = &controller;
  return [ctrl, set](const PF::variant& value) {
    const card::WipedText text(fromPage<std::string>(value));
    (ctrl->*set)(text.text.c_str());
  };
}

template <class Get>
PF::PropertyFunctors textProperty(Ctrl& controller, Get get, void (Ctrl::*set)(const char*)) {
  Ctrl* ctrl = &controller;
  return PF::PropertyFunctors([ctrl, get] { return PF::variant((ctrl->*get)()); }, textSetter(controller, set));
}

// The page parameter blocks: written through, never read back.
PF::PropertyFunctors parameterBlock(Ctrl& controller, void (Ctrl::*set)(const char*)) {
  return PF::PropertyFunctors([] { return PF::variant(std::string("not support getter")); },
                              textSetter(controller, set));
}

// Int-held numbers: read widened with the sign, written with the low 32 bits of the page's long.
PF::PropertyFunctors intProperty(Ctrl& controller, int (Ctrl::*get)() const, void (Ctrl::*set)(int)) {
  Ctrl* ctrl = &controller;
  return PF::PropertyFunctors([ctrl, get] { return PF::variant(static_cast<long>((ctrl->*get)())); },
                              [ctrl, set](const PF::variant& value) {
                                const long number = fromPage<long>(value);
                                (ctrl->*set)(static_cast<int>(static_cast<std::uint32_t>(number)));
                              });
}

// 64-bit numbers: all 64 bits both ways, as a long on the page's side.
template <class Wide>
PF::PropertyFunctors wideProperty(Ctrl& controller, Wide (Ctrl::*get)() const, void (Ctrl::*set)(Wide)) {
  Ctrl* ctrl = &controller;
  return PF::PropertyFunctors(
      [ctrl, get] { return PF::variant(static_cast<long>((ctrl->*get)())); },
      [ctrl, set](const PF::variant& value) { (ctrl->*set)(static_cast<Wide>(fromPage<long>(value))); });
}

// A transaction: like every method without parameters it ignores whatever arguments the page passes.
PF::CallMethodFunctor transaction(Z& object, long (Ctrl::*run)()) {
  Ctrl* ctrl = &object.controller();
  return [ctrl, run](const std::vector<PF::variant>&) { return PF::variant((ctrl->*run)()); };
}

// A transaction that runs the customer's forms: an exception that still escapes it is answered 8990,
// never as a success.
PF::CallMethodFunctor formTransaction(Z& object, long (Ctrl::*run)()) {
  Ctrl* ctrl = &object.controller();
  return [ctrl, run](const std::vector<PF::variant>&) {
    try {
      return PF::variant((ctrl->*run)());
    } catch (...) {
      return PF::variant(rc::kCancelled);
    }
  };
}

}  // namespace

// Each entry names who may use it (Open: any page; Guarded: only the bank's pages, see PageMember)
// and its member once; the forwarding target is the member of the same name.
// The member macros keep their hand layout (the formatter misreads "#name" inside braces).
// clang-format off
#define RVP_OWN_METHOD(reach, name) \
  { #name, PageMember::Method, PageMember::reach, [](Z& z) { return PF::make_method(&z, &Z::name); }, nullptr }
#define RVP_CARD_OPERATION(reach, name)                                                            \
  {                                                                                                \
    #name, PageMember::Method, PageMember::reach,                                                  \
        [](Z& z) { return PF::make_method(&z.controller(), &Ctrl::name); }, nullptr               \
  }
#define RVP_TRANSACTION(reach, name) \
  { #name, PageMember::Method, PageMember::reach, [](Z& z) { return transaction(z, &Ctrl::name); }, nullptr }
#define RVP_FORM_TRANSACTION(reach, name) \
  { #name, PageMember::Method, PageMember::reach, [](Z& z) { return formTransaction(z, &Ctrl::name); }, nullptr }
#define RVP_TEXT(reach, name)                                                                      \
  {                                                                                                \
    #name, PageMember::Property, PageMember::reach, nullptr,                                       \
        [](Z& z) { return textProperty(z.controller(), &Ctrl::Get##name, &Ctrl::Set##name); }     \
  }
#define RVP_INT(reach, name)                                                                       \
  {                                                                                                \
    #name, PageMember::Property, PageMember::reach, nullptr,                                       \
        [](Z& z) { return intProperty(z.controller(), &Ctrl::Get##name, &Ctrl::Set##name); }      \
  }
#define RVP_WIDE(reach, name)                                                                      \
  {                                                                                                \
    #name, PageMember::Property, PageMember::reach, nullptr,                                       \
        [](Z& z) { return wideProperty(z.controller(), &Ctrl::Get##name, &Ctrl::Set##name); }     \
  }
#define RVP_PARAMETER_BLOCK(reach, name)                                                           \
  {                                                                                                \
    #name, PageMember::Property, PageMember::reach, nullptr,                                       \
        [](Z& z) { return parameterBlock(z.controller(), &Ctrl::Set##name); }                     \
  }
#define RVP_READ_ONLY_TEXT(reach, name)                                                            \
  {                                                                                                \
    #name, PageMember::ReadOnlyProperty, PageMember::reach, nullptr,                               \
        [](Z& z) { return PF::make_property(&z.controller(), &Ctrl::Get##name); }                 \
  }

// clang-format on

const std::vector<PageMember>& ZODODOVURAVUVOD::pageMembers() {
  static const std::vector<PageMember> table = {
      RVP_OWN_METHOD(Open, echo),
      RVP_OWN_METHOD(Open, testEvent),

      {"testString", PageMember::Property, PageMember::Open, nullptr,
       [](Z& z) { return PF::make_property(&z, &Z::getTestString, &Z::setTestString); }},
      {"version", PageMember::ReadOnlyProperty, PageMember::Open, nullptr,
       [](Z& z) { return PF::make_property(&z, &Z::getVersion); }},
      RVP_INT(Open, iNoR),
      RVP_TEXT(Open, baReaderName),
      RVP_TEXT(Open, baATR),
      RVP_WIDE(Open, ulProtocol),
      RVP_WIDE(Open, ulState),
      RVP_WIDE(Open, ulLen),
      RVP_INT(Open, iResetType),
      RVP_INT(Open, iDisConnectType),
      RVP_WIDE(Open, dwAttrId),
      RVP_TEXT(Open, pbAttr),
      RVP_WIDE(Open, pcbAttrLen),
      RVP_INT(Open, cardType),
      RVP_TEXT(Open, baDFID),
      RVP_TEXT(Open, baEFID),
      RVP_WIDE(Open, uiSW12),
      RVP_TEXT(Open, baBuf),
      RVP_TEXT(Open, bPq),
      RVP_TEXT(Open, bRecID),
      RVP_TEXT(Open, bLen),
      RVP_WIDE(Open, bRLen),
      RVP_TEXT(Open, baPIN),
      RVP_TEXT(Open, baNewPIN),
      RVP_TEXT(Open, baSN),
      RVP_TEXT(Open, baTSAC),
      RVP_INT(Open, iNoA),
      RVP_TEXT(Open, baIssueNo),
      RVP_TEXT(Open, baRemark),
      RVP_TEXT(Open, baAccount1),
      RVP_TEXT(Open, baIFD_Chk_Code),
      RVP_TEXT(Open, baIFD_ID),
      RVP_TEXT(Open, bAccountID),
      RVP_TEXT(Open, baICC_SNO),
      RVP_TEXT(Open, baTACLen),
      RVP_TEXT(Open, baTAC),
      RVP_TEXT(Open, baP_CODE),
      RVP_TEXT(Open, baAagency_No),
      RVP_TEXT(Open, baAccept_No),
      RVP_TEXT(Open, baImport_Account),
      RVP_TEXT(Open, baMoney),
      RVP_TEXT(Open, baDateTime),
      RVP_TEXT(Open, baPaymentType),
      RVP_TEXT(Open, baCancelNo),
      RVP_TEXT(Guarded, IssuerAccount),  // read from the card, not from what was written
      RVP_TEXT(Guarded, IssuerId),
      RVP_TEXT(Guarded, IssuerRemark),
      RVP_TEXT(Open, SessionId),
      RVP_TEXT(Open, baTax_Date),
      RVP_TEXT(Open, baTax_Unit),
      RVP_INT(Open, iRec),
      RVP_TEXT(Open, TrnsMsg),
      RVP_TEXT(Open, baMerchantID),
      RVP_TEXT(Open, baOrderNumber),
      RVP_TEXT(Open, baTaxAgencyNo),
      RVP_TEXT(Open, baTaxComment),
      RVP_INT(Open, iNoAP),
      RVP_TEXT(Open, baUSER_REF),
      RVP_TEXT(Open, baCIF_TEL_AREA),
      RVP_TEXT(Open, IEURL),
      RVP_TEXT(Open, baACC_TEL),
      RVP_TEXT(Open, baACC_ADDR),
      RVP_TEXT(Open, baACC_EMAIL),
      RVP_PARAMETER_BLOCK(Open, bh_d0),
      RVP_PARAMETER_BLOCK(Open, bh_d1),
      RVP_PARAMETER_BLOCK(Open, bh_d2),
      RVP_PARAMETER_BLOCK(Open, bh_d3),
      RVP_PARAMETER_BLOCK(Open, bh_d4),
      RVP_PARAMETER_BLOCK(Open, bh_d5),
      RVP_PARAMETER_BLOCK(Open, bh_d6),
      RVP_PARAMETER_BLOCK(Open, bh_d7),
      RVP_PARAMETER_BLOCK(Open, bh_d8),
      RVP_PARAMETER_BLOCK(Open, bh_d9),
      RVP_PARAMETER_BLOCK(Open, bh_d10),
      RVP_READ_ONLY_TEXT(Open, ReturnASN),
      RVP_READ_ONLY_TEXT(Open, ReturnTxFlag),
      RVP_TEXT(Open, bSelectedAccount),

      RVP_CARD_OPERATION(Guarded, ConnectReader),
      RVP_CARD_OPERATION(Guarded, DisConnectReader),
      RVP_CARD_OPERATION(Guarded, ListReaders),
      RVP_CARD_OPERATION(Guarded, ConnectCard),
      RVP_CARD_OPERATION(Guarded, ReConnectCard),
      RVP_CARD_OPERATION(Guarded, DisConnectCard),
      RVP_CARD_OPERATION(Guarded, GetCardStatus),
      RVP_CARD_OPERATION(Guarded, GetReaderStatus),
      RVP_CARD_OPERATION(Guarded, CheckCardInsert),
      RVP_CARD_OPERATION(Guarded, ListAccounts),
      RVP_CARD_OPERATION(Guarded, T1Transmit),
      RVP_CARD_OPERATION(Guarded, SelectParentDF),
      RVP_CARD_OPERATION(Guarded, SelectDF),
      RVP_CARD_OPERATION(Guarded, SelectEF),
      RVP_CARD_OPERATION(Guarded, VerifyPIN),
      RVP_CARD_OPERATION(Guarded, UpdateRecord),
      RVP_CARD_OPERATION(Guarded, ReadRecord),
      RVP_CARD_OPERATION(Guarded, ChangePassword),
      RVP_CARD_OPERATION(Guarded, WriteRecordWithSNUMTAC),
      RVP_CARD_OPERATION(Guarded, CardAccounts),
      RVP_TRANSACTION(Guarded, Inquiry),
      RVP_TRANSACTION(Guarded, Transfer),
      RVP_TRANSACTION(Guarded, RodaAccount),
      RVP_TRANSACTION(Guarded, Tax),
      RVP_TRANSACTION(Guarded, Payment),
      RVP_TRANSACTION(Guarded, PayTransfer),
      RVP_OWN_METHOD(Open, GetAPIVersion),
      RVP_TRANSACTION(Guarded, WideFee),
      RVP_CARD_OPERATION(Guarded, AppnAccounts),
      RVP_TRANSACTION(Guarded, CardStart),
      RVP_TRANSACTION(Guarded, PayCredit),
      RVP_TRANSACTION(Guarded, RodaPayment),
      RVP_FORM_TRANSACTION(Guarded, Transfer_V2),
      RVP_TRANSACTION(Guarded, CommACCT_Set),
      RVP_FORM_TRANSACTION(Guarded, PublicDonation),
      RVP_CARD_OPERATION(Guarded, CheckCardInOut),
      RVP_CARD_OPERATION(Guarded, CheckCardInOut2),
      RVP_TRANSACTION(Guarded, CommACCT_Add),
      RVP_TRANSACTION(Guarded, AccountSetting),
      RVP_OWN_METHOD(Open, GetLogContent),
      RVP_OWN_METHOD(Open, caReaderGet),
      RVP_OWN_METHOD(Open, caReaderPut),
      RVP_OWN_METHOD(Open, baAccountGet),
      RVP_OWN_METHOD(Open, baAccountPut),
      RVP_OWN_METHOD(Open, baRecordGet),
      RVP_OWN_METHOD(Open, baRecordPut),
      RVP_OWN_METHOD(Open, OptionDataGet),
      RVP_OWN_METHOD(Open, OptionDataPut),
      RVP_OWN_METHOD(Open, baAppnAccountGet),
      RVP_OWN_METHOD(Open, baAppnAccountPut),
      RVP_TRANSACTION(Guarded, VisaRenewal),
  };
  return table;
}
