// Every name the page can use: what kind of member it is, and that it reaches the controller's
// field or operation of the same name with the page's values intact.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <limits>
#include <set>

#include "FreedMemoryWatch.h"
#include "PageFixture.h"
#include "script_error.h"

namespace plugin_test {
namespace {

using Ctrl = ZododovuRavuVODCtrl;

struct TextField {
  const char* name;
  std::function<std::string(Ctrl&)> get;
  std::function<void(Ctrl&, const char*)> set;
};
#define TEXT(n)                                                                           \
  {                                                                                       \
#n, [](Ctrl & c) { return c.Get##n(); }, [](Ctrl & c, const char* t) { c.Set##n(t); } \
  }
const TextField kTexts[] = {
    TEXT(baReaderName),
    TEXT(baATR),
    TEXT(pbAttr),
    TEXT(baDFID),
    TEXT(baEFID),
    TEXT(baBuf),
    TEXT(bPq),
    TEXT(bRecID),
    TEXT(bLen),
    TEXT(baPIN),
    TEXT(baNewPIN),
    TEXT(baSN),
    TEXT(baTSAC),
    TEXT(baIssueNo),
    TEXT(baRemark),
    TEXT(baAccount1),
    TEXT(baIFD_Chk_Code),
    TEXT(baIFD_ID),
    TEXT(bAccountID),
    TEXT(baICC_SNO),
    TEXT(baTACLen),
    TEXT(baTAC),
    TEXT(baP_CODE),
    TEXT(baAagency_No),
    TEXT(baAccept_No),
    TEXT(baImport_Account),
    TEXT(baMoney),
    TEXT(baDateTime),
    TEXT(baPaymentType),
    TEXT(baCancelNo),
    TEXT(SessionId),
    TEXT(baTax_Date),
    TEXT(baTax_Unit),
    TEXT(TrnsMsg),
    TEXT(baMerchantID),
    TEXT(baOrderNumber),
    TEXT(baTaxAgencyNo),
    TEXT(baTaxComment),
    TEXT(baUSER_REF),
    TEXT(baCIF_TEL_AREA),
    TEXT(IEURL),
    TEXT(baACC_TEL),
    TEXT(baACC_ADDR),
    TEXT(baACC_EMAIL),
    TEXT(bSelectedAccount),
};
#undef TEXT

struct NumberField {
  const char* name;
  std::function<long(Ctrl&)> get;  // the controller's value, as the page should read it
  std::function<void(Ctrl&, long)> set;
};
#define INT(n)                                                                                                       \
  {                                                                                                                  \
#n, [](Ctrl & c) { return static_cast<long>(c.Get##n()); },                                                      \
                                                             [](Ctrl & c, long v) { c.Set##n(static_cast<int>(v)); } \
  }
const NumberField kInts[] = {INT(iNoR), INT(iResetType), INT(iDisConnectType), INT(cardType), INT(iNoA),
                             INT(iRec), INT(iNoAP)};
#undef INT
#define WIDE(n, T)                                                                                                    \
  {                                                                                                                   \
#n, [](Ctrl & c) { return static_cast<long>(c.Get##n()); }, [](Ctrl & c, long v) { c.Set##n(static_cast<T>(v)); } \
  }
const NumberField kWides[] = {WIDE(ulProtocol, std::uint64_t), WIDE(ulState, std::uint64_t),
                              WIDE(ulLen, std::uint64_t),      WIDE(dwAttrId, std::uint64_t),
                              WIDE(pcbAttrLen, std::uint64_t), WIDE(uiSW12, std::uint64_t),
                              WIDE(bRLen, std::int64_t)};
#undef WIDE

const char* const kIssuerTexts[] = {"IssuerAccount", "IssuerId", "IssuerRemark"};
const char* const kParameterBlocks[] = {"bh_d0", "bh_d1", "bh_d2", "bh_d3", "bh_d4", "bh_d5",
                                        "bh_d6", "bh_d7", "bh_d8", "bh_d9", "bh_d10"};
const char* const kReadOnly[] = {"version", "ReturnASN", "ReturnTxFlag"};

struct ListField {
  const char* name;
  long size;
  std::function<std::string(Ctrl&, long)> get;
  std::function<void(Ctrl&, long, const char*)> set;
};
#define LIST(n, size)                                                                                               \
  {                                                                                                                 \
#n, size, [](Ctrl & c, long i) { return c.Get##n(i); }, [](Ctrl & c, long i, const char* t) { c.Set##n(i, t); } \
  }
const ListField kLists[] = {LIST(caReader, 40), LIST(baAccount, 8), LIST(baRecord, 20), LIST(OptionData, 2),
                            LIST(baAppnAccount, 8)};
#undef LIST

// Methods: the card operations and transactions (their forwarding is checked with the card), the
// object's own members and the indexed-list pairs.
const char* const kMethods[] = {"echo",
                                "testEvent",
                                "ConnectReader",
                                "DisConnectReader",
                                "ListReaders",
                                "ConnectCard",
                                "ReConnectCard",
                                "DisConnectCard",
                                "GetCardStatus",
                                "GetReaderStatus",
                                "CheckCardInsert",
                                "ListAccounts",
                                "T1Transmit",
                                "SelectParentDF",
                                "SelectDF",
                                "SelectEF",
                                "VerifyPIN",
                                "UpdateRecord",
                                "ReadRecord",
                                "ChangePassword",
                                "WriteRecordWithSNUMTAC",
                                "CardAccounts",
                                "Inquiry",
                                "Transfer",
                                "RodaAccount",
                                "Tax",
                                "Payment",
                                "PayTransfer",
                                "GetAPIVersion",
                                "WideFee",
                                "AppnAccounts",
                                "CardStart",
                                "PayCredit",
                                "RodaPayment",
                                "CheckCardInOut",
                                "CheckCardInOut2",
                                "GetLogContent",
                                "caReaderGet",
                                "caReaderPut",
                                "baAccountGet",
                                "baAccountPut",
                                "baRecordGet",
                                "baRecordPut",
                                "OptionDataGet",
                                "OptionDataPut",
                                "baAppnAccountGet",
                                "baAppnAccountPut",
                                "AccountSetting",
                                "VisaRenewal",
                                "CommACCT_Set",
                                "CommACCT_Add",
                                "Transfer_V2",
                                "PublicDonation"};

std::set<std::string> expectedProperties() {
  std::set<std::string> names{"testString"};
  for (const TextField& f : kTexts) names.insert(f.name);
  for (const NumberField& f : kInts) names.insert(f.name);
  for (const NumberField& f : kWides) names.insert(f.name);
  for (const char* n : kIssuerTexts) names.insert(n);
  for (const char* n : kParameterBlocks) names.insert(n);
  for (const char* n : kReadOnly) names.insert(n);
  return names;
}

TEST(PageMembers, EveryNameIsRegisteredOnceWithItsKind) {
  const std::set<std::string> methods(std::begin(kMethods), std::end(kMethods));
  const std::set<std::string> properties = expectedProperties();
  const std::set<std::string> readOnly(std::begin(kReadOnly), std::end(kReadOnly));

  std::set<std::string> tableNames;
  for (const PageMember& member : ZODODOVURAVUVOD::pageMembers()) {
    EXPECT_TRUE(tableNames.insert(member.name).second) << member.name << " listed twice";
    const PageMember::Kind expected = methods.count(member.name)    ? PageMember::Method
                                      : readOnly.count(member.name) ? PageMember::ReadOnlyProperty
                                                                    : PageMember::Property;
    EXPECT_EQ(member.kind, expected) << member.name;
  }
  std::set<std::string> all = methods;
  all.insert(properties.begin(), properties.end());
  EXPECT_EQ(tableNames, all);
  EXPECT_EQ(methods.size(), 53u);
  EXPECT_EQ(properties.size(), 77u);

  PageObject page;
  for (const std::string& name : methods) {
    EXPECT_TRUE(page.object->HasMethod(name)) << name;
    EXPECT_FALSE(page.object->HasProperty(name) && !page.object->HasMethod(name)) << name;
  }
  for (const std::string& name : properties) {
    EXPECT_TRUE(page.object->HasProperty(name)) << name;
    EXPECT_FALSE(page.object->HasMethod(name)) << name;
  }
}

TEST(PageMembers, TextPropertiesReachTheFieldOfTheSameNameBothWays) {
  PageObject page;
  for (const TextField& f : kTexts) {
    SCOPED_TRACE(f.name);
    page.set(f.name, std::string("page:") + f.name);
    EXPECT_EQ(f.get(page.ctrl()), std::string("page:") + f.name);
    f.set(page.ctrl(), (std::string("ctrl:") + f.name).c_str());
    EXPECT_EQ(page.get(f.name).cast<std::string>(), std::string("ctrl:") + f.name);
  }
  // Texts travel as NUL-terminated strings; numbers given for a text become their digits.
  page.set("baMoney", std::string("120\0garbage", 11));
  EXPECT_EQ(page.ctrl().GetbaMoney(), "120");
  page.set("baMoney", 450);
  EXPECT_EQ(page.ctrl().GetbaMoney(), "450");
}

// A PIN the page sets goes no further than its property: no copy made on the way is freed holding
// three of its digits in a row, nor is the property's own buffer once the page clears it and the object
// goes; a short PIN, which sits in the controller itself, is gone from there too.
TEST(PageMembers, APinThePageSetsLeavesNoCopyBehind) {
  for (const char* name : {"baPIN", "baNewPIN"}) {
    // The trace names the case, not the digits the watch looks for.
    const struct {
      const char* what;
      const char* pin;
    } cases[] = {{"a short PIN", "137951"}, {"a sixteen-digit PIN", "1379513795137951"}};
    for (const auto& [what, pin] : cases) {
      SCOPED_TRACE(std::string(name) + ": " + what);
      PageObject page;
      // The page's own values, made before the watch and kept until it ends.
      const PF::variant value{std::string(pin)};
      const PF::variant cleared{std::string()};
      const freedmemory::FreedMemoryWatch watch(pin, 3);
      page.set(name, value);
      page.set(name, cleared);
      EXPECT_FALSE(freedmemory::holdsPiece(&page.ctrl(), sizeof(Ctrl), pin, 3)) << "the PIN left in the controller";
      page.object.reset();
      EXPECT_EQ(watch.blocksHoldingSecret(), 0) << "a buffer was freed holding the PIN";
    }
  }
}

TEST(PageMembers, IntHeldNumbersKeepTheLowThirtyTwoBits) {
  PageObject page;
  for (const NumberField& f : kInts) {
    SCOPED_TRACE(f.name);
    page.set(f.name, 4294967297L);  // 2^32 + 1
    EXPECT_EQ(f.get(page.ctrl()), 1);
    page.set(f.name, -7L);
    EXPECT_EQ(f.get(page.ctrl()), -7);
    page.set(f.name, std::string("2147483648"));  // 2^31 wraps to the negative int
    EXPECT_EQ(f.get(page.ctrl()), INT_MIN);
    f.set(page.ctrl(), INT_MIN);
    const PF::variant read = page.get(f.name);
    ASSERT_TRUE(read.is_of_type<long>());
    EXPECT_EQ(read.cast<long>(), static_cast<long>(INT_MIN));  // widened with its sign
  }
}

TEST(PageMembers, SixtyFourBitNumbersKeepEveryBit) {
  PageObject page;
  for (const NumberField& f : kWides) {
    SCOPED_TRACE(f.name);
    page.set(f.name, 4294967297L);
    EXPECT_EQ(f.get(page.ctrl()), 4294967297L);
    page.set(f.name, -1L);  // all bits set
    EXPECT_EQ(f.get(page.ctrl()), -1L);
    f.set(page.ctrl(), LONG_MIN + 5);
    const PF::variant read = page.get(f.name);
    ASSERT_TRUE(read.is_of_type<long>());
    EXPECT_EQ(read.cast<long>(), LONG_MIN + 5);
  }
  page.set("uiSW12", 0x9000);
  EXPECT_EQ(page.ctrl().GetuiSW12(), 0x9000u);
  page.ctrl().SetuiSW12(UINT64_MAX);
  EXPECT_EQ(page.get("uiSW12").cast<long>(), -1L);
}

TEST(PageMembers, NumbersThatAreNoNumbersAreRefusedAndChangeNothing) {
  PageObject page;
  page.set("iNoR", 3);
  EXPECT_THROW(page.set("iNoR", std::string("three")), PF::invalid_arguments);
  EXPECT_THROW(page.set("ulLen", std::numeric_limits<double>::infinity()), PF::invalid_arguments);
  page.set("ulLen", 5);
  EXPECT_THROW(page.set("ulLen", std::numeric_limits<double>::quiet_NaN()), PF::invalid_arguments);
  EXPECT_EQ(page.ctrl().GetulLen(), 5u);
  EXPECT_EQ(page.ctrl().GetiNoR(), 3);
}

TEST(PageMembers, ParameterBlocksAreWrittenButNeverReadBack) {
  PageObject page;
  for (const char* name : kParameterBlocks) {
    SCOPED_TRACE(name);
    EXPECT_EQ(page.getText(name), "not support getter");
    page.set(name, std::string("0123ABCD"));
    EXPECT_EQ(page.getText(name), "not support getter");
  }
}

TEST(PageMembers, ReadOnlyPropertiesIgnoreWrites) {
  PageObject page;
  for (const char* name : kReadOnly) {
    SCOPED_TRACE(name);
    const std::string before = page.getText(name);
    page.set(name, std::string("changed"));
    EXPECT_EQ(page.getText(name), before);
  }
  EXPECT_EQ(page.getText("version"), "1.1.1.47");
  EXPECT_EQ(page.call("GetAPIVersion").cast<std::string>(), "1.1.1.47");
  EXPECT_EQ(page.call("GetLogContent").cast<std::string>(), "1.1.1.47");
  EXPECT_EQ(page.getText("ReturnASN"), page.ctrl().GetReturnASN());
  EXPECT_EQ(page.getText("ReturnTxFlag"), page.ctrl().GetReturnTxFlag());
}

TEST(PageMembers, TestStringIsTheObjectsOwn) {
  PageObject page;
  EXPECT_EQ(page.getText("testString"), "");
  page.set("testString", std::string("hello"));
  EXPECT_EQ(page.getText("testString"), "hello");
}

TEST(PageMembers, IndexedListsReachTheTableOfTheSameName) {
  PageObject page;
  for (const ListField& f : kLists) {
    SCOPED_TRACE(f.name);
    const std::string get = std::string(f.name) + "Get";
    const std::string put = std::string(f.name) + "Put";
    page.call(put, {PF::variant(f.size - 1), PF::variant(std::string("last"))});
    EXPECT_EQ(f.get(page.ctrl(), f.size - 1), "last");
    f.set(page.ctrl(), 0, "first");
    EXPECT_EQ(page.call(get, {PF::variant(0)}).cast<std::string>(), "first");
    EXPECT_EQ(page.call(get, {PF::variant(std::string("0"))}).cast<std::string>(), "first");

    // Outside the table, the int range included, nothing is read or written: an index that
    // narrowing would wrap onto entry 0 must not reach it.
    for (long index : {-1L, f.size, 4294967296L, 2147483648L, LONG_MIN}) {
      SCOPED_TRACE(index);
      page.call(put, {PF::variant(index), PF::variant(std::string("stray"))});
      EXPECT_EQ(page.call(get, {PF::variant(index)}).cast<std::string>(), "");
    }
    EXPECT_EQ(f.get(page.ctrl(), 0), "first");
    EXPECT_EQ(f.get(page.ctrl(), f.size - 1), "last");
  }
}

TEST(PageMembers, ArgumentsAreCountedBeforeAnyMemberRuns) {
  PageObject page;
  auto message = [&](const char* name, const std::vector<PF::variant>& args) -> std::string {
    try {
      page.call(name, args);
    } catch (const PF::script_error& e) {
      return e.what();
    }
    return "no error";
  };
  EXPECT_EQ(message("caReaderPut", {}), "Error: Argument 1is not optional.");
  EXPECT_EQ(message("caReaderPut", {PF::variant(1)}), "Error: Argument 2is not optional.");
  EXPECT_EQ(message("caReaderPut", {PF::variant(1), PF::variant(std::string("a")), PF::variant(3)}),
            "Too many arguments, expected 2.");
  EXPECT_EQ(message("caReaderGet", {}), "Error: Argument 1is not optional.");
  EXPECT_EQ(message("echo", {PF::variant(1), PF::variant(2)}), "Too many arguments, expected 1.");

  // A value of the wrong kind names both types; method arguments also name their position.
  const PF::variant pageObject(PF::JSObjectPtr(page.host->newObject()));
  const std::string objectToText = std::string("Invalid argument conversion from ") + typeid(PF::JSObjectPtr).name() +
                                   " to " + typeid(std::string).name();
  EXPECT_EQ(message("caReaderPut", {PF::variant(1), pageObject}), objectToText + " at index 2");
  EXPECT_EQ(message("caReaderGet", {PF::variant(std::string("first"))}),
            std::string("Invalid argument conversion from ") + typeid(std::string).name() + " to " +
                typeid(long).name() + " at index 1");
  EXPECT_EQ(page.ctrl().GetcaReader(1), "");
  page.set("baMoney", std::string("100"));
  try {
    page.set("baMoney", pageObject);
    ADD_FAILURE() << "a page object was taken as text";
  } catch (const PF::invalid_arguments& e) {
    EXPECT_EQ(e.what(), objectToText);  // no position for a property
  }
  EXPECT_EQ(page.ctrl().GetbaMoney(), "100");
  // A method without parameters ignores what it is given.
  EXPECT_EQ(page.call("CheckCardInOut2", {PF::variant(std::string("x"))}).convert_cast<long>(), 0);
}

}  // namespace
}  // namespace plugin_test
