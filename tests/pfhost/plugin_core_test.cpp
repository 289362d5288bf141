#include "fake_browser.h"

#include <gtest/gtest.h>

#include <typeinfo>

#include "JSAPIAuto.h"
#include "PluginCore.h"
#include "PluginWindow.h"

using namespace pfhost_test;

namespace {

class TestPlugin : public PF::PluginCore {
 public:
  int jsapiMade = 0;
  int readyCalls = 0;
  std::vector<std::string> events;

  JSAPIPtr createJSAPI() override {
    ++jsapiMade;
    return boost::make_shared<PF::JSAPIAuto>("root");
  }
  void onPluginReady() override { ++readyCalls; }
  bool HandleEvent(PF::PluginEvent* event, PF::PluginEventSource*) override {
    if (dynamic_cast<PF::AttachedEvent*>(event))
      events.push_back("attached");
    else if (dynamic_cast<PF::DetachedEvent*>(event))
      events.push_back("detached");
    else
      events.push_back("other");
    return false;
  }
};

class PluginCoreTest : public ::testing::Test {
 protected:
  FakeHostPtr host = FakeHost::make();
  boost::shared_ptr<TestPlugin> plugin = boost::make_shared<TestPlugin>();
  FakePageObjectPtr onloadHandler = host->newPageObject();

  void SetUp() override {
    plugin->SetHost(host);
    host->window->properties["pageLoaded"] = variant(JSObjectPtr(onloadHandler));
    host->window->properties["aNumber"] = variant(5);
  }
};

TEST_F(PluginCoreTest, HandlerParametersAreResolvedThroughThePageWindow) {
  PF::VariantMap params;
  params["onload"] = std::string("pageLoaded");
  params["onmissing"] = std::string("noSuchFunction");
  params["onnumber"] = std::string("aNumber");
  params["on"] = std::string("pageLoaded");
  params["Onload"] = std::string("pageLoaded");
  params["o"] = std::string("pageLoaded");
  params["color"] = std::string("red");
  plugin->setParams(params);

  EXPECT_EQ(onloadHandler, plugin->getParamVariant("onload").convert_cast<JSObjectPtr>());
  EXPECT_EQ(onloadHandler, plugin->getParamVariant("on").convert_cast<JSObjectPtr>());
  EXPECT_TRUE(plugin->getParamVariant("onmissing").is_null()) << "nothing there: an empty function reference";
  EXPECT_EQ("aNumber", plugin->getParam("onnumber").value()) << "not an object: kept as given";
  EXPECT_EQ("pageLoaded", plugin->getParam("Onload").value());
  EXPECT_EQ("pageLoaded", plugin->getParam("o").value());
  EXPECT_EQ("red", plugin->getParam("color").value());
  EXPECT_FALSE(plugin->getParam("absent"));
  EXPECT_TRUE(plugin->getParamVariant("absent").empty());
}

TEST_F(PluginCoreTest, HandlerParametersStayTextWithoutAPageWindow) {
  host->window.reset();
  plugin->setParams(PF::VariantMap{{"onload", variant(std::string("pageLoaded"))}});
  EXPECT_EQ("pageLoaded", plugin->getParam("onload").value());
}

TEST_F(PluginCoreTest, OnloadRuns250MillisecondsLaterWithTheRootObject) {
  plugin->setParams(PF::VariantMap{{"onload", variant(std::string("pageLoaded"))}});
  EXPECT_TRUE(plugin->setReady());
  EXPECT_EQ(1, plugin->readyCalls);
  ASSERT_FALSE(host->evaluatedScripts.empty());
  EXPECT_EQ(expectedDelegateScript(host->getCallDelegateName().substr(10)), host->evaluatedScripts.front());

  host->advance(249);
  EXPECT_TRUE(onloadHandler->calls.empty());
  host->advance(1);
  ASSERT_EQ(1u, onloadHandler->calls.size());
  EXPECT_EQ("", onloadHandler->calls[0].name);
  ASSERT_EQ(1u, onloadHandler->calls[0].args.size());
  EXPECT_EQ(plugin->getRootJSAPI(), onloadHandler->calls[0].args[0].convert_cast<JSAPIPtr>())
      << "the page receives the same root object the browser gets later";
  EXPECT_EQ(1, plugin->jsapiMade);
}

TEST_F(PluginCoreTest, WithoutOnloadNothingIsScheduledButTheCoreIsReady) {
  EXPECT_FALSE(plugin->setReady());
  EXPECT_EQ(1, plugin->readyCalls);
  EXPECT_EQ(0u, host->pendingTimers());
  EXPECT_EQ(0, plugin->jsapiMade);

  plugin->setParams(PF::VariantMap{{"onload", variant(std::string("noSuchFunction"))}});
  EXPECT_FALSE(plugin->setReady());
  EXPECT_EQ(2, plugin->readyCalls);
}

TEST_F(PluginCoreTest, RootObjectIsMadeOnce) {
  JSAPIPtr first = plugin->getRootJSAPI();
  EXPECT_EQ(first, plugin->getRootJSAPI());
  EXPECT_EQ(1, plugin->jsapiMade);
}

TEST_F(PluginCoreTest, WindowlessFollowsTheParameter) {
  const struct {
    const char* value;
    bool expected;
  } cases[] = {
      {"yes", true}, {"true", true}, {"1", true}, {"no", false}, {"false", false}, {"maybe", false},
  };
  EXPECT_FALSE(plugin->isWindowless());
  for (const auto& c : cases) {
    plugin->setParams(PF::VariantMap{{"windowless", variant(std::string(c.value))}});
    EXPECT_EQ(c.expected, plugin->isWindowless()) << c.value;
  }
}

class TestWindow : public PF::PluginWindow {};

TEST_F(PluginCoreTest, WindowAttachAndClear) {
  auto win = boost::make_shared<TestWindow>();
  auto other = boost::make_shared<TestWindow>();
  plugin->SetWindow(win.get());
  plugin->SetWindow(win.get());  // the same window again: attached twice
  EXPECT_EQ(win.get(), plugin->GetWindow());
  EXPECT_EQ((std::vector<std::string>{"attached", "attached"}), plugin->events);

  plugin->SetWindow(other.get());  // another window clears the first
  EXPECT_EQ((std::vector<std::string>{"attached", "attached", "detached", "detached", "attached"}), plugin->events);
  plugin->ClearWindow();
  EXPECT_EQ(nullptr, plugin->GetWindow());
  EXPECT_EQ("detached", plugin->events.back());
  PF::TextEvent text("x");
  EXPECT_FALSE(win->SendEvent(&text)) << "no longer attached";
}

TEST_F(PluginCoreTest, DestroyingTheCoreShutsItsHostDown) {
  const int before = PF::PluginCore::ActivePluginCount;
  auto second = boost::make_shared<TestPlugin>();
  EXPECT_EQ(before + 1, PF::PluginCore::ActivePluginCount);
  second.reset();
  EXPECT_EQ(before, PF::PluginCore::ActivePluginCount);

  plugin.reset();
  EXPECT_TRUE(host->isShutDown());
}

}  // namespace
