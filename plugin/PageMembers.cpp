// The one table of the page's names: what each name is and where it forwards.
#include <cstdint>

#include "ZODODOVURAVUVOD.h"
#include "argument_conversion.h"

namespace {

using Ctrl = ZododovuRavuVODCtrl;
using Z = ZODODOVURAVUVOD;

// A page value in the type a setter wants, refused with the framework's page-facing message.
template <class T>
T fromPage(const PF::variant& value) {
  return PF::detail::converter<T, PF::variant>::convert(value);
}

// Texts reach the controller as NUL-terminated strings, so a text stops at its first NUL.
PF::SetPropFunctor textSetter(Ctrl& controller, void (Ctrl::*set)(const char*)) {
  Ctrl* ctrl = &controller;
  return [ctrl, set](const PF::variant& value) {
    const std::string text = fromPage<std::string>(value);
    (ctrl->*set)(text.c_str());
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
  return PF::PropertyFunctors([ctrl, get] { return PF::variant(static_cast<long>((ctrl->*get)())); },
                              [ctrl, set](const PF::variant& value) {
                                (ctrl->*set)(static_cast<Wide>(fromPage<long>(value)));
                              });
}

// A transaction behind the page-origin check; like every method without parameters it ignores
// whatever arguments the page passes.
PF::CallMethodFunctor transaction(Z& object, long (Ctrl::*run)()) {
  Z* self = &object;
  return [self, run](const std::vector<PF::variant>&) { return PF::variant(self->guardedTransaction(run)); };
}

}  // namespace

// Each entry names its member once; the forwarding target is the member of the same name.
#define RVP_OWN_METHOD(name) \
  { #name, PageMember::Method, [](Z& z) { return PF::make_method(&z, &Z::name); }, nullptr }
#define RVP_CARD_OPERATION(name) \
  { #name, PageMember::Method, [](Z& z) { return PF::make_method(&z.ctrl, &Ctrl::name); }, nullptr }
#define RVP_TRANSACTION(name) \
  { #name, PageMember::Method, [](Z& z) { return transaction(z, &Ctrl::name); }, nullptr }
#define RVP_TEXT(name)                                                                             \
  {                                                                                                \
    #name, PageMember::Property, nullptr,                                                          \
        [](Z& z) { return textProperty(z.ctrl, &Ctrl::Get##name, &Ctrl::Set##name); }             \
  }
#define RVP_INT(name)                                                                              \
  {                                                                                                \
    #name, PageMember::Property, nullptr,                                                          \
        [](Z& z) { return intProperty(z.ctrl, &Ctrl::Get##name, &Ctrl::Set##name); }              \
  }
#define RVP_WIDE(name)                                                                             \
  {                                                                                                \
    #name, PageMember::Property, nullptr,                                                          \
        [](Z& z) { return wideProperty(z.ctrl, &Ctrl::Get##name, &Ctrl::Set##name); }              \
  }
#define RVP_PARAMETER_BLOCK(name) \
  { #name, PageMember::Property, nullptr, [](Z& z) { return parameterBlock(z.ctrl, &Ctrl::Set##name); } }
#define RVP_READ_ONLY_TEXT(name)                                                                   \
  {                                                                                                \
    #name, PageMember::ReadOnlyProperty, nullptr,                                                  \
        [](Z& z) { return PF::make_property(&z.ctrl, &Ctrl::Get##name); }                          \
  }

const std::vector<PageMember>& ZODODOVURAVUVOD::pageMembers() {
  static const std::vector<PageMember> table = {
      RVP_OWN_METHOD(echo),
      RVP_OWN_METHOD(testEvent),

      {"testString", PageMember::Property, nullptr,
       [](Z& z) { return PF::make_property(&z, &Z::getTestString, &Z::setTestString); }},
      {"version", PageMember::ReadOnlyProperty, nullptr,
       [](Z& z) { return PF::make_property(&z, &Z::getVersion); }},
      RVP_INT(iNoR),
      RVP_TEXT(baReaderName),
      RVP_TEXT(baATR),
      RVP_WIDE(ulProtocol),
      RVP_WIDE(ulState),
      RVP_WIDE(ulLen),
      RVP_INT(iResetType),
      RVP_INT(iDisConnectType),
      RVP_WIDE(dwAttrId),
      RVP_TEXT(pbAttr),
      RVP_WIDE(pcbAttrLen),
      RVP_INT(cardType),
      RVP_TEXT(baDFID),
      RVP_TEXT(baEFID),
      RVP_WIDE(uiSW12),
      RVP_TEXT(baBuf),
      RVP_TEXT(bPq),
      RVP_TEXT(bRecID),
      RVP_TEXT(bLen),
      RVP_WIDE(bRLen),
      RVP_TEXT(baPIN),
      RVP_TEXT(baNewPIN),
      RVP_TEXT(baSN),
      RVP_TEXT(baTSAC),
      RVP_INT(iNoA),
      RVP_TEXT(baIssueNo),
      RVP_TEXT(baRemark),
      RVP_TEXT(baAccount1),
      RVP_TEXT(baIFD_Chk_Code),
      RVP_TEXT(baIFD_ID),
      RVP_TEXT(bAccountID),
      RVP_TEXT(baICC_SNO),
      RVP_TEXT(baTACLen),
      RVP_TEXT(baTAC),
      RVP_TEXT(baP_CODE),
      RVP_TEXT(baAagency_No),
      RVP_TEXT(baAccept_No),
      RVP_TEXT(baImport_Account),
      RVP_TEXT(baMoney),
      RVP_TEXT(baDateTime),
      RVP_TEXT(baPaymentType),
      RVP_TEXT(baCancelNo),
      RVP_TEXT(IssuerAccount),  // read from the card, not from what was written
      RVP_TEXT(IssuerId),
      RVP_TEXT(IssuerRemark),
      RVP_TEXT(SessionId),
      RVP_TEXT(baTax_Date),
      RVP_TEXT(baTax_Unit),
      RVP_INT(iRec),
      RVP_TEXT(TrnsMsg),
      RVP_TEXT(baMerchantID),
      RVP_TEXT(baOrderNumber),
      RVP_TEXT(baTaxAgencyNo),
      RVP_TEXT(baTaxComment),
      RVP_INT(iNoAP),
      RVP_TEXT(baUSER_REF),
      RVP_TEXT(baCIF_TEL_AREA),
      RVP_TEXT(IEURL),
      RVP_TEXT(baACC_TEL),
      RVP_TEXT(baACC_ADDR),
      RVP_TEXT(baACC_EMAIL),
      RVP_PARAMETER_BLOCK(bh_d0),
      RVP_PARAMETER_BLOCK(bh_d1),
      RVP_PARAMETER_BLOCK(bh_d2),
      RVP_PARAMETER_BLOCK(bh_d3),
      RVP_PARAMETER_BLOCK(bh_d4),
      RVP_PARAMETER_BLOCK(bh_d5),
      RVP_PARAMETER_BLOCK(bh_d6),
      RVP_PARAMETER_BLOCK(bh_d7),
      RVP_PARAMETER_BLOCK(bh_d8),
      RVP_PARAMETER_BLOCK(bh_d9),
      RVP_PARAMETER_BLOCK(bh_d10),
      RVP_READ_ONLY_TEXT(ReturnASN),
      RVP_READ_ONLY_TEXT(ReturnTxFlag),
      RVP_TEXT(bSelectedAccount),

      RVP_CARD_OPERATION(ConnectReader),
      RVP_CARD_OPERATION(DisConnectReader),
      RVP_CARD_OPERATION(ListReaders),
      RVP_CARD_OPERATION(ConnectCard),
      RVP_CARD_OPERATION(ReConnectCard),
      RVP_CARD_OPERATION(DisConnectCard),
      RVP_CARD_OPERATION(GetCardStatus),
      RVP_CARD_OPERATION(GetReaderStatus),
      RVP_CARD_OPERATION(CheckCardInsert),
      RVP_CARD_OPERATION(ListAccounts),
      RVP_CARD_OPERATION(T1Transmit),
      RVP_CARD_OPERATION(SelectParentDF),
      RVP_CARD_OPERATION(SelectDF),
      RVP_CARD_OPERATION(SelectEF),
      RVP_CARD_OPERATION(VerifyPIN),
      RVP_CARD_OPERATION(UpdateRecord),
      RVP_CARD_OPERATION(ReadRecord),
      RVP_CARD_OPERATION(ChangePassword),
      RVP_CARD_OPERATION(WriteRecordWithSNUMTAC),
      RVP_CARD_OPERATION(CardAccounts),
      RVP_TRANSACTION(Inquiry),
      RVP_TRANSACTION(Transfer),
      RVP_TRANSACTION(RodaAccount),
      RVP_TRANSACTION(Tax),
      RVP_TRANSACTION(Payment),
      RVP_TRANSACTION(PayTransfer),
      RVP_OWN_METHOD(GetAPIVersion),
      RVP_TRANSACTION(WideFee),
      RVP_CARD_OPERATION(AppnAccounts),
      RVP_TRANSACTION(CardStart),
      RVP_TRANSACTION(PayCredit),
      RVP_TRANSACTION(RodaPayment),
      RVP_CARD_OPERATION(CheckCardInOut),
      RVP_CARD_OPERATION(CheckCardInOut2),
      RVP_TRANSACTION(AccountSetting),
      RVP_OWN_METHOD(GetLogContent),
      RVP_OWN_METHOD(caReaderGet),
      RVP_OWN_METHOD(caReaderPut),
      RVP_OWN_METHOD(baAccountGet),
      RVP_OWN_METHOD(baAccountPut),
      RVP_OWN_METHOD(baRecordGet),
      RVP_OWN_METHOD(baRecordPut),
      RVP_OWN_METHOD(OptionDataGet),
      RVP_OWN_METHOD(OptionDataPut),
      RVP_OWN_METHOD(baAppnAccountGet),
      RVP_OWN_METHOD(baAppnAccountPut),
      RVP_TRANSACTION(VisaRenewal),
  };
  return table;
}
