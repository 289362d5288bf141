#pragma once
// A scripting object with one member of every kind, some of them at a higher security zone.

#include <boost/make_shared.hpp>

#include "JSAPIAuto.h"

namespace PF {
namespace testing {

class TestObject : public JSAPIAuto {
 public:
  TestObject() : JSAPIAuto("<test object>") {
    registerMethod("doIt", make_method(this, &TestObject::doIt));
    registerMethod("twice", make_method(this, &TestObject::twice));
    registerMethod("store", make_method(this, &TestObject::store));
    registerProperty("prop", make_property(this, &TestObject::getProp, &TestObject::setProp));
    registerProperty("number", make_property(this, &TestObject::getNumber, &TestObject::setNumber));
    registerProperty("ro", make_property(this, &TestObject::getProp));
    registerAttribute("attr", variant("attribute value"));
    registerAttribute("roAttr", variant("fixed"), true);
    {
      scoped_zonelock zone(this, 3);
      registerMethod("secret", make_method(this, &TestObject::doIt));
      registerProperty("secretProp", make_property(this, &TestObject::getProp, &TestObject::setProp));
    }
  }

  long doIt() {
    ++calls;
    return 42;
  }
  long twice(long x) { return 2 * x; }
  void store(long index, const std::string& text) {
    lastIndex = index;
    lastText = text;
  }
  std::string getProp() const { return prop; }
  void setProp(const std::string& value) { prop = value; }
  long getNumber() { return number; }
  void setNumber(const long& value) { number = value; }

  int calls = 0;
  long lastIndex = -1;
  std::string lastText;
  std::string prop = "initial";
  long number = 0;
};

inline boost::shared_ptr<TestObject> makeTestObject() { return boost::make_shared<TestObject>(); }

}  // namespace testing
}  // namespace PF
