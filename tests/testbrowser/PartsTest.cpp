// The browser's parts on their own, and the browser driven in-process for what a page cannot see.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "npapi/HostLoop.h"
#include "testbrowser/Browser.h"
#include "testbrowser/Identifiers.h"
#include "testbrowser/Memory.h"
#include "testbrowser/PageDescription.h"

extern "C" int headerFromCVariantRoundTrip(int value);

namespace testbrowser {
namespace {

TEST(Header, WorksFromC) { EXPECT_EQ(headerFromCVariantRoundTrip(-7), -7); }

TEST(Identifiers, EqualNamesAndNumbersGiveTheSameIdentifier) {
  Identifiers ids;
  NPIdentifier a = ids.forName("ListReaders");
  EXPECT_EQ(a, ids.forName("ListReaders"));
  EXPECT_NE(a, ids.forName("listreaders"));
  NPIdentifier seven = ids.forInt(7);
  EXPECT_EQ(seven, ids.forInt(7));
  EXPECT_NE(seven, ids.forName("7"));
  EXPECT_TRUE(ids.isString(a));
  EXPECT_FALSE(ids.isString(seven));
  EXPECT_EQ(ids.intValue(seven), 7);
  EXPECT_EQ(ids.name(a), "ListReaders");
  int notAnIdentifier = 0;
  EXPECT_FALSE(ids.isKnown(&notAnIdentifier));
  EXPECT_EQ(ids.size(), 4u);
}

TEST(Memory, KnowsItsBlocksAndRefusesOthers) {
  Memory memory;
  void* a = memory.allocate(10, "memalloc");
  void* b = memory.allocate(0, "page text");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(memory.outstandingBytes(), 10u);
  EXPECT_TRUE(memory.release(a));
  EXPECT_FALSE(memory.release(a)) << "a second free is refused";
  int foreign;
  EXPECT_FALSE(memory.release(&foreign));
  ASSERT_EQ(memory.outstanding().size(), 1u);
  EXPECT_EQ(memory.outstanding()[0].purpose, "page text");
}

TEST(PageDescription, ReadsTagsAttributesParamsAndScripts) {
  PageDescription page = parsePageDescription(
      "<!-- <embed type='ignored'> -->\n"
      "<page location=\"https://atm.example/a?b=1\">\n"
      "<browser coreanimation=no version=21 layerretain='yes'>\n"
      "<EMBED type=\"application/x-one\" onload=\"loaded\" hidden>\n"
      "<object id='two' type='application/x-two'><param name=\"drawingmodel\" value=\"NPDrawingModelCoreGraphics\">"
      "</object>\n"
      "<script>if (1 < 2) x = '<b>';</script>\n",
      "");
  EXPECT_EQ(page.location, "https://atm.example/a?b=1");
  EXPECT_FALSE(page.browser.coreAnimation);
  EXPECT_TRUE(page.browser.coreGraphics);
  EXPECT_EQ(page.browser.tableVersion, 21);
  EXPECT_EQ(page.browser.layerRetained, 1);
  ASSERT_EQ(page.embeds.size(), 2u);
  EXPECT_EQ(page.embeds[0].id, "plugin");
  EXPECT_EQ(page.embeds[0].mimeType, "application/x-one");
  ASSERT_EQ(page.embeds[0].params.size(), 3u);
  EXPECT_EQ(page.embeds[0].params[1], std::make_pair(std::string("onload"), std::string("loaded")));
  EXPECT_EQ(page.embeds[0].params[2], std::make_pair(std::string("hidden"), std::string("")));
  EXPECT_EQ(page.embeds[1].id, "two");
  EXPECT_EQ(page.embeds[1].params.back().first, "drawingmodel");
  ASSERT_EQ(page.scripts.size(), 1u);
  EXPECT_EQ(page.scripts[0].code, "if (1 < 2) x = '<b>';");
}

TEST(PageDescription, RefusesMalformedText) {
  for (const char* text : {"<embed type=\"x>", "<param name=a value=b>", "<browser cocoa=maybe>", "<script>x",
                           "<!-- open", "<browser warp=1>"})
    EXPECT_THROW(parsePageDescription(text, ""), PageDescriptionError) << text;
}

TEST(HostLoop, RunsPostedCallsInOrderOnTheDrainingThreadOnly) {
  static std::vector<int> ran;
  ran.clear();
  auto record = [](void* data) { ran.push_back(static_cast<int>(reinterpret_cast<intptr_t>(data))); };
  auto reposting = [](void* data) {
    ran.push_back(static_cast<int>(reinterpret_cast<intptr_t>(data)));
    rvp_hostloop_post([](void*) { ran.push_back(99); }, nullptr);
  };
  std::thread worker([&] {
    rvp_hostloop_post(record, reinterpret_cast<void*>(1));
    rvp_hostloop_post(reposting, reinterpret_cast<void*>(2));
  });
  worker.join();
  EXPECT_TRUE(ran.empty()) << "nothing runs before the loop drains";
  EXPECT_EQ(rvp_hostloop_pending(), 2u);
  EXPECT_EQ(rvp_hostloop_drain(), 3u);
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 99}));
  EXPECT_EQ(rvp_hostloop_post(nullptr, nullptr), -1);
  rvp_hostloop_post(record, nullptr);
  EXPECT_EQ(rvp_hostloop_discard(), 1u);
  EXPECT_EQ(rvp_hostloop_drain(), 0u);
}

// Timers on the host's clock fire only when the loop owner moves the clock; a repeating timer whose
// firings were missed fires once and goes on from its next date after now; a timer may cancel itself.
TEST(HostLoop, TimersFireAsTheClockMoves) {
  static std::vector<std::string> fired;
  static unsigned selfCancelling = 0;
  fired.clear();
  rvp_hostloop_timer_discard();
  const unsigned long long start = rvp_hostloop_now_us();
  auto note = [](void* data) { fired.push_back(static_cast<const char*>(data)); };
  EXPECT_EQ(rvp_hostloop_timer_add(100, 1, nullptr, nullptr), 0u) << "no function";
  EXPECT_EQ(rvp_hostloop_timer_add(0, 1, note, nullptr), 0u) << "a repeating timer needs an interval";
  const unsigned repeating = rvp_hostloop_timer_add(1000, 1, note, const_cast<char*>("tick"));
  rvp_hostloop_timer_add(2500, 0, note, const_cast<char*>("once"));
  selfCancelling = rvp_hostloop_timer_add(
      500, 1,
      [](void*) {
        fired.push_back("self");
        EXPECT_EQ(rvp_hostloop_timer_cancel(selfCancelling), 0);
      },
      nullptr);
  unsigned long long due = 0;
  ASSERT_EQ(rvp_hostloop_timer_next_due(&due), 1);
  EXPECT_EQ(due, start + 500);
  EXPECT_EQ(rvp_hostloop_timer_fire_next(), 0) << "nothing is due before the clock moves";
  rvp_hostloop_set_now_us(start + 5200);
  while (rvp_hostloop_timer_fire_next()) {
  }
  EXPECT_EQ(fired, (std::vector<std::string>{"self", "tick", "once"})) << "missed ticks come as one";
  ASSERT_EQ(rvp_hostloop_timer_next_due(&due), 1);
  EXPECT_EQ(due, start + 6000) << "the next tick after now";
  rvp_hostloop_set_now_us(start);  // the clock never goes back
  EXPECT_EQ(rvp_hostloop_now_us(), start + 5200);
  EXPECT_EQ(rvp_hostloop_timer_cancel(repeating), 0);
  EXPECT_EQ(rvp_hostloop_timer_cancel(repeating), -1);
  EXPECT_EQ(rvp_hostloop_timer_count(), 0u);
  EXPECT_EQ(rvp_hostloop_timer_next_due(&due), 0);
}

TEST(HostLoop, ScriptedUserStepsComeOutInOrderAndWhole) {
  rvp_hostloop_user_clear();
  EXPECT_EQ(rvp_hostloop_user_push(""), -1);
  rvp_hostloop_user_push("click\tokButton");
  rvp_hostloop_user_push("wait\t3");
  char small[4];
  EXPECT_EQ(rvp_hostloop_user_take(small, sizeof small), 14u) << "too small: the length needed, nothing taken";
  char buf[64];
  EXPECT_EQ(rvp_hostloop_user_take(buf, sizeof buf), 14u);
  EXPECT_STREQ(buf, "click\tokButton");
  EXPECT_EQ(rvp_hostloop_user_pending(), 1u);
  EXPECT_EQ(rvp_hostloop_user_take(buf, sizeof buf), 6u);
  EXPECT_STREQ(buf, "wait\t3");
  EXPECT_EQ(rvp_hostloop_user_take(buf, sizeof buf), 0u);
}

// The browser in-process: what the page queues for the scripted user, and the browser's answers to the
// plug-in's queries.
TEST(BrowserInProcess, PageQueuesScriptedUserStepsAndAnswersQueries) {
  PageDescription page = parsePageDescription(
      "<browser coregraphics=no cocoa=no layerretain=no><embed type=\"application/x-fake\">"
      "<script>user.click('okButton'); user.digit(7); user.answerAlert(2, '確定');</script>",
      "");
  BrowserOptions options;
  options.pluginPath = FAKE_PLUGIN;
  options.quiet = true;
  Browser browser(page, options);
  ASSERT_TRUE(browser.loadPlugin());
  browser.embedAll();
  browser.runScripts();
  char buf[64];
  std::vector<std::string> steps;
  while (rvp_hostloop_user_take(buf, sizeof buf)) steps.push_back(buf);
  EXPECT_EQ(steps, (std::vector<std::string>{"click\tokButton", "digit\t7", "answerAlert\t2\t確定"}));

  Instance* instance = browser.instanceById("plugin");
  ASSERT_NE(instance, nullptr);
  EXPECT_EQ(instance->drawingModel, NPDrawingModelCoreAnimation);
  EXPECT_EQ(instance->eventModel, -1) << "Cocoa events refused";
  NPBool answer = 9;
  EXPECT_EQ(browser.getValue(&instance->npp, NPNVbrowserRetainsLayerBool, &answer), NPERR_NO_ERROR);
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(browser.getValue(&instance->npp, NPNVsupportsCoreGraphicsBool, &answer), NPERR_NO_ERROR);
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(
      browser.setValue(&instance->npp, NPPVpluginDrawingModel, reinterpret_cast<void*>(NPDrawingModelCoreGraphics)),
      NPERR_GENERIC_ERROR);
  NPObject* window = nullptr;
  ASSERT_EQ(browser.getValue(&instance->npp, NPNVWindowNPObject, &window), NPERR_NO_ERROR);
  NPObject* again = nullptr;
  browser.getValue(&instance->npp, NPNVWindowNPObject, &again);
  EXPECT_EQ(window, again) << "one NPObject per page object";
  EXPECT_EQ(window->referenceCount, 2u);
  const NPNetscapeFuncs& funcs = browser.browserFuncs();
  EXPECT_EQ(funcs.version, 27);
  EXPECT_EQ(funcs.size, sizeof(NPNetscapeFuncs));
  funcs.releaseobject(window);
  funcs.releaseobject(again);
  browser.tearDown();
  EXPECT_EQ(browser.faults().exitStatus(), 0);
}

TEST(BrowserInProcess, ReportsAnUnknownIdentifierInsteadOfFollowingIt) {
  PageDescription page = parsePageDescription("<embed type=\"application/x-fake\">", "");
  BrowserOptions options;
  options.pluginPath = FAKE_PLUGIN;
  options.quiet = true;
  Browser browser(page, options);
  ASSERT_TRUE(browser.loadPlugin());
  browser.embedAll();
  const NPNetscapeFuncs& funcs = browser.browserFuncs();
  int bogus = 0;
  EXPECT_EQ(funcs.utf8fromidentifier(&bogus), nullptr);
  NPObject* window = nullptr;
  browser.getValue(&browser.instanceByIndex(0)->npp, NPNVWindowNPObject, &window);
  NPVariant result;
  EXPECT_FALSE(funcs.getproperty(&browser.instanceByIndex(0)->npp, window, &bogus, &result));
  funcs.releaseobject(window);
  browser.tearDown();
  EXPECT_EQ(browser.faults().count(Faults::Kind::PluginMisuse), 2u);
}

}  // namespace
}  // namespace testbrowser
