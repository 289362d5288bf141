#include <atomic>

#include <chrono>
#include <thread>
#include <boost/thread/thread.hpp>
#include <gtest/gtest.h>

#include "JSFunction.h"
#include "fakes.h"
#include "test_object.h"

using namespace PF;
using PF::testing::FakePageObject;
using PF::testing::makeTestObject;
using PF::testing::TestObject;

namespace {

boost::shared_ptr<JSFunction> methodObject(const boost::shared_ptr<TestObject>& obj, const std::string& name) {
  return boost::dynamic_pointer_cast<JSFunction>(obj->GetProperty(name).cast<JSAPIPtr>());
}

const variant kNull = variant_detail::null();

}  // namespace

TEST(FunctionObject, IsMadeOncePerNameAndZone) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  boost::shared_ptr<JSFunction> first = methodObject(obj, "doIt");
  ASSERT_TRUE(first);
  EXPECT_EQ(first, methodObject(obj, "doIt"));
  EXPECT_EQ(first, obj->GetMethodObject(std::string("doIt")));
  EXPECT_TRUE(obj->HasMethodObject(std::string("doIt")));

  EXPECT_THROW(obj->GetMethodObject(std::string("prop")), invalid_member);
  EXPECT_THROW(obj->GetMethodObject(std::string("secret")), invalid_member);

  scoped_zonelock zone(JSAPIPtr(obj), 3);
  EXPECT_NE(first, methodObject(obj, "doIt"));
  EXPECT_TRUE(methodObject(obj, "secret"));
}

TEST(FunctionObject, CallsItsOwnerDirectlyAndThroughCallAndApply) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  boost::shared_ptr<JSFunction> twice = methodObject(obj, "twice");
  variant pageArray(JSObjectPtr(FakePageObject::array({21})));

  EXPECT_EQ(42L, twice->Invoke("", {21}).cast<long>());
  EXPECT_EQ(42L, twice->Invoke("call", {kNull, 21}).cast<long>());
  EXPECT_EQ(42L, twice->Invoke("apply", {kNull, pageArray}).cast<long>());
  EXPECT_EQ(42L, twice->Invoke("apply", {kNull, std::vector<variant>{21}, "ignored"}).cast<long>());

  boost::shared_ptr<JSFunction> doIt = methodObject(obj, "doIt");
  doIt->Invoke("", {});
  doIt->Invoke("apply", {kNull});
  doIt->Invoke("apply", {});
  doIt->Invoke("call", {});
  EXPECT_EQ(4, obj->calls);

  // The owner's errors come through unchanged.
  EXPECT_THROW(twice->Invoke("", {}), invalid_arguments);
  EXPECT_THROW(twice->Invoke("apply", {kNull, 5}), bad_variant_cast);
}

TEST(FunctionObject, OwnMembers) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  boost::shared_ptr<JSFunction> doIt = methodObject(obj, "doIt");
  EXPECT_EQ("doIt()", doIt->Invoke("toString", {}).cast<std::string>());
  EXPECT_TRUE(doIt->GetProperty(std::string("valid")).cast<bool>());
  EXPECT_TRUE(doIt->HasMethod(std::string("call")));
  EXPECT_TRUE(doIt->HasMethod(std::string("apply")));
  EXPECT_TRUE(doIt->HasMethod(std::string("")));
  EXPECT_FALSE(doIt->HasProperty(std::string("call")));
  EXPECT_FALSE(doIt->HasProperty(std::string("apply")));
  EXPECT_FALSE(doIt->HasMethodObject(std::string("toString")));
  // No reserved names on a function object, and no nested method objects.
  EXPECT_TRUE(doIt->HasProperty(std::string("width")));
  EXPECT_TRUE(doIt->GetProperty(std::string("toString")).empty());
}

TEST(FunctionObject, OwnerGone) {
  boost::shared_ptr<JSFunction> orphan;
  {
    boost::shared_ptr<TestObject> obj = makeTestObject();
    orphan = methodObject(obj, "doIt");
  }
  for (const char* how : {"", "call", "apply"}) {
    try {
      orphan->Invoke(how, {});
      ADD_FAILURE() << "no error for '" << how << "'";
    } catch (const script_error& e) {
      EXPECT_STREQ("Invalid JSAPI object", e.what());
    }
  }
  EXPECT_EQ("doIt()", orphan->Invoke("toString", {}).cast<std::string>());
}

TEST(FunctionObject, CallsAtItsOwnZoneAfterAnotherThreadsBracket) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  boost::shared_ptr<JSFunction> secret;
  {
    scoped_zonelock zone(JSAPIPtr(obj), 3);
    secret = methodObject(obj, "secret");
  }
  boost::shared_ptr<JSFunction> doIt = methodObject(obj, "doIt");

  std::atomic<bool> done(false);
  boost::thread caller;
  {
    // While another caller holds the owner at zone 5, the zone-0 function object waits.
    scoped_zonelock zone(JSAPIPtr(obj), 5);
    caller = boost::thread([&] {
      doIt->Invoke("", {});
      done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(done.load());
  }
  caller.join();
  EXPECT_TRUE(done.load());

  // Made at zone 3, it reaches the zone-3 member although the owner's default zone is 0.
  EXPECT_EQ(42L, secret->Invoke("", {}).cast<long>());
  EXPECT_EQ(0, obj->getZone());
}
