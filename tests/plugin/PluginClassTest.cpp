// The factory, the plug-in class and the page's events.
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "DUZIVUREZORO.h"
#include "Factory.h"
#include "PageFixture.h"
#include "script_error.h"

namespace plugin_test {
namespace {

TEST(PluginFactory, OneFactoryMakesAPlugInForAnyMimeType) {
  PF::FactoryBasePtr factory = getFactoryInstance();
  ASSERT_TRUE(factory);
  EXPECT_EQ(getFactoryInstance(), factory);
  factory->globalPluginInitialize();
  for (const char* mimetype : {"application/roda-vennoral-plugin", "", "text/plain"}) {
    boost::shared_ptr<PF::PluginCore> plugin = factory->createPlugin(mimetype);
    EXPECT_TRUE(boost::dynamic_pointer_cast<DUZIVUREZORO>(plugin)) << mimetype;
  }
  EXPECT_NE(factory->createPlugin(""), factory->createPlugin(""));
  factory->globalPluginDeinitialize();
}

TEST(PluginClass, MakesTheScriptingObjectOnceOnItsOwnHost) {
  FakeHostPtr host = FakeHost::make();
  host->setLocation(PF::variant(std::string("https://webatm.postbank.example/")));
  boost::shared_ptr<PF::PluginCore> plugin = getFactoryInstance()->createPlugin("");
  plugin->SetHost(host);

  PF::JSAPIPtr root = plugin->getRootJSAPI();
  auto object = boost::dynamic_pointer_cast<ZODODOVURAVUVOD>(root);
  ASSERT_TRUE(object);
  EXPECT_EQ(plugin->getRootJSAPI(), root);
  EXPECT_EQ(object->getPlugin(), plugin);
  // The origin check reads the page of the plug-in's host.
  EXPECT_EQ(object->IsWebCtl(), 0);
  EXPECT_GE(host->windowRequests, 1);
}

TEST(PluginClass, TheScriptingObjectDoesNotKeepThePlugInAlive) {
  boost::shared_ptr<PF::PluginCore> plugin = getFactoryInstance()->createPlugin("");
  plugin->SetHost(FakeHost::make());
  auto object = boost::dynamic_pointer_cast<ZODODOVURAVUVOD>(plugin->getRootJSAPI());
  boost::weak_ptr<PF::PluginCore> weakPlugin = plugin;
  plugin.reset();
  EXPECT_TRUE(weakPlugin.expired());
  try {
    object->getPlugin();
    ADD_FAILURE() << "no error";
  } catch (const PF::script_error& e) {
    EXPECT_STREQ(e.what(), "The plugin is invalid");
  }
}

TEST(PluginClass, DestroyingThePlugInReleasesItsScriptingObject) {
  FakeHostPtr host = FakeHost::make();
  boost::shared_ptr<PF::PluginCore> plugin = getFactoryInstance()->createPlugin("");
  plugin->SetHost(host);
  PF::JSAPIPtr root = plugin->getRootJSAPI();
  host->retainJSAPIPtr(root);  // as the browser-side object does
  boost::weak_ptr<PF::JSAPI> weakRoot = root;
  root.reset();
  plugin.reset();
  EXPECT_TRUE(weakRoot.expired());
}

TEST(PluginClass, APlugInNotOwnedBySharedReferenceCannotMakeTheObject) {
  DUZIVUREZORO plugin;
  EXPECT_THROW(plugin.createJSAPI(), boost::bad_weak_ptr);
}

TEST(PluginClass, AlwaysWindowed) {
  boost::shared_ptr<PF::PluginCore> plugin = getFactoryInstance()->createPlugin("");
  plugin->setParams(PF::VariantMap{{"windowless", PF::variant(std::string("true"))}});
  EXPECT_FALSE(plugin->isWindowless());
}

// Records which handler an event reached.
class RecordingPlugIn : public DUZIVUREZORO {
 public:
  std::string handled;
  bool onMouseDown(PF::MouseDownEvent* e, PF::PluginWindow* w) override { return note("down", e, w); }
  bool onMouseUp(PF::MouseUpEvent* e, PF::PluginWindow* w) override { return note("up", e, w); }
  bool onMouseMove(PF::MouseMoveEvent* e, PF::PluginWindow* w) override { return note("move", e, w); }
  bool onWindowAttached(PF::AttachedEvent* e, PF::PluginWindow* w) override { return note("attached", e, w); }
  bool onWindowDetached(PF::DetachedEvent* e, PF::PluginWindow* w) override { return note("detached", e, w); }

 private:
  bool note(const char* what, PF::PluginEvent*, PF::PluginWindow* window) {
    handled = window ? what : "without a window";
    return false;
  }
};

TEST(PluginClass, WindowEventsReachTheirHandlersAndAreNeverConsumed) {
  PF::PluginWindow window;
  PF::PluginEventSource otherSource;
  PF::MouseDownEvent down(0, 1, 2);
  PF::MouseUpEvent up(0, 1, 2);
  PF::MouseMoveEvent move(1, 2);
  PF::MouseEnteredEvent entered(1, 2);
  PF::AttachedEvent attached;
  PF::DetachedEvent detached;
  PF::ResizedEvent resized;
  struct Case {
    PF::PluginEvent* event;
    const char* handler;
  };
  const Case cases[] = {
      {&down, "down"},         {&up, "up"},   {&move, "move"}, {&entered, "move"}, {&attached, "attached"},
      {&detached, "detached"}, {&resized, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.handler);
    RecordingPlugIn plugin;
    EXPECT_FALSE(plugin.HandleEvent(c.event, &window));
    EXPECT_EQ(plugin.handled, c.handler);
    plugin.handled.clear();
    EXPECT_FALSE(plugin.HandleEvent(c.event, &otherSource));
    EXPECT_EQ(plugin.handled, "");

    DUZIVUREZORO plain;
    EXPECT_FALSE(plain.HandleEvent(c.event, &window));
  }
  DUZIVUREZORO plain;
  EXPECT_FALSE(plain.HandleEvent(nullptr, &window));
}

TEST(PageEvents, EchoAnswersItsArgumentAndCountsOnEveryObject) {
  PageObject first;
  PageObject second;
  PF::JSObjectPtr firstListener = first.host->newObject();
  PF::JSObjectPtr secondListener = second.host->newObject();
  first.object->registerEventMethod("onecho", firstListener);
  second.object->registerEventMethod("onecho", secondListener);

  const PF::variant answer = first.call("echo", {PF::variant(5)});
  ASSERT_TRUE(answer.is_of_type<int>());
  EXPECT_EQ(answer.cast<int>(), 5);
  EXPECT_TRUE(second.call("echo").empty());

  // Nothing reaches the page during the call; the host hands each event to the page's delayed-call
  // helper once the browser runs the main-thread queue.
  EXPECT_TRUE(first.host->delegate->calls.empty());
  first.host->runMainThreadQueue();
  second.host->runMainThreadQueue();
  ASSERT_EQ(first.host->delegate->calls.size(), 1u);
  ASSERT_EQ(second.host->delegate->calls.size(), 1u);

  const std::vector<PF::variant>& delivered = first.host->delegate->calls[0];
  ASSERT_EQ(delivered.size(), 3u);
  EXPECT_EQ(delivered[0].convert_cast<int>(), 0);  // no delay
  EXPECT_EQ(delivered[1].cast<PF::JSObjectPtr>(), firstListener);
  const auto firstArgs = delivered[2].cast<std::vector<PF::variant>>();
  ASSERT_EQ(firstArgs.size(), 2u);
  EXPECT_EQ(firstArgs[0].cast<std::string>(), "So far, you clicked this many times: ");
  ASSERT_TRUE(firstArgs[1].is_of_type<int>());

  const auto secondArgs = second.host->delegate->calls[0][2].cast<std::vector<PF::variant>>();
  ASSERT_EQ(secondArgs.size(), 2u);
  EXPECT_EQ(secondArgs[1].cast<int>(), firstArgs[1].cast<int>() + 1);  // one counter for the process
}

TEST(PageEvents, RefusedEchoFiresNothingAndTestEventFiresOntestEmpty) {
  PageObject page;
  PF::JSObjectPtr echoListener = page.host->newObject();
  PF::JSObjectPtr testListener = page.host->newObject();
  page.object->registerEventMethod("onecho", echoListener);
  page.object->registerEventMethod("ontest", testListener);

  EXPECT_THROW(page.call("echo", {PF::variant(1), PF::variant(2)}), PF::script_error);
  page.call("testEvent");
  page.host->runMainThreadQueue();
  ASSERT_EQ(page.host->delegate->calls.size(), 1u);
  EXPECT_EQ(page.host->delegate->calls[0][1].cast<PF::JSObjectPtr>(), testListener);
  EXPECT_TRUE(page.host->delegate->calls[0][2].cast<std::vector<PF::variant>>().empty());
}

}  // namespace
}  // namespace plugin_test
