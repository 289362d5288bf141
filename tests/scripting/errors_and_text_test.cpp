#include <gtest/gtest.h>
#include <utf8.h>

#include "script_error.h"
#include "utf8_tools.h"

using namespace PF;

TEST(ScriptErrors, KindsAndTexts) {
  EXPECT_STREQ("The specified member does not exist: foo", invalid_member("foo").what());
  EXPECT_STREQ("This object is no longer valid", object_invalidated().what());
  EXPECT_STREQ("Invalid Arguments", invalid_arguments().what());
  EXPECT_STREQ("", script_error("").what());
  EXPECT_STREQ("", script_error(static_cast<const char*>(nullptr)).what());

  script_error original("kept");
  script_error copy(original);
  EXPECT_STREQ("kept", copy.what());
}

TEST(ScriptErrors, CatchingByKind) {
  auto caughtAsScriptError = [](auto thrower) {
    try {
      thrower();
    } catch (const script_error&) {
      return true;
    } catch (...) {
      return false;
    }
    return false;
  };
  EXPECT_TRUE(caughtAsScriptError([] { throw invalid_arguments("x"); }));
  EXPECT_TRUE(caughtAsScriptError([] { throw invalid_member("x"); }));
  EXPECT_TRUE(caughtAsScriptError([] { throw object_invalidated(); }));
  EXPECT_FALSE(caughtAsScriptError([] { throw bad_variant_cast(typeid(int), typeid(long)); }));

  try {
    throw bad_variant_cast(typeid(int), typeid(long));
  } catch (const std::bad_cast& e) {
    EXPECT_STREQ("bad cast", e.what());
  }
}

TEST(WideText, RoundTrips) {
  EXPECT_EQ("", wstring_to_utf8(L""));
  EXPECT_EQ(L"", utf8_to_wstring(""));
  EXPECT_EQ("\xC3\xA9\xE2\x82\xAC", wstring_to_utf8(L"\u00e9\u20ac"));
  EXPECT_EQ(L"\u00e9\u20ac", utf8_to_wstring("\xC3\xA9\xE2\x82\xAC"));

  std::wstring emoji(1, static_cast<wchar_t>(0x1F600));
  EXPECT_EQ("\xF0\x9F\x98\x80", wstring_to_utf8(emoji));
  EXPECT_EQ(emoji, utf8_to_wstring("\xF0\x9F\x98\x80"));
  EXPECT_EQ("\xE8\xBD\x89\xE5\xB8\xB3", wstring_to_utf8(L"轉帳"));
}

TEST(WideText, InvalidInputRaisesTheLibraryErrors) {
  EXPECT_THROW(wstring_to_utf8(std::wstring(1, static_cast<wchar_t>(0xD800))), utf8::invalid_code_point);
  EXPECT_THROW(wstring_to_utf8(std::wstring(1, static_cast<wchar_t>(0x110000))), utf8::invalid_code_point);
  EXPECT_THROW(utf8_to_wstring("\xC3"), utf8::not_enough_room);
  EXPECT_THROW(utf8_to_wstring("\xFF"), utf8::invalid_utf8);
  EXPECT_THROW(utf8_to_wstring("\xC0\xAF"), utf8::invalid_utf8);            // overlong
  EXPECT_THROW(utf8_to_wstring("\xED\xA0\x80"), utf8::invalid_code_point);  // surrogate
}
