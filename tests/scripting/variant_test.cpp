#include <set>

#include <gtest/gtest.h>

#include "JSAPIAuto.h"
#include "fakes.h"
#include "variant.h"

using namespace PF;
using PF::testing::FakePageObject;

namespace {

template <class Held, class Wanted>
void expectCastFailure(const variant& v) {
  try {
    v.cast<Wanted>();
    FAIL() << "cast succeeded";
  } catch (const bad_variant_cast& e) {
    EXPECT_STREQ(typeid(Held).name(), e.from);
    EXPECT_STREQ(typeid(Wanted).name(), e.to);
  }
}

boost::shared_ptr<JSAPIAuto> makeScriptable() { return boost::make_shared<JSAPIAuto>("<test>"); }

}  // namespace

TEST(Variant, StoresTextLiteralsAsStrings) {
  variant narrow("abc");
  EXPECT_EQ(typeid(std::string), narrow.get_type());
  EXPECT_EQ("abc", narrow.cast<std::string>());

  variant wide(L"\u00e9x");
  EXPECT_EQ(typeid(std::wstring), wide.get_type());
  EXPECT_EQ(L"\u00e9x", wide.cast<std::wstring>());

  const char* pointer = "pointer";
  EXPECT_EQ(typeid(std::string), variant(pointer).get_type());

  // Writable buffers are copied as text too; the variant outlives them.
  variant fromBuffer, fromWideBuffer;
  {
    char buffer[] = "buffer";
    wchar_t wideBuffer[] = L"wide";
    fromBuffer = static_cast<char*>(buffer);
    fromWideBuffer = variant(static_cast<wchar_t*>(wideBuffer));
  }
  EXPECT_EQ(typeid(std::string), fromBuffer.get_type());
  EXPECT_EQ("buffer", fromBuffer.cast<std::string>());
  EXPECT_EQ(typeid(std::wstring), fromWideBuffer.get_type());
  EXPECT_EQ(L"wide", fromWideBuffer.cast<std::wstring>());
}

TEST(Variant, TriboolIsStoredAsBool) {
  EXPECT_TRUE(variant(boost::logic::tribool(true)).cast<bool>());
  EXPECT_FALSE(variant(boost::logic::tribool(false)).cast<bool>());
  EXPECT_FALSE(variant(boost::logic::tribool(boost::logic::indeterminate)).cast<bool>());
}

TEST(Variant, ObjectReferencesTakeTheirStaticForm) {
  boost::shared_ptr<JSAPIAuto> api = makeScriptable();
  boost::shared_ptr<FakePageObject> page = FakePageObject::make();

  EXPECT_EQ(typeid(JSAPIPtr), variant(api).get_type());
  EXPECT_EQ(typeid(JSObjectPtr), variant(page).get_type());
  // The static type decides: a page object held through the interface stays an interface reference.
  EXPECT_EQ(typeid(JSAPIPtr), variant(JSAPIPtr(page)).get_type());

  EXPECT_TRUE(variant(boost::shared_ptr<JSAPIAuto>()).is_null());
  EXPECT_TRUE(variant(JSObjectPtr()).is_null());
  EXPECT_TRUE(variant(JSAPIPtr()).is_null());
}

TEST(Variant, EmptyAndNullStates) {
  variant none;
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(typeid(void), none.get_type());
  EXPECT_FALSE(none.is_null());

  variant marker = variant_detail::empty();
  EXPECT_TRUE(marker.empty());
  EXPECT_EQ(typeid(variant_detail::empty), marker.get_type());

  variant null = variant_detail::null();
  EXPECT_TRUE(null.is_null());
  EXPECT_FALSE(null.empty());
}

TEST(Variant, CastIsExact) {
  variant five(5);
  EXPECT_EQ(5, five.cast<int>());
  expectCastFailure<int, long>(five);
  expectCastFailure<void, std::string>(variant());
  expectCastFailure<variant_detail::empty, int>(variant(variant_detail::empty()));
  EXPECT_EQ(5, five.cast<const int>());
}

TEST(Variant, CanBeTypeAcceptsExactAndConvertible) {
  EXPECT_TRUE(variant(5).can_be_type<int>());
  EXPECT_TRUE(variant("12").can_be_type<long>());
  EXPECT_FALSE(variant("abc").can_be_type<long>());
  EXPECT_TRUE(variant().can_be_type<JSObjectPtr>());
  EXPECT_FALSE(variant(5).can_be_type<JSObjectPtr>());
}

TEST(Variant, OrderingByTypeNameThenValue) {
  variant i(3), l(2L);
  bool intBeforeLong = std::strcmp(typeid(int).name(), typeid(long).name()) < 0;
  EXPECT_EQ(intBeforeLong, i < l);
  EXPECT_EQ(!intBeforeLong, l < i);

  EXPECT_TRUE(variant(1L) < variant(2L));
  EXPECT_FALSE(variant(2L) < variant(1L));
  EXPECT_TRUE(variant(false) < variant(true));
  EXPECT_TRUE(variant("a") < variant("b"));

  double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(variant(nan) < variant(1.0));
  EXPECT_FALSE(variant(1.0) < variant(nan));
}

TEST(Variant, EquivalentValuesCollapseInASet) {
  boost::shared_ptr<FakePageObject> page = FakePageObject::make();
  std::set<variant> values;
  values.insert(variant());
  values.insert(variant());
  values.insert(variant(variant_detail::null()));
  values.insert(variant(variant_detail::null()));
  values.insert(variant(JSObjectPtr(page)));
  values.insert(variant(JSObjectPtr(page)));
  values.insert(variant(variant_detail::empty()));
  EXPECT_EQ(4u, values.size());
}

TEST(Variant, ListsAndMapsCompareElementwise) {
  std::vector<variant> a{1, "x"}, b{1, "y"};
  EXPECT_TRUE(variant(a) < variant(b));
  VariantMap m1{{"k", 1}}, m2{{"k", 2}}, m3{{"j", 9}};
  EXPECT_TRUE(variant(m1) < variant(m2));
  EXPECT_TRUE(variant(m3) < variant(m1));
}

TEST(Variant, CopiesAreDeep) {
  variant original(std::vector<variant>{1, 2});
  variant copy = original;
  std::vector<variant> changed = copy.cast<std::vector<variant> >();
  changed.push_back(3);
  copy = changed;
  EXPECT_EQ(2u, original.cast<std::vector<variant> >().size());
  EXPECT_EQ(3u, copy.cast<std::vector<variant> >().size());

  variant assigned;
  assigned = original;
  EXPECT_FALSE(assigned < original);
  EXPECT_FALSE(original < assigned);
}
