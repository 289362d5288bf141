#include "fake_browser.h"

#include <gtest/gtest.h>

#include "JSAPIAuto.h"

using namespace pfhost_test;

namespace {

std::string helperNumber(const FakeHost& host) {
  return host.getCallDelegateName().substr(std::string("__PF_CALL_").size());
}

TEST(BrowserHostDelegate, FirstDelayedCallInstallsTheHelperOnceWithTheExactScript) {
  FakeHostPtr host = FakeHost::make();
  FakePageObjectPtr f = host->newPageObject();

  const int timer = host->delayedInvoke(10, f, {variant(1), variant(std::string("x"))});
  EXPECT_GT(timer, 0);
  ASSERT_EQ(1u, host->evaluatedScripts.size());
  EXPECT_EQ(expectedDelegateScript(helperNumber(*host)), host->evaluatedScripts[0]);

  host->delayedInvoke(20, f, {});
  EXPECT_EQ(1u, host->evaluatedScripts.size()) << "the helper is found in the window the second time";

  host->advance(9);
  EXPECT_TRUE(f->calls.empty());
  host->advance(1);
  ASSERT_EQ(1u, f->calls.size());
  EXPECT_EQ("", f->calls[0].name) << "three arguments: the function itself is called";
  ASSERT_EQ(2u, f->calls[0].args.size());
  EXPECT_EQ(1, f->calls[0].args[0].convert_cast<int>());
  EXPECT_EQ("x", f->calls[0].args[1].convert_cast<std::string>());
}

TEST(BrowserHostDelegate, ReinstalledWhenThePageLostIt) {
  FakeHostPtr host = FakeHost::make();
  FakePageObjectPtr f = host->newPageObject();
  host->delayedInvoke(0, f, {});

  host->replaceWindow();  // the page was reloaded
  host->delayedInvoke(0, f, {});
  ASSERT_EQ(2u, host->evaluatedScripts.size());
  EXPECT_EQ(host->evaluatedScripts[0], host->evaluatedScripts[1]);

  host->window->properties[host->getCallDelegateName()] = variant(42);  // overwritten by the page
  host->delayedInvoke(0, f, {});
  EXPECT_EQ(3u, host->evaluatedScripts.size());
  host->advance(0);
  EXPECT_EQ(3u, f->calls.size());
}

TEST(BrowserHostDelegate, NamedMethodIsCalledOnItsObject) {
  FakeHostPtr host = FakeHost::make();
  FakePageObjectPtr obj = host->newPageObject();
  host->delayedInvoke(5, obj, {variant(std::string("a"))}, "handle");
  host->advance(5);
  ASSERT_EQ(1u, obj->calls.size());
  EXPECT_EQ("handle", obj->calls[0].name);

  // What the helper itself was handed: delay, function, the list, and the name.
  FakePageObjectPtr helper = boost::dynamic_pointer_cast<FakePageObject>(
      host->window->properties[host->getCallDelegateName()].convert_cast<JSObjectPtr>());
  ASSERT_TRUE(helper);
  ASSERT_EQ(1u, helper->calls.size());
  EXPECT_EQ(4u, helper->calls[0].args.size());
}

TEST(BrowserHostDelegate, NoWindowGivesMinusOneAndEvaluatesNothing) {
  FakeHostPtr host = FakeHost::make(false);
  EXPECT_EQ(-1, host->delayedInvoke(0, JSObjectPtr(), {}));
  EXPECT_TRUE(host->evaluatedScripts.empty());
}

TEST(BrowserHostDelegate, EachHostHasItsOwnHelperName) {
  FakeHostPtr a = FakeHost::make();
  FakeHostPtr b = FakeHost::make();
  a->initJS(a.get());
  b->initJS(b.get());
  EXPECT_EQ(0u, a->getCallDelegateName().rfind("__PF_CALL_", 0));
  EXPECT_NE(a->getCallDelegateName(), b->getCallDelegateName());
  EXPECT_EQ(std::string::npos, helperNumber(*a).find_first_not_of("0123456789"));
}

class Recorder : public PF::JSAPIAuto {
 public:
  Recorder(std::vector<std::string>& log, const std::string& name) : PF::JSAPIAuto(name), m_log(log), m_name(name) {}
  void shutdown() override { m_log.push_back(m_name); }

 private:
  std::vector<std::string>& m_log;
  std::string m_name;
};

TEST(BrowserHostRetained, ShutdownShutsEachEntryDownInOrderThenReleasesThem) {
  FakeHostPtr host = FakeHost::make();
  std::vector<std::string> log;
  auto a = boost::make_shared<Recorder>(log, "a");
  auto b = boost::make_shared<Recorder>(log, "b");
  host->retainJSAPIPtr(a);
  host->retainJSAPIPtr(b);
  host->retainJSAPIPtr(a);
  host->releaseJSAPIPtr(a);  // one entry of a is left
  host->releaseJSAPIPtr(boost::make_shared<Recorder>(log, "never retained"));
  EXPECT_EQ(2, host->deferredReleases) << "each release on the main thread lets the binding release";

  host->shutdown();
  EXPECT_EQ((std::vector<std::string>{"b", "a"}), log);
  EXPECT_EQ(1, a.use_count());
  EXPECT_EQ(1, b.use_count());
  EXPECT_TRUE(host->isShutDown());
}

TEST(BrowserHostHtmlLog, CallsTheConsoleOnTheMainThreadOnlyWhenEnabled) {
  FakeHostPtr host = FakeHost::make();
  FakePageObjectPtr console = host->newPageObject();

  host->htmlLog("no console yet");
  EXPECT_EQ(1u, host->pump());

  host->window->properties["console"] = variant(JSObjectPtr(console));
  host->setEnableHtmlLog(false);
  host->htmlLog("off");
  EXPECT_EQ(0u, host->queuedCalls());

  host->setEnableHtmlLog(true);
  host->htmlLog("hello");
  EXPECT_TRUE(console->calls.empty()) << "nothing reaches the page before the main loop runs";
  host->pump();
  ASSERT_EQ(1u, console->calls.size());
  EXPECT_EQ("log", console->calls[0].name);
  EXPECT_EQ("hello", console->calls[0].args.at(0).convert_cast<std::string>());

  host->shutdown();
  host->htmlLog("after");
  EXPECT_EQ(0u, host->queuedCalls());
}

}  // namespace
