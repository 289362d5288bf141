#include "fake_browser.h"

#include <gtest/gtest.h>

#include "DOMDocument.h"
#include "DOMWindow.h"

using namespace pfhost_test;

namespace {

class DomTest : public ::testing::Test {
 protected:
  FakeHostPtr host = FakeHost::make();
  FakePageObjectPtr page = host->newPageObject();

  FakePageObjectPtr child(const std::string& name) {
    FakePageObjectPtr obj = host->newPageObject();
    page->properties[name] = variant(JSObjectPtr(obj));
    return obj;
  }
};

TEST_F(DomTest, NullObjectsGiveNullWrappers) {
  EXPECT_FALSE(PF::DOM::Node::create(JSObjectPtr()));
  EXPECT_FALSE(PF::DOM::Window::create(JSObjectPtr()));
  auto orphan = boost::make_shared<FakePageObject>(boost::shared_ptr<PF::BrowserHost>());
  EXPECT_THROW(PF::DOM::Element::create(orphan), boost::bad_weak_ptr) << "the object's host is gone";
}

TEST_F(DomTest, LocationIsTheHrefAsThePageReportsIt) {
  PF::DOM::WindowPtr window = host->getDOMWindow();
  EXPECT_EQ("https://bank.example/atm/index.html", window->getLocation());
  auto location =
      boost::dynamic_pointer_cast<FakePageObject>(host->window->properties["location"].convert_cast<JSObjectPtr>());
  ASSERT_TRUE(location);
  location->properties["href"] = std::string("HTTPS://Bank.Example:8443/a%20b?x=1#f");
  EXPECT_EQ("HTTPS://Bank.Example:8443/a%20b?x=1#f", window->getLocation());
}

TEST_F(DomTest, MissingIntermediateObjectsAreScriptErrors) {
  PF::DOM::WindowPtr window = PF::DOM::Window::create(page);
  EXPECT_THROW(window->getLocation(), PF::script_error);
  page->properties["location"] = variant(PF::variant_detail::null());
  EXPECT_THROW(window->getLocation(), PF::script_error);

  PF::DOM::ElementPtr element = PF::DOM::Element::create(page);
  EXPECT_THROW(element->getChildNodeCount(), PF::script_error);
  EXPECT_THROW(element->getChildNode(0), PF::script_error);
}

TEST_F(DomTest, ChildNodesAreReadThroughTheirList) {
  FakePageObjectPtr list = child("childNodes");
  FakePageObjectPtr third = host->newPageObject();
  list->properties["length"] = variant(3);
  list->indexed[2] = variant(JSObjectPtr(third));
  PF::DOM::ElementPtr element = PF::DOM::Element::create(page);
  EXPECT_EQ(3, element->getChildNodeCount());
  EXPECT_EQ(third, element->getChildNode(2)->getJSObject());
  EXPECT_FALSE(element->getChildNode(1));
}

TEST_F(DomTest, ElementPropertiesAndKinds) {
  page->properties["x"] = variant(PF::variant_detail::null());
  page->properties["n"] = variant(7);
  page->properties["innerHTML"] = std::string("<b>hi</b>");
  page->properties["width"] = std::string("120");
  PF::DOM::ElementPtr element = PF::DOM::Element::create(page);
  EXPECT_FALSE(element->getElement("x"));
  EXPECT_THROW(element->getElement("n"), PF::bad_variant_cast);
  EXPECT_EQ("<b>hi</b>", element->getInnerHTML());
  EXPECT_EQ(120, element->getWidth());
  element->setHeight(30);
  EXPECT_EQ(30, page->properties["height"].cast<int>());
  element->setInnerHTML("new");
  EXPECT_EQ("new", page->properties["innerHTML"].cast<std::string>());
}

TEST_F(DomTest, MethodCallsCarryTheirArguments) {
  FakePageObjectPtr found = host->newPageObject();
  page->methods["getElementById"] = [&](const std::vector<variant>&) { return variant(JSObjectPtr(found)); };
  page->methods["getElementsByTagName"] = [&](const std::vector<variant>& args) {
    FakePageObjectPtr array = host->newPageObject();
    array->properties["length"] = variant(args[0].convert_cast<std::string>() == "div" ? 1 : 0);
    array->indexed[0] = variant(JSObjectPtr(found));
    return variant(JSObjectPtr(array));
  };
  PF::DOM::DocumentPtr doc = PF::DOM::Document::create(page);
  EXPECT_EQ(found, doc->getElementById("main")->getJSObject());
  EXPECT_EQ("main", page->calls.back().args.at(0).cast<std::string>());
  ASSERT_EQ(1u, doc->getElementsByTagName(std::wstring(L"div")).size());
  EXPECT_TRUE(doc->getElementsByTagName("span").empty());

  PF::DOM::WindowPtr window = PF::DOM::Window::create(page);
  window->alert(std::wstring(L"元件"));
  EXPECT_EQ("alert", page->calls.back().name);
  EXPECT_EQ("\xe5\x85\x83\xe4\xbb\xb6", page->calls.back().args.at(0).cast<std::string>());
}

}  // namespace
