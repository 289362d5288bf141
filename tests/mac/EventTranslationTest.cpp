// Cocoa event records through the translator into a window's observers: each record type once, with the
// expected events written out by hand from the key-code table and the modifier and button rules.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <boost/make_shared.hpp>

#include "CocoaKeyCodes.h"
#include "PluginEventMacCocoa.h"
#include "PluginWindowMacCA.h"
#include "PluginWindowMacCG.h"
#include "RecordingSink.h"
#include "mac/PlatformString.h"
#include "npapi/NPCocoaEvent.h"

namespace mac_test {
namespace {

const uint32_t kShift = 0x20000, kControl = 0x40000, kOption = 0x80000, kCommand = 0x100000;
const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct StringOwner {
  explicit StringOwner(const std::string& utf8) : s(rvp_string_create(utf8.data(), utf8.size())) {}
  ~StringOwner() { rvp_string_release(s); }
  RvpString* s;
};

NPCocoaEvent record(int type) {
  NPCocoaEvent e;
  std::memset(&e, 0, sizeof e);
  std::memcpy(&e.type, &type, sizeof type);  // hostile types too, without an enum conversion
  return e;
}

NPCocoaEvent mouse(int type, double x, double y, uint32_t flags = 0, int32_t button = 0, int32_t clicks = 1,
                   double dx = 0, double dy = 0) {
  NPCocoaEvent e = record(type);
  e.data.mouse.modifierFlags = flags;
  e.data.mouse.pluginX = x;
  e.data.mouse.pluginY = y;
  e.data.mouse.buttonNumber = button;
  e.data.mouse.clickCount = clicks;
  e.data.mouse.deltaX = dx;
  e.data.mouse.deltaY = dy;
  return e;
}

NPCocoaEvent key(int type, uint16_t code, RvpString* ignoring, uint32_t flags = 0) {
  NPCocoaEvent e = record(type);
  e.data.key.keyCode = code;
  e.data.key.charactersIgnoringModifiers = ignoring;
  e.data.key.characters = ignoring;
  e.data.key.modifierFlags = flags;
  return e;
}

NPCocoaEvent focus(int type, bool has) {
  NPCocoaEvent e = record(type);
  e.data.focus.hasFocus = has ? 1 : 0;
  return e;
}

NPCocoaEvent text(RvpString* s) {
  NPCocoaEvent e = record(NPCocoaEventTextInput);
  e.data.text.text = s;
  return e;
}

NPCocoaEvent draw(void* context, double x, double y, double w, double h) {
  NPCocoaEvent e = record(NPCocoaEventDrawRect);
  e.data.draw.context = context;
  e.data.draw.x = x;
  e.data.draw.y = y;
  e.data.draw.width = w;
  e.data.draw.height = h;
  return e;
}

// A window of either form with the translator and a sink that takes every translated event (and lets
// the raw record pass unless told otherwise).
class Translation : public ::testing::Test {
 protected:
  void use(PF::PluginWindowMac* w) {
    window.reset(w);
    sink = boost::make_shared<RecordingSink>();
    sink->answer = [this](PF::PluginEvent* e) { return dynamic_cast<PF::MacEventCocoa*>(e) ? takeRaw : true; };
    window->AttachObserver(sink);
    translator.setPluginWindow(window);
  }
  void SetUp() override { use(new PF::PluginWindowMacCA()); }
  int16_t send(NPCocoaEvent e) {
    sink->events.clear();
    return translator.HandleEvent(&e);
  }

  boost::shared_ptr<PF::PluginWindowMac> window;
  boost::shared_ptr<RecordingSink> sink;
  PF::PluginEventMacCocoa translator;
  bool takeRaw = false;
};

struct Row {
  const char* what;
  NPCocoaEvent event;
  int16_t answer;
  std::string translated;  // empty: nothing beyond the raw record
};

TEST_F(Translation, EachRecordTypeBecomesItsEvent) {
  StringOwner letter("x"), accented("\xC3\xA9"), empty(""), chinese("\xE4\xBD\xA0\xE5\xA5\xBD");
  const Row rows[] = {
      {"left down, shift held: the state stays 0", mouse(2, 10.7, 20.2, kShift, 0), 1, "down 10,20 state 0 button 0"},
      {"right down", mouse(2, 1, 2, 0, 1), 1, "down 1,2 state 0 button 2"},
      {"middle down", mouse(2, 1, 2, 0, 2), 1, "down 1,2 state 0 button 1"},
      {"button 3 sends nothing", mouse(2, 1, 2, 0, 3), 0, ""},
      {"negative button sends nothing", mouse(3, 1, 2, 0, -1), 0, ""},
      {"double click keeps the state", mouse(2, 5, 6, kShift, 0, 2), 1, "double 5,6 state 1 button 0"},
      {"up with shift and option", mouse(3, -3.9, 4, kShift | kOption, 0), 1, "up -3,4 state 5 button 0"},
      {"up, command is no state bit", mouse(3, 0, 0, kCommand, 1), 1, "up 0,0 state 0 button 2"},
      {"moved with control", mouse(4, 7, 8, kControl), 1, "move 7,8 state 2"},
      {"entered", mouse(5, 7, 8, kShift), 1, "entered 7,8 state 0"},
      {"exited", mouse(6, 7, 8, kShift), 1, "exited 7,8 state 0"},
      {"dragged ignores keys held", mouse(7, 9, 10, kShift | kControl, 0), 1, "move 9,10 state 0"},
      {"scroll", mouse(13, 11, 12, kShift, 0, 0, 1.5, -2), 1, "scroll 11,12 state 1 by 1.5,-2"},
      {"return, first of the table", key(8, 36, letter.s, 0x100), 1, "keydown 52 os 120 mods 0x100"},
      {"up arrow, last of the table", key(8, 126, letter.s), 1, "keydown 83 os 120 mods 0x0"},
      {"just below the table", key(8, 35, letter.s), 1, "keydown 84 os 120 mods 0x0"},
      {"just above the table", key(8, 127, letter.s), 1, "keydown 84 os 120 mods 0x0"},
      {"the A key", key(8, 0, letter.s), 1, "keydown 84 os 120 mods 0x0"},
      {"a hole in the table", key(8, 50, letter.s), 1, "keydown 84 os 120 mods 0x0"},
      {"largest code", key(8, 65535, letter.s), 1, "keydown 84 os 120 mods 0x0"},
      {"F1 up with an accented letter", key(9, 122, accented.s), 1, "keyup 11 os 233 mods 0x0"},
      {"empty key text", key(8, 36, empty.s), 0, ""},
      {"no key text", key(9, 36, nullptr), 0, ""},
      {"focus in", focus(11, true), 1, "focus in"},
      {"focus out", focus(11, false), 1, "focus out"},
      {"window focus is not sent", focus(12, true), 0, ""},
      {"text input", text(chinese.s), 1, "text \"\xE4\xBD\xA0\xE5\xA5\xBD\""},
      {"no text", text(nullptr), 0, ""},
      {"draw on Core Animation", draw(nullptr, 0, 0, 10, 10), 1, "refresh"},
      {"unknown type", record(99), 0, ""},
      {"type 0", record(0), 0, ""},
      {"negative type", record(-5), 0, ""},
      {"largest type", record(std::numeric_limits<int>::max()), 0, ""},
      {"NaN coordinates", mouse(4, kNaN, kNaN), 1, "move 0,0 state 0"},
      {"huge coordinates clamp", mouse(4, 1e300, -1e300), 1, "move 2147483647,-2147483648 state 0"},
      {"infinite coordinates clamp", mouse(5, HUGE_VAL, -HUGE_VAL), 1, "entered 2147483647,-2147483648 state 0"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(send(row.event), row.answer);
    std::vector<std::string> expected{"cocoa " + std::to_string(*reinterpret_cast<const int*>(&row.event.type))};
    if (!row.translated.empty()) expected.push_back(row.translated);
    EXPECT_EQ(sink->events, expected);
  }
}

// The browser learns whether the plug-in handled the event: a sink that declines answers 0.
TEST_F(Translation, TheAnswerIsTheSinksAnswer) {
  sink->answer = [](PF::PluginEvent*) { return false; };
  EXPECT_EQ(send(mouse(2, 1, 1)), 0);
  EXPECT_EQ(sink->events.size(), 2u) << "translated and offered all the same";
}

TEST_F(Translation, AHandledRecordIsAnswered1AndNothingElseIsSent) {
  takeRaw = true;
  EXPECT_EQ(send(mouse(2, 1, 1)), 1);
  EXPECT_EQ(sink->events, std::vector<std::string>{"cocoa 2"});
  EXPECT_EQ(send(record(99)), 1) << "even a type the translator does not know";
}

TEST_F(Translation, DrawOnCoreGraphicsCarriesBoundsClipAndContext) {
  use(new PF::PluginWindowMacCG());
  NPWindow w{};
  w.x = 5;
  w.y = 6;
  w.width = 100;
  w.height = 50;
  window->SetWindow(&w);
  int context = 0;
  EXPECT_EQ(send(draw(&context, 1.5, 2.9, 30.2, 10.9)), 1);
  std::ostringstream pointer;
  pointer << static_cast<void*>(&context);
  ASSERT_EQ(sink->events.size(), 2u);
  EXPECT_EQ(sink->events[1], "cgdraw bounds 6,5,56,105 clip 2,1,13,31 context " + pointer.str());
  // Hostile sizes clamp instead of overflowing.
  EXPECT_EQ(send(draw(&context, kNaN, 1e300, HUGE_VAL, -1e300)), 1);
  EXPECT_EQ(sink->events[1], "cgdraw bounds 6,5,56,105 clip 2147483647,0,0,0 context " + pointer.str());
}

// Flags-changed records: the first of shift, control, option, command that changed gives one key event.
TEST_F(Translation, ModifiersReportTheFirstChangedKeyOnly) {
  struct Step {
    uint32_t flags;
    int16_t answer;
    std::string event;
  };
  const Step steps[] = {
      {kShift | kControl, 1, "keydown 56 os 131072 mods 0x0"},
      {kShift | kControl, 0, ""},  // control was remembered as held already
      {kControl, 1, "keyup 56 os 131072 mods 0x0"},
      {0, 1, "keyup 5 os 262144 mods 0x0"},
      {kOption, 1, "keydown 74 os 524288 mods 0x0"},
      {kOption | kCommand, 1, "keydown 73 os 1048576 mods 0x0"},
      {kCommand | 0x1, 1, "keyup 74 os 524288 mods 0x0"},
      {0x1, 1, "keyup 73 os 1048576 mods 0x0"},
      {0x10000, 0, ""},  // caps lock and other bits are not watched
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.flags);
    EXPECT_EQ(send(key(10, 0, nullptr, step.flags)), step.answer);
    std::vector<std::string> expected{"cocoa 10"};
    if (!step.event.empty()) expected.push_back(step.event);
    EXPECT_EQ(sink->events, expected);
  }
}

TEST_F(Translation, NoRecordOrNoWindowAnswers0) {
  EXPECT_EQ(translator.HandleEvent(nullptr), 0);
  EXPECT_TRUE(sink->events.empty());
  PF::PluginEventMacCocoa unattached;
  NPCocoaEvent e = mouse(2, 1, 1);
  EXPECT_EQ(unattached.HandleEvent(&e), 0);
  window.reset();  // the translator's reference is weak
  EXPECT_EQ(translator.HandleEvent(&e), 0);
  EXPECT_TRUE(sink->events.empty());
}

// Every code from 0 to 255 against the named keys (Mac virtual key code -> plug-in key code); all the
// others are unknown (84).
TEST(KeyCodes, NamedKeysAndEverythingElseUnknown) {
  const std::map<unsigned long, int> named = {
      {36, 52} /* return */,
      {48, 60} /* tab */,
      {49, 58} /* space */,
      {51, 7} /* delete */,
      {53, 9} /* escape */,
      {55, 73} /* command */,
      {56, 56} /* shift */,
      {57, 3} /* caps lock */,
      {58, 74} /* option */,
      {59, 5} /* control */,
      {60, 75} /* right shift */,
      {61, 76} /* right option */,
      {62, 77} /* right control */,
      {63, 78} /* function */,
      {96, 28} /* F5 */,
      {97, 29} /* F6 */,
      {98, 30} /* F7 */,
      {99, 26} /* F3 */,
      {100, 31} /* F8 */,
      {101, 32} /* F9 */,
      {103, 13} /* F11 */,
      {105, 15} /* F13 */,
      {107, 16} /* F14 */,
      {109, 12} /* F10 */,
      {111, 14} /* F12 */,
      {113, 17} /* F15 */,
      {114, 33} /* help */,
      {115, 70} /* home */,
      {116, 50} /* page up */,
      {117, 79} /* forward delete */,
      {118, 27} /* F4 */,
      {119, 69} /* end */,
      {120, 22} /* F2 */,
      {121, 49} /* page down */,
      {122, 11} /* F1 */,
      {123, 80} /* left */,
      {124, 81} /* right */,
      {125, 82} /* down */,
      {126, 83} /* up */,
  };
  for (unsigned long code = 0; code < 256; ++code) {
    auto it = named.find(code);
    EXPECT_EQ(PF::CocoaKeyCodeToPFKeyCode(code), it == named.end() ? 84 : it->second) << "code " << code;
  }
  EXPECT_EQ(PF::CocoaKeyCodeToPFKeyCode(~0ul), 84);
}

// Key text comes as the platform's strings: UTF-8 inside, UTF-16 units outside; bytes that are not UTF-8
// make no string at all.
TEST(PlatformString, Utf8InUtf16UnitsOut) {
  StringOwner ascii("A"), accented("\xC3\xA9"), astral("\xF0\x9F\x98\x80"), empty("");
  EXPECT_EQ(rvp_string_length(ascii.s), 1u);
  EXPECT_EQ(rvp_string_character_at(accented.s, 0), 0xE9);
  EXPECT_EQ(rvp_string_length(astral.s), 2u) << "a surrogate pair";
  EXPECT_EQ(rvp_string_character_at(astral.s, 0), 0xD83D);
  EXPECT_EQ(rvp_string_character_at(astral.s, 1), 0xDE00);
  EXPECT_EQ(rvp_string_character_at(astral.s, 2), 0);
  EXPECT_EQ(rvp_string_length(empty.s), 0u);
  EXPECT_NE(empty.s, nullptr);
  for (const char* bad : {"\xC3", "\xFF", "\xED\xA0\x80", "\xC0\x80"}) {
    StringOwner refused(bad);
    EXPECT_EQ(refused.s, nullptr) << "not UTF-8";
  }
  EXPECT_EQ(rvp_string_create(nullptr, 3), nullptr);
  size_t length = 9;
  EXPECT_EQ(rvp_string_utf8(nullptr, &length), nullptr);
  EXPECT_EQ(length, 0u);
}

TEST(EventModel, OnlyCocoaMakesATranslator) {
  std::unique_ptr<PF::PluginEventMac> cocoa(PF::PluginEventMac::createPluginEventMac(1));
  ASSERT_TRUE(cocoa);
  EXPECT_EQ(cocoa->getEventModel(), 1);
  EXPECT_EQ(PF::PluginEventMac::createPluginEventMac(0), nullptr);
  EXPECT_EQ(PF::PluginEventMac::createPluginEventMac(-1), nullptr);
  EXPECT_EQ(PF::createPluginEventMacCarbon(), nullptr);
}

}  // namespace
}  // namespace mac_test
