#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "JSAPIAuto.h"
#include "fakes.h"
#include "variant.h"

using namespace PF;
using PF::testing::FakePageObject;

namespace {

template <class T>
struct Case {
  const char* what;
  variant in;
  bool converts;
  T expected;
};

template <class T>
Case<T> ok(const char* what, const variant& in, T expected) {
  return Case<T>{what, in, true, expected};
}

template <class T>
Case<T> refused(const char* what, const variant& in) {
  return Case<T>{what, in, false, T()};
}

// A refusal names the held type and the wanted type (`wanted` differs from T where a rule says so).
template <class T>
void expectRefused(const variant& in, const char* wanted) {
  try {
    in.template convert_cast<T>();
    ADD_FAILURE() << "conversion succeeded";
  } catch (const bad_variant_cast& e) {
    EXPECT_STREQ(in.get_type().name(), e.from);
    EXPECT_STREQ(wanted, e.to);
  }
}

template <class T>
void runCases(const std::vector<Case<T> >& cases, const char* wanted = typeid(T).name()) {
  for (const Case<T>& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.converts)
      EXPECT_EQ(c.expected, c.in.template convert_cast<T>());
    else
      expectRefused<T>(c.in, wanted);
  }
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
const float kNaNf = std::numeric_limits<float>::quiet_NaN();

}  // namespace

TEST(NumberConversion, ToLong) {
  runCases<long>({
      ok("int", 7, 7L),
      ok("double truncated", 7.9, 7L),
      ok("negative double truncated toward zero", -7.9, -7L),
      ok("text", "7", 7L),
      ok("text with trailing words", "7 apples", 7L),
      ok("text with trailing letters", "12abc", 12L),
      ok("leading blank", " 42", 42L),
      ok("decimal text", "3.9", 3L),
      ok("hex text reads its leading zero", "0x10", 0L),
      // Extraction stops at the first character that cannot continue an integer, so an exponent
      // is never read: the value is the leading digits, whatever the exponent.
      ok("exponent text reads its leading digits", "1e999", 1L),
      ok("negative exponent text", "-2e-999", -2L),
      ok("true", true, 1L),
      ok("false", false, 0L),
      ok("char", 'A', 65L),
      ok("wide text", L"15", 15L),
      ok("highest unsigned long long that fits", 9223372036854775807ULL, 9223372036854775807L),
      ok("largest double below 2^63", 9223372036854774784.0, 9223372036854774784L),
      ok("float", 2.5f, 2L),
      refused<long>("unsigned long long above range", 9223372036854775808ULL),
      refused<long>("unsigned long max", std::numeric_limits<unsigned long>::max()),
      refused<long>("double at -2^63", -9223372036854775808.0),
      refused<long>("double at 2^63", 9223372036854775808.0),
      refused<long>("huge double", 1e300),
      refused<long>("NaN", kNaN),
      refused<long>("float NaN", kNaNf),
      refused<long>("infinity", kInf),
      refused<long>("negative infinity", -kInf),
      refused<long>("empty text", ""),
      refused<long>("letters", "abc"),
      refused<long>("text out of range", "99999999999999999999"),
      refused<long>("negative text out of range", "-99999999999999999999"),
      refused<long>("null", variant_detail::null()),
      refused<long>("empty", variant()),
      refused<long>("empty marker", variant_detail::empty()),
      refused<long>("list", std::vector<variant>{1}),
  });
}

TEST(NumberConversion, ToInt) {
  runCases<int>({
      ok("lowest long that fits", -2147483648L, -2147483647 - 1),
      ok("double just below 2^31", 2147483647.9, 2147483647),
      ok("double just above -2^31-1", -2147483648.9, -2147483647 - 1),
      ok("largest float below 2^31", 2147483520.0f, 2147483520),
      ok("unsigned short", static_cast<unsigned short>(65535), 65535),
      refused<int>("long above range", 2147483648L),
      refused<int>("long below range", -2147483649L),
      refused<int>("double at -2^31-1", -2147483649.0),
      refused<int>("double at 2^31", 2147483648.0),
      refused<int>("float at 2^31", 2147483648.0f),
      refused<int>("float at -2^31", -2147483648.0f),
      refused<int>("text out of range", "2147483648"),
      refused<int>("NaN", kNaN),
      refused<int>("huge double", 1e300),
  });
}

TEST(NumberConversion, ToUnsignedInt) {
  runCases<unsigned int>({
      ok("negative fraction truncates to zero", -0.5, 0u),
      ok("negative fraction near -1", -0.9, 0u),
      ok("highest double below 2^32", 4294967295.5, 4294967295u),
      ok("highest value as text", "4294967295", 4294967295u),
      ok("unsigned long long that fits", 4294967295ULL, 4294967295u),
      ok("true", true, 1u),
      refused<unsigned int>("negative int", -1),
      refused<unsigned int>("minus one as text", "-1"),
      refused<unsigned int>("minus one after a blank", "  -1"),
      refused<unsigned int>("minus zero as text", "-0"),
      refused<unsigned int>("double at -1", -1.0),
      refused<unsigned int>("double at 2^32", 4294967296.0),
      refused<unsigned int>("long above range", 4294967296L),
      refused<unsigned int>("text above range", "4294967296"),
      refused<unsigned int>("huge double", 1e300),
      refused<unsigned int>("infinity", kInf),
      refused<unsigned int>("NaN", kNaN),
  });
}

TEST(NumberConversion, ToDouble) {
  runCases<double>({
      ok("int", 5, 5.0),
      ok("float widened", 2.5f, 2.5),
      ok("text", "3.9", 3.9),
      ok("unsigned long long", 18446744073709551615ULL, 18446744073709551615.0),
      ok("true", true, 1.0),
      refused<double>("text out of range", "1e999"),
      refused<double>("empty text", ""),
      refused<double>("null", variant_detail::null()),
  });
}

TEST(TextConversion, FromEveryKind) {
  runCases<std::string>({
      ok("text", "abc", std::string("abc")),
      ok("short double", 2.5, std::string("2.5")),
      ok("large double in exponent form", 100000000.0, std::string("1e+08")),
      ok("one tenth", 0.1, std::string("0.1")),
      ok("six significant digits", 1234567.0, std::string("1.23457e+06")),
      ok("negative int", -5, std::string("-5")),
      ok("long long lowest", std::numeric_limits<long long>::lowest(), std::string("-9223372036854775808")),
      ok("unsigned long long highest", std::numeric_limits<unsigned long long>::max(),
         std::string("18446744073709551615")),
      ok("char is the character", static_cast<char>(65), std::string("A")),
      ok("unsigned char is the byte", static_cast<unsigned char>(0xE9), std::string("\xE9")),
      ok("true", true, std::string("true")),
      ok("false", false, std::string("false")),
      ok("wide text to UTF-8", std::wstring(L"\u00e9\u20ac"), std::string("\xC3\xA9\xE2\x82\xAC")),
      refused<std::string>("empty", variant()),
      refused<std::string>("empty marker", variant_detail::empty()),
      refused<std::string>("null", variant_detail::null()),
      refused<std::string>("list", std::vector<variant>{1}),
      refused<std::string>("map", VariantMap{{"a", 1}}),
      refused<std::string>("page object", JSObjectPtr(FakePageObject::make())),
  });
}

TEST(TruthConversion, WordsNumbersAndRefusals) {
  std::vector<Case<bool> > cases = {
      ok("YES", "YES", true),
      ok("True", "True", true),
      ok("t", "t", true),
      ok("1", "1", true),
      ok("Y", "Y", true),
      ok("wide TRUE", std::wstring(L"TRUE"), true),
      ok("0", "0", false),
      ok("false", "false", false),
      ok("no", "no", false),
      ok("empty text", "", false),
      ok("on", "on", false),
      ok("2 as text", "2", false),
      ok("blank before", " yes", false),
      ok("blank after", "yes ", false),
      ok("byte above 0x7F", "\xC9", false),
      ok("word with high byte", "y\xFF", false),
      ok("wide non-ASCII", std::wstring(L"\u00ff"), false),
      ok("int 2", 2, true),
      ok("double 0.4 truncates", 0.4, false),
      ok("bool", true, true),
  };
  runCases<bool>(cases);

  // Other kinds go through the long rule, whose refusal names long.
  expectRefused<bool>(variant(variant_detail::null()), typeid(long).name());
  expectRefused<bool>(variant(), typeid(long).name());
  expectRefused<bool>(variant(std::vector<variant>()), typeid(long).name());
  expectRefused<bool>(variant(kNaN), typeid(long).name());
}

TEST(TruthConversion, Tribool) {
  EXPECT_TRUE(boost::logic::indeterminate(variant(variant_detail::null()).convert_cast<boost::logic::tribool>()));
  EXPECT_TRUE(boost::logic::indeterminate(variant().convert_cast<boost::logic::tribool>()));
  EXPECT_TRUE(variant("yes").convert_cast<boost::logic::tribool>() == true);
  EXPECT_TRUE(variant(0).convert_cast<boost::logic::tribool>() == false);
}

TEST(ObjectConversion, ReferencesAndInnerObjects) {
  boost::shared_ptr<JSAPIAuto> own = boost::make_shared<JSAPIAuto>("<own>");
  boost::shared_ptr<FakePageObject> page = FakePageObject::make();
  boost::shared_ptr<FakePageObject> wrapper = FakePageObject::make();
  wrapper->inner = own;

  EXPECT_EQ(page, variant(page).convert_cast<JSObjectPtr>());
  EXPECT_EQ(page, variant(page).convert_cast<JSAPIPtr>());
  EXPECT_EQ(own, variant(own).convert_cast<JSAPIPtr>());
  // A browser object wrapping one of the plug-in's own objects stands for that object.
  EXPECT_EQ(own, variant(wrapper).convert_cast<JSAPIPtr>());
  EXPECT_EQ(wrapper, variant(wrapper).convert_cast<JSObjectPtr>());
  EXPECT_EQ(page, variant(JSAPIPtr(page)).convert_cast<JSObjectPtr>());

  EXPECT_EQ(own, variant(JSAPIWeakPtr(own)).convert_cast<JSAPIPtr>());
  JSAPIWeakPtr dead;
  {
    boost::shared_ptr<JSAPIAuto> gone = boost::make_shared<JSAPIAuto>("<gone>");
    dead = gone;
  }
  EXPECT_FALSE(variant(dead).convert_cast<JSAPIPtr>());

  EXPECT_FALSE(variant().convert_cast<JSObjectPtr>());
  EXPECT_FALSE(variant(variant_detail::null()).convert_cast<JSObjectPtr>());
  EXPECT_FALSE(variant(variant_detail::empty()).convert_cast<JSAPIPtr>());

  // The plug-in's own object is no page object: the refusal names the class.
  expectRefused<JSObjectPtr>(variant(own), typeid(JSObject).name());
  expectRefused<JSObjectPtr>(variant(5), typeid(JSAPIPtr).name());
  expectRefused<JSAPIPtr>(variant("text"), typeid(JSAPIPtr).name());
}

TEST(ContainerConversion, PageArraysToLists) {
  variant array(JSObjectPtr(FakePageObject::array({1, "t", variant_detail::null()})));
  std::vector<variant> list = array.convert_cast<std::vector<variant> >();
  ASSERT_EQ(3u, list.size());
  EXPECT_EQ(typeid(int), list[0].get_type());
  EXPECT_EQ("t", list[1].cast<std::string>());
  EXPECT_TRUE(list[2].is_null());

  // The int element is no object.
  expectRefused<std::vector<JSObjectPtr> >(variant(1), typeid(JSObjectPtr).name());
  try {
    array.convert_cast<std::vector<JSObjectPtr> >();
    ADD_FAILURE() << "conversion succeeded";
  } catch (const bad_variant_cast& e) {
    EXPECT_STREQ(typeid(int).name(), e.from);
    EXPECT_STREQ(typeid(JSAPIPtr).name(), e.to);
  }

  boost::shared_ptr<FakePageObject> element = FakePageObject::make();
  variant objects(JSObjectPtr(FakePageObject::array({JSObjectPtr(element), variant_detail::null()})));
  std::vector<JSObjectPtr> refs = objects.convert_cast<std::vector<JSObjectPtr> >();
  ASSERT_EQ(2u, refs.size());
  EXPECT_EQ(element, refs[0]);
  EXPECT_FALSE(refs[1]);
}

TEST(ContainerConversion, EmptyNullHeldAndLength) {
  EXPECT_TRUE(variant().convert_cast<std::vector<variant> >().empty());
  EXPECT_TRUE(variant(variant_detail::null()).convert_cast<VariantMap>().empty());

  std::vector<variant> held{1, 2};
  EXPECT_EQ(2u, variant(held).convert_cast<std::vector<variant> >().size());
  VariantMap heldMap{{"a", 1}};
  EXPECT_EQ(1u, variant(heldMap).convert_cast<VariantMap>().size());

  boost::shared_ptr<FakePageObject> textLength = FakePageObject::array({"a", "b", "c"});
  textLength->properties["length"] = "2";
  EXPECT_EQ(2u, variant(JSObjectPtr(textLength)).convert_cast<std::vector<variant> >().size());

  // No "length": it reads as empty, which is no number.
  try {
    variant(JSObjectPtr(FakePageObject::make())).convert_cast<std::vector<variant> >();
    ADD_FAILURE() << "conversion succeeded";
  } catch (const bad_variant_cast& e) {
    EXPECT_STREQ(typeid(void).name(), e.from);
    EXPECT_STREQ(typeid(long).name(), e.to);
  }

  // A failing read comes out as a plain script error with the same text.
  boost::shared_ptr<FakePageObject> failing = FakePageObject::make();
  failing->failingProperty = "length";
  try {
    variant(JSObjectPtr(failing)).convert_cast<std::vector<variant> >();
    ADD_FAILURE() << "conversion succeeded";
  } catch (const invalid_member&) {
    ADD_FAILURE() << "the specialised kind leaked";
  } catch (const script_error& e) {
    EXPECT_STREQ("The specified member does not exist: length", e.what());
  }

  expectRefused<std::vector<variant> >(variant(7), typeid(JSObjectPtr).name());
  expectRefused<VariantMap>(variant("x"), typeid(JSObjectPtr).name());
}

TEST(ContainerConversion, PageObjectsToMaps) {
  boost::shared_ptr<FakePageObject> page = FakePageObject::make();
  page->properties["b"] = 2;
  page->properties["a"] = "one";
  VariantMap map = variant(JSObjectPtr(page)).convert_cast<VariantMap>();
  ASSERT_EQ(2u, map.size());
  EXPECT_EQ("one", map["a"].cast<std::string>());
  EXPECT_EQ(2, map["b"].cast<int>());

  VariantMap existing{{"a", 9}};
  JSObject::GetObjectValues(JSObjectPtr(page), existing);
  EXPECT_EQ(9, existing["a"].cast<int>());
  EXPECT_EQ(2, existing["b"].cast<int>());

  std::vector<variant> front{0};
  JSObject::GetArrayValues(JSObjectPtr(FakePageObject::array({1})), front);
  ASSERT_EQ(2u, front.size());
  EXPECT_EQ(0, front[0].cast<int>());
}
