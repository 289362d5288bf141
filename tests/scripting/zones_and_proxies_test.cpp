#include <atomic>

#include <chrono>
#include <thread>

#include <boost/thread/thread.hpp>
#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "JSAPIAuto.h"
#include "fakes.h"
#include "utf8_tools.h"

using namespace PF;

namespace {
boost::shared_ptr<JSAPIAuto> makeObject() { return boost::make_shared<JSAPIAuto>("<obj>"); }
}  // namespace

TEST(Zones, PushPopAndDefault) {
  boost::shared_ptr<JSAPIAuto> obj = makeObject();
  EXPECT_EQ(0, obj->getZone());
  EXPECT_EQ(0, obj->getDefaultZone());
  {
    scoped_zonelock zone(JSAPIPtr(obj), 4);
    EXPECT_EQ(4, obj->getZone());
    EXPECT_EQ(0, obj->getDefaultZone());
  }
  EXPECT_EQ(0, obj->getZone());

  obj->setDefaultZone(2);
  EXPECT_EQ(2, obj->getZone());
  EXPECT_EQ(2, obj->getDefaultZone());
}

TEST(Zones, AnotherThreadWaitsForThePop) {
  boost::shared_ptr<JSAPIAuto> obj = makeObject();
  std::atomic<int> seen(-1);
  std::atomic<bool> started(false);
  boost::thread reader;
  {
    scoped_zonelock zone(JSAPIPtr(obj), 4);
    reader = boost::thread([&] {
      started = true;
      seen = obj->getZone();
    });
    while (!started) boost::this_thread::yield();
    // Give a reader that ignored the lock every chance to get through.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    // The reader cannot finish while the zone is held; once it is popped, it reads the default.
    EXPECT_EQ(-1, seen.load());
  }
  reader.join();
  EXPECT_EQ(0, seen.load());
}

TEST(WideForms, BehaveAsTheirUtf8Names) {
  boost::shared_ptr<JSAPIAuto> obj = makeObject();
  obj->SetProperty(std::wstring(L"\u540d"), variant(5));
  EXPECT_EQ(5, obj->GetProperty(std::string("\xE5\x90\x8D")).cast<int>());
  EXPECT_TRUE(obj->HasMethod(std::wstring(L"toString")));
  EXPECT_EQ("<obj>", obj->Invoke(std::wstring(L"toString"), {}).cast<std::string>());

  std::vector<std::wstring> names{L"stale"};
  obj->getMemberNames(names);
  std::vector<std::string> narrow;
  obj->getMemberNames(narrow);
  ASSERT_EQ(narrow.size(), names.size());
  for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(narrow[i], wstring_to_utf8(names[i]));
}

TEST(InterfaceDefaults, PageObjectsKeepTheBaseBehaviour) {
  boost::shared_ptr<PF::testing::FakePageObject> page = PF::testing::FakePageObject::make();
  EXPECT_FALSE(page->GetMethodObject(std::string("anything")));
  EXPECT_FALSE(page->HasMethodObject(std::string("anything")));
  EXPECT_EQ(0, page->getZone());

  JSObjectPtr listener(PF::testing::FakePageObject::make());
  try {
    page->registerEventMethod(std::string("onecho"), listener);
    ADD_FAILURE() << "no error";
  } catch (const script_error& e) {
    EXPECT_STREQ("Not implemented", e.what());
  }
  EXPECT_THROW(page->registerEventInterface(listener), script_error);

  // A guard over no object does nothing.
  scoped_zonelock none(static_cast<JSAPI*>(nullptr), 3);
}
