#include <functional>

#include <boost/function/function_base.hpp>
#include <gtest/gtest.h>

#include "JSFunction.h"
#include "test_object.h"

using namespace PF;
using PF::testing::makeTestObject;
using PF::testing::TestObject;

namespace {

// What one member access must give.
enum class Outcome { Value, Empty, FunctionObject, MemberError };

struct AccessCase {
  const char* name;
  int zone;
  Outcome outcome;
  variant value;  // for Value
};

void checkOutcome(const AccessCase& c, const std::function<variant()>& access) {
  SCOPED_TRACE(std::string(c.name) + " at zone " + std::to_string(c.zone));
  try {
    variant result = access();
    switch (c.outcome) {
      case Outcome::Value:
        EXPECT_FALSE(result < c.value || c.value < result);
        break;
      case Outcome::Empty:
        EXPECT_EQ(typeid(void), result.get_type());
        break;
      case Outcome::FunctionObject:
        EXPECT_TRUE(boost::dynamic_pointer_cast<JSFunction>(result.cast<JSAPIPtr>()) != nullptr);
        break;
      case Outcome::MemberError:
        ADD_FAILURE() << "no error raised";
    }
  } catch (const invalid_member& e) {
    EXPECT_EQ(Outcome::MemberError, c.outcome);
    EXPECT_EQ(std::string("The specified member does not exist: ") + c.name, e.what());
  }
}

template <class Fn>
std::string errorText(Fn fn) {
  try {
    fn();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "<no error>";
}

}  // namespace

TEST(ScriptingObject, InvokeLookupOrder) {
  const AccessCase cases[] = {
      {"doIt", 0, Outcome::Value, 42L},
      {"toString", 0, Outcome::Value, "<test object>"},
      {"prop", 0, Outcome::MemberError, variant()},
      {"attr", 0, Outcome::MemberError, variant()},
      {"unknown", 0, Outcome::MemberError, variant()},
      {"", 0, Outcome::MemberError, variant()},
      {"secret", 0, Outcome::MemberError, variant()},
      {"secret", 3, Outcome::Value, 42L},
      {"secret", 5, Outcome::Value, 42L},
  };
  for (const AccessCase& c : cases) {
    boost::shared_ptr<TestObject> obj = makeTestObject();
    scoped_zonelock zone(JSAPIPtr(obj), c.zone);
    checkOutcome(c, [&] { return obj->Invoke(c.name, {}); });
  }
}

TEST(ScriptingObject, GetPropertyLookupOrder) {
  const AccessCase cases[] = {
      {"prop", 0, Outcome::Value, "initial"},
      {"ro", 0, Outcome::Value, "initial"},
      {"value", 0, Outcome::Value, "<test object>"},
      {"valid", 0, Outcome::Value, true},
      {"doIt", 0, Outcome::FunctionObject, variant()},
      {"attr", 0, Outcome::Value, "attribute value"},
      {"unknown", 0, Outcome::Empty, variant()},
      {"secretProp", 0, Outcome::Empty, variant()},
      {"secret", 0, Outcome::Empty, variant()},
      {"secretProp", 3, Outcome::Value, "initial"},
      {"secret", 3, Outcome::FunctionObject, variant()},
  };
  for (const AccessCase& c : cases) {
    boost::shared_ptr<TestObject> obj = makeTestObject();
    scoped_zonelock zone(JSAPIPtr(obj), c.zone);
    checkOutcome(c, [&] { return obj->GetProperty(std::string(c.name)); });
  }
}

TEST(ScriptingObject, SetPropertyLookupOrder) {
  struct SetCase {
    const char* name;
    int zone;
    bool memberError;
    const char* readBack;  // what GetProperty gives afterwards at the same zone
  } cases[] = {
      {"prop", 0, false, "new"},
      {"ro", 0, false, "initial"},  // read-only: accepted, nothing changes
      {"value", 0, false, "<test object>"},
      {"unknown", 0, false, "new"},  // becomes an attribute
      {"roAttr", 0, false, "new"},   // dynamic attributes replace it
      {"secretProp", 0, true, nullptr},
      {"secretProp", 3, false, "new"},
  };
  for (const SetCase& c : cases) {
    SCOPED_TRACE(c.name);
    boost::shared_ptr<TestObject> obj = makeTestObject();
    scoped_zonelock zone(JSAPIPtr(obj), c.zone);
    if (c.memberError) {
      EXPECT_EQ(std::string("The specified member does not exist: ") + c.name,
                errorText([&] { obj->SetProperty(std::string(c.name), variant("new")); }));
      EXPECT_EQ("initial", obj->prop);
      continue;
    }
    obj->SetProperty(std::string(c.name), variant("new"));
    EXPECT_EQ(c.readBack, obj->GetProperty(std::string(c.name)).convert_cast<std::string>());
  }

  // A replaced read-only attribute has lost its mark.
  boost::shared_ptr<TestObject> obj = makeTestObject();
  obj->SetProperty(std::string("roAttr"), variant("new"));
  obj->RemoveProperty(std::string("roAttr"));
  EXPECT_TRUE(obj->getAttribute("roAttr").empty());
}

TEST(ScriptingObject, RemovePropertyLookupOrder) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  obj->SetProperty(std::string("pageMade"), variant(1));

  obj->RemoveProperty(std::string("prop"));    // registered property: ignored
  obj->RemoveProperty(std::string("doIt"));    // method: ignored
  obj->RemoveProperty(std::string("roAttr"));  // read-only attribute: ignored
  obj->RemoveProperty(std::string("pageMade"));
  EXPECT_EQ("initial", obj->GetProperty(std::string("prop")).cast<std::string>());
  EXPECT_EQ(42L, obj->Invoke("doIt", {}).cast<long>());
  EXPECT_EQ("fixed", obj->getAttribute("roAttr").cast<std::string>());
  EXPECT_TRUE(obj->getAttribute("pageMade").empty());

  EXPECT_EQ("The specified member does not exist: unknown",
            errorText([&] { obj->RemoveProperty(std::string("unknown")); }));
  EXPECT_EQ("The specified member does not exist: secretProp",
            errorText([&] { obj->RemoveProperty(std::string("secretProp")); }));
}

TEST(ScriptingObject, HasMethodAndHasProperty) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  struct HasCase {
    const char* name;
    int zone;
    bool method;
    bool property;
  } cases[] = {
      {"doIt", 0, true, true},  // method read as a function object
      {"prop", 0, false, true},         {"attr", 0, false, true},   {"unknown", 0, false, true},  // dynamic attributes
      {"width", 0, false, false},                                                                 // reserved
      {"constructor", 0, false, false}, {"secret", 0, false, true}, {"secret", 3, true, true},
  };
  for (const HasCase& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " at zone " + std::to_string(c.zone));
    scoped_zonelock zone(JSAPIPtr(obj), c.zone);
    EXPECT_EQ(c.method, obj->HasMethod(std::string(c.name)));
    EXPECT_EQ(c.property, obj->HasProperty(std::string(c.name)));
  }
  obj->SetProperty(std::string("width"), variant(10));
  EXPECT_TRUE(obj->HasProperty(std::string("width")));
  EXPECT_TRUE(obj->HasProperty(12345));
}

TEST(ScriptingObject, IndexForms) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  obj->SetProperty(3, variant("three"));
  EXPECT_EQ("three", obj->GetProperty(3).cast<std::string>());
  EXPECT_EQ("three", obj->GetProperty(std::string("3")).cast<std::string>());
  EXPECT_TRUE(obj->GetProperty(-1).empty());

  obj->RemoveProperty(3);
  EXPECT_TRUE(obj->GetProperty(3).empty());
  EXPECT_EQ("The specified member does not exist: 7", errorText([&] { obj->RemoveProperty(7); }));
  EXPECT_EQ("The specified member does not exist: -2", errorText([&] { obj->RemoveProperty(-2); }));
}

TEST(ScriptingObject, MemberNamesFollowTheZone) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  obj->SetProperty(std::string("Zeta"), variant(1));
  std::vector<std::string> expected{"Zeta",   "attr",         "doIt",  "getAttribute", "number", "prop",  "ro",
                                    "roAttr", "setAttribute", "store", "toString",     "twice",  "valid", "value"};
  std::vector<std::string> names;
  obj->getMemberNames(names);
  EXPECT_EQ(expected, names);
  EXPECT_EQ(expected.size(), obj->getMemberCount());

  scoped_zonelock zone(JSAPIPtr(obj), 3);
  EXPECT_EQ(expected.size() + 2, obj->getMemberCount());
}

TEST(ScriptingObject, BuiltInMembers) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  EXPECT_EQ("<test object>", obj->Invoke("toString", {}).cast<std::string>());
  obj->SetProperty(std::string("value"), variant("x"));
  obj->SetProperty(std::string("valid"), variant(false));
  EXPECT_EQ("<test object>", obj->GetProperty(std::string("value")).cast<std::string>());
  EXPECT_TRUE(obj->GetProperty(std::string("valid")).cast<bool>());

  obj->Invoke("setAttribute", {"colour", 7});
  EXPECT_EQ(7, obj->Invoke("getAttribute", {"colour"}).cast<int>());
  EXPECT_TRUE(obj->Invoke("getAttribute", {"nothing"}).empty());
  EXPECT_EQ("Cannot set read-only property roAttr", errorText([&] { obj->Invoke("setAttribute", {"roAttr", 1}); }));
  EXPECT_EQ("Cannot remove read-only property roAttr", errorText([&] { obj->unregisterAttribute("roAttr"); }));
  EXPECT_EQ("The specified member does not exist: constructor", errorText([&] { obj->Construct({}); }));
}

TEST(ScriptingObject, ConversionFailuresInsideMembers) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  obj->registerMethod("castsInside",
                      [](const std::vector<variant>& args) -> variant { return args.at(0).cast<long>(); });
  try {
    obj->Invoke("castsInside", {5});
    ADD_FAILURE() << "no error";
  } catch (const invalid_arguments& e) {
    EXPECT_EQ(std::string("Could not convert from ") + typeid(int).name() + " to " + typeid(long).name(), e.what());
  }

  obj->registerProperty("rawSetter",
                        PropertyFunctors([] { return variant(); }, [](const variant& v) { v.cast<std::string>(); }));
  EXPECT_EQ(std::string("Could not convert from ") + typeid(double).name() + " to " + typeid(std::string).name(),
            errorText([&] { obj->SetProperty(std::string("rawSetter"), variant(1.5)); }));

  obj->registerMethod("hollow", CallMethodFunctor());
  EXPECT_THROW(obj->Invoke("hollow", {}), boost::bad_function_call);
}

TEST(ScriptingObject, RegisteringAgainReplaces) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  obj->registerMethod("doIt", [](const std::vector<variant>&) { return variant(7L); });
  EXPECT_EQ(7L, obj->Invoke("doIt", {}).cast<long>());

  // The zone entry follows the last registration of the name, whatever its kind.
  {
    scoped_zonelock zone(JSAPIPtr(obj), 3);
    obj->registerAttribute("prop", variant("shadow"));
  }
  EXPECT_TRUE(obj->GetProperty(std::string("prop")).empty());
  scoped_zonelock zone(JSAPIPtr(obj), 3);
  EXPECT_EQ("initial", obj->GetProperty(std::string("prop")).cast<std::string>());
}

TEST(ScriptingObject, InvalidatedObjectRefusesEverything) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  obj->invalidate();
  const std::string invalid = "This object is no longer valid";
  EXPECT_EQ(invalid, errorText([&] { obj->Invoke("doIt", {}); }));
  EXPECT_EQ(invalid, errorText([&] { obj->GetProperty(std::string("prop")); }));
  EXPECT_EQ(invalid, errorText([&] { obj->SetProperty(std::string("prop"), variant("x")); }));
  EXPECT_EQ(invalid, errorText([&] { obj->RemoveProperty(std::string("prop")); }));
  EXPECT_EQ(invalid, errorText([&] { obj->GetProperty(1); }));
  EXPECT_EQ(invalid, errorText([&] { obj->SetProperty(1, variant()); }));
  EXPECT_EQ(invalid, errorText([&] { obj->RemoveProperty(1); }));
  EXPECT_EQ(invalid, errorText([&] { obj->Construct({}); }));
  EXPECT_EQ(invalid, errorText([&] { obj->GetMethodObject(std::string("doIt")); }));
  EXPECT_FALSE(obj->HasMethod(std::string("doIt")));
  EXPECT_FALSE(obj->HasProperty(std::string("prop")));
  EXPECT_FALSE(obj->HasProperty(1));
  EXPECT_EQ(0, obj->calls);
  EXPECT_EQ(13u, obj->getMemberCount());
}
