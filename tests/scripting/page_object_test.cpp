#include <stdexcept>

#include <gtest/gtest.h>

#include "fake_host.h"
#include "test_object.h"

using namespace PF;
using PF::testing::FakeHost;
using PF::testing::FakePageObject;
using PF::testing::FakePageObjectPtr;
using PF::testing::makeTestObject;

namespace {

FakePageObjectPtr pageFunction(const boost::shared_ptr<FakeHost>& host) {
  FakePageObjectPtr f = boost::make_shared<FakePageObject>(host);
  f->passAsyncToHost = true;
  return f;
}

}  // namespace

TEST(PageObject, InvokeAsyncRunsLaterThroughThePageTimer) {
  boost::shared_ptr<FakeHost> host = boost::make_shared<FakeHost>();
  FakePageObjectPtr f = pageFunction(host);

  f->InvokeAsync("", {1, "a"});
  EXPECT_TRUE(host->delegate->calls.empty());  // nothing before the current call returns
  host->runMainThreadQueue();

  ASSERT_EQ(1u, host->delegate->calls.size());
  const std::vector<variant>& args = host->delegate->calls[0].args;
  ASSERT_EQ(3u, args.size());  // without a method name the function is applied with a null receiver
  EXPECT_EQ(0, args[0].cast<int>());
  EXPECT_EQ(JSObjectPtr(f), args[1].cast<JSObjectPtr>());
  std::vector<variant> passed = args[2].cast<std::vector<variant> >();
  ASSERT_EQ(2u, passed.size());
  EXPECT_EQ(1, passed[0].cast<int>());
  EXPECT_EQ("a", passed[1].cast<std::string>());

  f->InvokeAsync("handle", {});
  host->runMainThreadQueue();
  ASSERT_EQ(2u, host->delegate->calls.size());
  ASSERT_EQ(4u, host->delegate->calls[1].args.size());
  EXPECT_EQ("handle", host->delegate->calls[1].args[3].cast<std::string>());
}

TEST(PageObject, SetPropertyAsyncSetsItOnTheMainThread) {
  boost::shared_ptr<FakeHost> host = boost::make_shared<FakeHost>();
  FakePageObjectPtr f = pageFunction(host);
  f->SetPropertyAsync("colour", variant("red"));
  EXPECT_EQ(0u, f->properties.count("colour"));
  host->runMainThreadQueue();
  EXPECT_EQ("red", f->properties["colour"].cast<std::string>());
}

TEST(PageObject, HostGone) {
  FakePageObjectPtr f;
  {
    boost::shared_ptr<FakeHost> host = boost::make_shared<FakeHost>();
    f = pageFunction(host);
  }
  for (int how = 0; how < 2; ++how) {
    try {
      if (how == 0)
        f->InvokeAsync("", {});
      else
        f->SetPropertyAsync("x", variant(1));
      ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ("Cannot invoke asynchronously", e.what());
    }
  }
}

TEST(PageObject, EventsReachThePageThroughTheHost) {
  boost::shared_ptr<FakeHost> host = boost::make_shared<FakeHost>();
  boost::shared_ptr<PF::testing::TestObject> obj = makeTestObject();
  FakePageObjectPtr listener = pageFunction(host);
  FakePageObjectPtr assigned = pageFunction(host);
  JSObjectPtr ref(listener);
  obj->registerEventMethod("onecho", ref);
  obj->SetProperty(std::string("onecho"), variant(assigned));

  obj->FireEvent("onecho", {"So far, you clicked this many times: ", 0});
  EXPECT_TRUE(host->delegate->calls.empty());
  host->runMainThreadQueue();

  ASSERT_EQ(2u, host->delegate->calls.size());
  EXPECT_EQ(JSObjectPtr(listener), host->delegate->calls[0].args[1].cast<JSObjectPtr>());
  EXPECT_EQ(JSObjectPtr(assigned), host->delegate->calls[1].args[1].cast<JSObjectPtr>());
  EXPECT_EQ(1u, host->scripts.size());  // the helper is installed once
}
