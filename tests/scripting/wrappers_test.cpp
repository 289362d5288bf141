#include <gtest/gtest.h>

#include "fakes.h"
#include "test_object.h"

using namespace PF;
using PF::testing::FakePageObject;
using PF::testing::makeTestObject;
using PF::testing::TestObject;

namespace {

class EchoObject : public JSAPIAuto {
 public:
  EchoObject() : JSAPIAuto("<echo>") {
    registerMethod("echo", make_method(this, &EchoObject::echo));
    registerMethod("nothing", make_method(this, &EchoObject::nothing));
    registerMethod("version", make_method(this, &EchoObject::version));
    registerMethod("pair", make_method(this, &EchoObject::pair));
  }
  variant echo(const variant& value) { return value; }
  void nothing() { ++nothingCalls; }
  std::string version() const { return "1.1.1.47"; }
  long pair(const std::string& name, const variant& value) {
    lastValue = value;
    return static_cast<long>(name.size());
  }
  int nothingCalls = 0;
  variant lastValue = 99;
};

std::string invokeError(const JSAPIPtr& obj, const std::string& name, const std::vector<variant>& args) {
  try {
    obj->Invoke(name, args);
  } catch (const invalid_arguments& e) {
    return e.what();
  } catch (const std::exception& e) {
    return std::string("unexpected kind: ") + e.what();
  }
  return "<no error>";
}

std::string conversion(const std::type_info& from, const std::type_info& to) {
  return std::string("Invalid argument conversion from ") + from.name() + " to " + to.name();
}

}  // namespace

TEST(Wrappers, ArgumentCountsAndPositions) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  const variant page = JSObjectPtr(FakePageObject::make());
  struct Case {
    const char* method;
    std::vector<variant> args;
    std::string error;
  } cases[] = {
      {"twice", {}, "Error: Argument 1is not optional."},
      {"twice", {1, 2}, "Too many arguments, expected 1."},
      {"twice", {"abc"}, conversion(typeid(std::string), typeid(long)) + " at index 1"},
      {"store", {}, "Error: Argument 1is not optional."},
      {"store", {1}, "Error: Argument 2is not optional."},
      {"store", {1, "a", 3}, "Too many arguments, expected 2."},
      {"store", {"x", "a", 3}, conversion(typeid(std::string), typeid(long)) + " at index 1"},
      {"store", {0, page}, conversion(typeid(JSObjectPtr), typeid(std::string)) + " at index 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.method + std::string(" with ") + std::to_string(c.args.size()) + " arguments");
    EXPECT_EQ(c.error, invokeError(obj, c.method, c.args));
  }
  EXPECT_EQ(-1, obj->lastIndex);  // refused before the member ran

  obj->Invoke("store", {"7", 5});
  EXPECT_EQ(7, obj->lastIndex);
  EXPECT_EQ("5", obj->lastText);

  EXPECT_EQ(42L, obj->Invoke("doIt", {1, 2, 3}).cast<long>());  // no parameters: extras ignored
}

TEST(Wrappers, VariantParametersAndResults) {
  boost::shared_ptr<EchoObject> obj = boost::make_shared<EchoObject>();
  EXPECT_EQ(typeid(void), obj->Invoke("echo", {}).get_type());
  EXPECT_EQ(5, obj->Invoke("echo", {5}).cast<int>());
  EXPECT_EQ("Too many arguments, expected 1.", invokeError(obj, "echo", {1, 2}));

  EXPECT_EQ(3L, obj->Invoke("pair", {"abc"}).cast<long>());
  EXPECT_EQ(typeid(void), obj->lastValue.get_type());  // a missing last variant arrives empty
  EXPECT_EQ("Error: Argument 1is not optional.", invokeError(obj, "pair", {}));

  variant nothing = obj->Invoke("nothing", {});
  EXPECT_EQ(typeid(void), nothing.get_type());
  EXPECT_EQ(1, obj->nothingCalls);
  EXPECT_EQ(typeid(std::string), obj->Invoke("version", {}).get_type());
  EXPECT_EQ(typeid(long), makeTestObject()->Invoke("doIt", {}).get_type());
}

TEST(Wrappers, PropertyWritesConvertOrKeepTheValue) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  const variant page = JSObjectPtr(FakePageObject::make());

  obj->SetProperty(std::string("prop"), variant(12));
  EXPECT_EQ("12", obj->prop);
  try {
    obj->SetProperty(std::string("prop"), page);
    ADD_FAILURE() << "no error";
  } catch (const invalid_arguments& e) {
    EXPECT_EQ(conversion(typeid(JSObjectPtr), typeid(std::string)), e.what());  // no index for properties
  }
  EXPECT_EQ("12", obj->prop);

  obj->SetProperty(std::string("number"), variant("34"));
  EXPECT_EQ(34, obj->number);
  for (const variant& refused : {variant("letters"), variant("99999999999999999999"), variant(1e300), page}) {
    SCOPED_TRACE(refused.get_type().name());
    try {
      obj->SetProperty(std::string("number"), refused);
      ADD_FAILURE() << "no error";
    } catch (const invalid_arguments& e) {
      EXPECT_EQ(conversion(refused.get_type(), typeid(long)), e.what());
    }
    EXPECT_EQ(34, obj->number);
  }
  EXPECT_EQ(typeid(long), obj->GetProperty(std::string("number")).get_type());
  EXPECT_EQ(typeid(std::string), obj->GetProperty(std::string("prop")).get_type());
}
