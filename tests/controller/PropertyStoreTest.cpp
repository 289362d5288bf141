// The property store: every value of the one table starts zeroed or empty, round-trips through its
// accessors, and indexed lists refuse every index outside their bounds.
#include <gtest/gtest.h>

#include <climits>
#include <new>

#include "FreedMemoryWatch.h"
#include "ZododovuRavuVODCtrl.h"

namespace {

TEST(PropertyStore, FreshControllerReadsZerosAndEmptyTexts) {
  ZododovuRavuVODCtrl ctrl;
#define CHECK_TEXT(name) EXPECT_EQ(ctrl.Get##name(), "") << #name;
#define CHECK_NONE(name)
#define CHECK_NUMBER(type, name) EXPECT_EQ(ctrl.Get##name(), type{0}) << #name;
#define CHECK_LIST(name, size) \
  for (long i = 0; i < (size); ++i) EXPECT_EQ(ctrl.Get##name(i), "") << #name << i;
  RVP_CONTROLLER_PROPERTIES(CHECK_TEXT, CHECK_TEXT, CHECK_NONE, CHECK_TEXT, CHECK_NUMBER, CHECK_LIST)
#undef CHECK_TEXT
#undef CHECK_NONE
#undef CHECK_NUMBER
#undef CHECK_LIST
  EXPECT_EQ(ctrl.GetLastResult(), 0);
}

TEST(PropertyStore, EveryAccessorPairStoresItsOwnField) {
  ZododovuRavuVODCtrl ctrl;
  // Give every field a value derived from its name, then read all back: a pair wired to the wrong
  // field would show up as a mismatch here.
  long n = 1;
#define SET_TEXT(name) ctrl.Set##name(#name);
#define SET_NONE(name)
#define SET_NUMBER(type, name) ctrl.Set##name(static_cast<type>(n++));
#define SET_LIST(name, size) \
  for (long i = 0; i < (size); ++i) ctrl.Set##name(i, (std::string(#name) + std::to_string(i)).c_str());
  RVP_CONTROLLER_PROPERTIES(SET_TEXT, SET_TEXT, SET_TEXT, SET_NONE, SET_NUMBER, SET_LIST)
  n = 1;
#define GET_TEXT(name) EXPECT_EQ(ctrl.Get##name(), #name);
#define GET_NUMBER(type, name) EXPECT_EQ(ctrl.Get##name(), static_cast<type>(n++)) << #name;
#define GET_LIST(name, size) \
  for (long i = 0; i < (size); ++i) EXPECT_EQ(ctrl.Get##name(i), std::string(#name) + std::to_string(i));
  RVP_CONTROLLER_PROPERTIES(GET_TEXT, GET_TEXT, SET_NONE, SET_NONE, GET_NUMBER, GET_LIST)
#undef SET_TEXT
#undef SET_NONE
#undef SET_NUMBER
#undef SET_LIST
#undef GET_TEXT
#undef GET_NUMBER
#undef GET_LIST
}

TEST(PropertyStore, NumbersKeepTheirFullWidth) {
  ZododovuRavuVODCtrl ctrl;
  ctrl.SetulLen(0x100000001ULL);
  ctrl.SetbRLen(-5);
  ctrl.SetuiSW12(0xFFFFFFFFFFFFFFFFULL);
  EXPECT_EQ(ctrl.GetulLen(), 0x100000001ULL);
  EXPECT_EQ(ctrl.GetbRLen(), -5);
  EXPECT_EQ(ctrl.GetuiSW12(), 0xFFFFFFFFFFFFFFFFULL);
}

TEST(PropertyStore, TextSettersCopyUpToTheFirstNulAndTakeNullAsEmpty) {
  ZododovuRavuVODCtrl ctrl;
  const char withNul[] = "ab\0cd";
  ctrl.SetbaPIN(withNul);
  EXPECT_EQ(ctrl.GetbaPIN(), "ab");
  ctrl.SetbaPIN(nullptr);
  EXPECT_EQ(ctrl.GetbaPIN(), "");
  ctrl.SetOptionData(1, nullptr);
  EXPECT_EQ(ctrl.GetOptionData(1), "");
}

struct ListBounds {
  const char* name;
  std::string (ZododovuRavuVODCtrl::*get)(long) const;
  void (ZododovuRavuVODCtrl::*set)(long, const char*);
  long size;
};

TEST(PropertyStore, IndexesOutsideTheListAreRefused) {
  const ListBounds lists[] = {
      {"caReader", &ZododovuRavuVODCtrl::GetcaReader, &ZododovuRavuVODCtrl::SetcaReader, 40},
      {"baRecord", &ZododovuRavuVODCtrl::GetbaRecord, &ZododovuRavuVODCtrl::SetbaRecord, 20},
      {"baAccount", &ZododovuRavuVODCtrl::GetbaAccount, &ZododovuRavuVODCtrl::SetbaAccount, 8},
      {"baAppnAccount", &ZododovuRavuVODCtrl::GetbaAppnAccount, &ZododovuRavuVODCtrl::SetbaAppnAccount, 8},
      {"OptionData", &ZododovuRavuVODCtrl::GetOptionData, &ZododovuRavuVODCtrl::SetOptionData, 2},
  };
  for (const ListBounds& list : lists) {
    ZododovuRavuVODCtrl ctrl;
    // An index beyond the int range must not wrap onto a valid slot (2^32 + 1 would wrap to 1).
    const long outside[] = {-1, list.size, list.size + 1, LONG_MIN, LONG_MAX, (1L << 32) + 1, (1L << 32)};
    for (long index : outside) (ctrl.*list.set)(index, "x");
    for (long i = 0; i < list.size; ++i) EXPECT_EQ((ctrl.*list.get)(i), "") << list.name << " slot " << i;
    for (long index : outside) EXPECT_EQ((ctrl.*list.get)(index), "") << list.name << " index " << index;
    (ctrl.*list.set)(list.size - 1, "last");
    EXPECT_EQ((ctrl.*list.get)(list.size - 1), "last") << list.name;
  }
}

// A PIN property keeps no digit of a value it gives up, when the page clears it or sets another PIN:
// neither the controller, where a short PIN sits in the string itself, nor any buffer freed on the way
// or kept until the controller goes (that of a longer PIN) holds three digits in a row of the old one. The old PINs
// have odd digits only and the new values even ones, so that no digit of a new value is taken for an old one.
TEST(PropertyStore, PinPropertiesKeepNoDigitOfAValueTheyGiveUp) {
  using Ctrl = ZododovuRavuVODCtrl;
  const struct {
    const char* name;
    void (Ctrl::*set)(const char*);
    std::string (Ctrl::*get)() const;
  } properties[] = {{"baPIN", &Ctrl::SetbaPIN, &Ctrl::GetbaPIN}, {"baNewPIN", &Ctrl::SetbaNewPIN, &Ctrl::GetbaNewPIN}};
  // The trace names the case, not the PIN: a text of the test's own must not hold the digits the watch looks for.
  const struct {
    const char* what;
    const char* old;
    const char* next;
  } changes[] = {
      {"cleared", "137951", ""},
      {"a shorter PIN over it", "137951", "8"},
      {"a longer PIN, which needs a buffer of its own", "137951379513", "2468024680246802"},
      {"sixteen digits, in a buffer of their own, cleared", "1379513795137951", ""},
      {"sixteen digits, in a buffer of their own, then two", "1379513795137951", "24"},
  };
  for (const auto& property : properties) {
    for (const auto& change : changes) {
      SCOPED_TRACE(std::string(property.name) + ": " + change.what);
      // In zeroed memory, so that what the scan finds was left by this case and not an earlier one.
      alignas(Ctrl) unsigned char storage[sizeof(Ctrl)] = {};
      Ctrl& ctrl = *new (storage) Ctrl;
      (ctrl.*property.set)(change.old);
      ASSERT_EQ((ctrl.*property.get)(), change.old);
      const freedmemory::FreedMemoryWatch watch(change.old, 3);
      (ctrl.*property.set)(change.next);
      EXPECT_EQ((ctrl.*property.get)(), change.next);
      EXPECT_FALSE(freedmemory::holdsPiece(&ctrl, sizeof ctrl, change.old, 3)) << "the old PIN left in the controller";
      // The buffers the controller kept are searched as they are freed.
      ctrl.~Ctrl();
      EXPECT_EQ(watch.blocksHoldingSecret(), 0) << "a buffer still held the old PIN when it was freed";
    }
  }
}

}  // namespace
