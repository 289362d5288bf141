#include <gtest/gtest.h>

#include "fakes.h"
#include "test_object.h"

using namespace PF;
using PF::testing::FakePageObject;
using PF::testing::FakePageObjectPtr;
using PF::testing::makeTestObject;
using PF::testing::RecordedCall;
using PF::testing::TestObject;

namespace {

int pageA, pageB;  // stand-ins for the browser's identities of two page instances
int fnOne, fnTwo, fnThree;

void listen(const boost::shared_ptr<TestObject>& obj, const std::string& name, const FakePageObjectPtr& f) {
  JSObjectPtr ref(f);
  obj->registerEventMethod(name, ref);
}

std::vector<variant> echoArgs() { return {"So far, you clicked this many times: ", 0}; }

void expectArgs(const std::vector<variant>& expected, const std::vector<variant>& actual) {
  ASSERT_EQ(expected.size(), actual.size());
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_FALSE(expected[i] < actual[i] || actual[i] < expected[i]) << "argument " << i;
}

// Recorded calls hold the firing object while it holds the receivers; dropping them afterwards
// lets every object go.
class Events : public ::testing::Test {
 protected:
  FakePageObjectPtr listener(void* context, void* id, bool optimized = false) {
    FakePageObjectPtr f = FakePageObject::make();
    f->context = context;
    f->eventId = id;
    f->optimized = optimized;
    made.push_back(f);
    return f;
  }

  void TearDown() override {
    for (const FakePageObjectPtr& f : made) f->calls.clear();
  }

  std::vector<FakePageObjectPtr> made;
};

}  // namespace

TEST_F(Events, RegistrationByEventId) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  FakePageObjectPtr once = listener(&pageA, &fnOne);
  listen(obj, "onecho", once);
  listen(obj, "onecho", listener(&pageA, &fnOne));  // same page function through another handle
  obj->FireEvent("onecho", echoArgs());
  EXPECT_EQ(1u, once->calls.size());

  JSObjectPtr stranger(listener(&pageA, &fnTwo));
  obj->unregisterEventMethod("onecho", stranger);  // never registered: nothing changes
  JSObjectPtr sameFunction(listener(&pageA, &fnOne));
  obj->unregisterEventMethod("onecho", sameFunction);
  obj->FireEvent("onecho", echoArgs());
  EXPECT_EQ(1u, once->calls.size());

  JSObjectPtr none;
  try {
    obj->registerEventMethod("onecho", none);
    ADD_FAILURE() << "no error";
  } catch (const invalid_arguments& e) {
    EXPECT_STREQ("Invalid Arguments", e.what());
  }
  EXPECT_THROW(obj->unregisterEventMethod("onecho", none), invalid_arguments);
}

TEST_F(Events, PlainListenersAreCalledOneByOneAndInvalidOnesSkipped) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  FakePageObjectPtr first = listener(nullptr, &fnOne);
  FakePageObjectPtr gone = listener(nullptr, &fnTwo);
  FakePageObjectPtr last = listener(nullptr, &fnThree);
  gone->valid = false;
  listen(obj, "onecho", first);
  listen(obj, "onecho", gone);
  listen(obj, "onecho", last);
  listen(obj, "ontest", listener(nullptr, &fnOne));

  obj->FireEvent("onecho", echoArgs());
  for (const FakePageObjectPtr& f : {first, last}) {
    ASSERT_EQ(1u, f->calls.size());
    EXPECT_EQ("invokeAsync", f->calls[0].kind);
    EXPECT_EQ("", f->calls[0].name);
    expectArgs(echoArgs(), f->calls[0].args);
  }
  EXPECT_TRUE(gone->calls.empty());
}

TEST_F(Events, OneOptimisedCallPerPageInstance) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  FakePageObjectPtr a1 = listener(&pageA, &fnOne, true);
  FakePageObjectPtr a2 = listener(&pageA, &fnTwo, true);
  FakePageObjectPtr aIface = listener(&pageA, nullptr, true);
  FakePageObjectPtr b1 = listener(&pageB, &fnThree, true);
  FakePageObjectPtr bIface = listener(&pageB, nullptr, true);
  listen(obj, "onecho", a1);
  listen(obj, "onecho", a2);
  listen(obj, "onecho", b1);
  obj->registerEventInterface(aIface);
  obj->registerEventInterface(bIface);

  obj->FireEvent("onecho", echoArgs());

  ASSERT_EQ(1u, a1->calls.size());
  const RecordedCall& call = a1->calls[0];
  EXPECT_EQ("multiple", call.kind);
  EXPECT_EQ("onecho", call.name);
  expectArgs(echoArgs(), call.args);
  EXPECT_EQ((std::vector<JSObjectPtr>{a1, a2}), call.functions);
  EXPECT_EQ((std::vector<JSObjectPtr>{aIface}), call.objects);
  EXPECT_TRUE(a2->calls.empty());
  EXPECT_TRUE(aIface->calls.empty());

  ASSERT_EQ(1u, b1->calls.size());
  EXPECT_EQ((std::vector<JSObjectPtr>{bIface}), b1->calls[0].objects);
  EXPECT_TRUE(bIface->calls.empty());
}

TEST_F(Events, InterfacesWithoutListeners) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  FakePageObjectPtr optimised1 = listener(&pageA, nullptr, true);
  FakePageObjectPtr optimised2 = listener(&pageA, nullptr, true);
  FakePageObjectPtr plain = listener(&pageB, nullptr, false);
  FakePageObjectPtr invalid = listener(&pageB, nullptr, false);
  invalid->valid = false;
  for (const FakePageObjectPtr& f : {optimised1, optimised2, plain, invalid}) obj->registerEventInterface(f);

  obj->FireEvent("ontest", {});

  size_t multipleCalls = optimised1->calls.size() + optimised2->calls.size();
  ASSERT_EQ(1u, multipleCalls);
  const RecordedCall& call = optimised1->calls.empty() ? optimised2->calls[0] : optimised1->calls[0];
  EXPECT_EQ("multiple", call.kind);
  EXPECT_TRUE(call.functions.empty());
  EXPECT_EQ(2u, call.objects.size());

  ASSERT_EQ(1u, plain->calls.size());
  EXPECT_EQ("invokeAsync", plain->calls[0].kind);
  EXPECT_EQ("ontest", plain->calls[0].name);  // the interface's method named like the event
  EXPECT_TRUE(invalid->calls.empty());

  obj->unregisterEventInterface(plain);
  obj->FireEvent("ontest", {});
  EXPECT_EQ(1u, plain->calls.size());
}

TEST_F(Events, AttributeHandlerIsOneMoreReceiver) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  FakePageObjectPtr registered = listener(nullptr, &fnOne);
  FakePageObjectPtr assigned = listener(nullptr, &fnTwo);
  listen(obj, "onecho", registered);
  obj->SetProperty(std::string("onecho"), variant(assigned));  // the page assigns a function to "onecho"

  obj->FireEvent("onecho", echoArgs());
  ASSERT_EQ(1u, registered->calls.size());
  ASSERT_EQ(1u, assigned->calls.size());
  EXPECT_EQ("", assigned->calls[0].name);
  expectArgs(echoArgs(), assigned->calls[0].args);

  // A text in the attribute is no receiver.
  obj->SetProperty(std::string("ontest"), variant("not a function"));
  EXPECT_NO_THROW(obj->FireEvent("ontest", {}));
}

TEST_F(Events, AFailingReceiverStopsNeitherTheOthersNorTheCaller) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  FakePageObjectPtr failing = listener(nullptr, &fnOne);
  FakePageObjectPtr after = listener(nullptr, &fnTwo);
  FakePageObjectPtr failingIface = listener(&pageB, nullptr);
  FakePageObjectPtr otherIface = listener(&pageB, nullptr);
  FakePageObjectPtr failingAttribute = listener(nullptr, &fnThree);
  failing->failScheduling = true;
  failingIface->failScheduling = true;
  failingAttribute->failScheduling = true;
  listen(obj, "onecho", failing);
  listen(obj, "onecho", after);
  obj->registerEventInterface(failingIface);
  obj->registerEventInterface(otherIface);
  obj->SetProperty(std::string("onecho"), variant(failingAttribute));

  EXPECT_NO_THROW(obj->FireEvent("onecho", echoArgs()));
  EXPECT_EQ(1u, after->calls.size());
  EXPECT_EQ(1u, otherIface->calls.size());

  EXPECT_NO_THROW(obj->FireJSEvent("onecho", VariantMap(), echoArgs()));
  EXPECT_EQ(2u, after->calls.size());
  EXPECT_EQ(2u, otherIface->calls.size());
}

TEST_F(Events, InvalidatedObjectSchedulesNothing) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  FakePageObjectPtr f = listener(nullptr, &fnOne);
  FakePageObjectPtr assigned = listener(nullptr, &fnTwo);
  listen(obj, "onecho", f);
  obj->SetProperty(std::string("onecho"), variant(assigned));
  obj->invalidate();
  obj->FireEvent("onecho", echoArgs());
  EXPECT_TRUE(f->calls.empty());
  EXPECT_TRUE(assigned->calls.empty());

  // The DOM-style form still reaches the function stored in the attribute.
  obj->FireJSEvent("onecho", VariantMap(), echoArgs());
  EXPECT_TRUE(f->calls.empty());
  EXPECT_EQ(1u, assigned->calls.size());
}

TEST_F(Events, EventObjectOfTheDomStyleForm) {
  boost::shared_ptr<TestObject> obj = makeTestObject();
  FakePageObjectPtr f = listener(&pageA, &fnOne, true);  // the DOM-style form takes no optimised road
  FakePageObjectPtr iface = listener(&pageA, nullptr, true);
  FakePageObjectPtr assigned = listener(nullptr, &fnTwo);
  listen(obj, "ontest", f);
  obj->registerEventInterface(iface);
  obj->SetProperty(std::string("ontest"), variant(assigned));

  obj->FireJSEvent("ontest", VariantMap{{"type", "x"}, {"detail", 1}, {"arguments", "replaced"}}, {5});

  for (const FakePageObjectPtr& receiver : {f, iface, assigned}) {
    ASSERT_EQ(1u, receiver->calls.size());
    const RecordedCall& call = receiver->calls[0];
    EXPECT_EQ("invokeAsync", call.kind);
    EXPECT_EQ(receiver == iface ? "ontest" : "", call.name);
    ASSERT_EQ(1u, call.args.size());
    VariantMap event = call.args[0].cast<VariantMap>();
    EXPECT_EQ("ontest", event["type"].cast<std::string>());
    EXPECT_EQ("ontest", event["namespaceURI"].cast<std::string>());
    EXPECT_EQ(JSAPIPtr(obj), event["target"].cast<JSAPIPtr>());
    EXPECT_EQ(JSAPIPtr(obj), event["currentTarget"].cast<JSAPIPtr>());
    EXPECT_EQ(2, event["eventPhase"].cast<int>());
    EXPECT_FALSE(event["bubbles"].cast<bool>());
    EXPECT_FALSE(event["cancelable"].cast<bool>());
    EXPECT_EQ(1, event["detail"].cast<int>());
    std::vector<variant> args = event["arguments"].cast<std::vector<variant> >();
    ASSERT_EQ(1u, args.size());
    EXPECT_EQ(5, args[0].cast<int>());
  }
}

TEST_F(Events, ProxiesReSendWithThemselvesInPlaceOfTheSource) {
  boost::shared_ptr<TestObject> source = makeTestObject();
  boost::shared_ptr<TestObject> proxy = makeTestObject();
  boost::shared_ptr<TestObject> other = makeTestObject();
  FakePageObjectPtr onProxy = listener(nullptr, &fnOne);
  listen(proxy, "onping", onProxy);
  {
    boost::shared_ptr<TestObject> dead = makeTestObject();
    source->registerProxy(dead);
  }
  source->registerProxy(proxy);
  source->registerProxy(other);

  JSAPIPtr self(source);
  source->FireEvent("onping", {self, JSAPIPtr(other), std::vector<variant>{self}, VariantMap{{"who", self}}});
  ASSERT_EQ(1u, onProxy->calls.size());
  const std::vector<variant>& args = onProxy->calls[0].args;
  ASSERT_EQ(4u, args.size());
  EXPECT_EQ(JSAPIPtr(proxy), args[0].cast<JSAPIPtr>());
  EXPECT_EQ(JSAPIPtr(other), args[1].cast<JSAPIPtr>());
  EXPECT_EQ(JSAPIPtr(proxy), args[2].cast<std::vector<variant> >()[0].cast<JSAPIPtr>());
  EXPECT_EQ(JSAPIPtr(proxy), args[3].cast<VariantMap>()["who"].cast<JSAPIPtr>());

  source->unregisterProxy(proxy);
  source->FireEvent("onping", {});
  EXPECT_EQ(1u, onProxy->calls.size());
}
