#include "DOMElement.h"

#include <boost/make_shared.hpp>

#include "BrowserHost.h"
#include "utf8_tools.h"

namespace PF {
namespace DOM {

namespace {
ElementPtr elementOver(const JSObjectPtr& obj) { return obj ? boost::make_shared<Element>(obj) : ElementPtr(); }

std::vector<variant> oneArgument(const variant& v) { return std::vector<variant>{v}; }
}  // namespace

ElementPtr Element::create(const JSObjectPtr& obj) {
  if (!obj) return ElementPtr();
  return detail::hostOf(obj)->_createElement(obj);
}

std::string Element::getInnerHTML() const { return m_element->GetProperty("innerHTML").convert_cast<std::string>(); }

void Element::setInnerHTML(const std::string& html) const { setProperty(std::string("innerHTML"), variant(html)); }

int Element::getWidth() const { return m_element->GetProperty("width").convert_cast<int>(); }

void Element::setWidth(int width) const { setProperty(std::string("width"), variant(width)); }

int Element::getScrollWidth() const { return m_element->GetProperty("scrollWidth").convert_cast<int>(); }

int Element::getHeight() const { return m_element->GetProperty("height").convert_cast<int>(); }

void Element::setHeight(int height) const { setProperty(std::string("height"), variant(height)); }

int Element::getScrollHeight() const { return m_element->GetProperty("scrollHeight").convert_cast<int>(); }

int Element::getChildNodeCount() const {
  return requireNode("childNodes")->getJSObject()->GetProperty("length").convert_cast<int>();
}

ElementPtr Element::getChildNode(int idx) const {
  ElementPtr children = getElement("childNodes");
  if (!children) throw script_error("The page has no \"childNodes\" object");
  return children->getElement(idx);
}

ElementPtr Element::getParentNode() const { return getElement("parentNode"); }

ElementPtr Element::getElement(const std::string& name) const {
  return elementOver(m_element->GetProperty(name).convert_cast<JSObjectPtr>());
}

ElementPtr Element::getElement(int idx) const {
  return elementOver(m_element->GetProperty(idx).convert_cast<JSObjectPtr>());
}

std::string Element::getStringAttribute(const std::string& attr) const {
  return m_element->Invoke("getAttribute", oneArgument(variant(attr))).convert_cast<std::string>();
}

ElementPtr Element::getElementById(const std::string& id) const {
  return Element::create(m_element->Invoke("getElementById", oneArgument(variant(id))).convert_cast<JSObjectPtr>());
}

std::vector<ElementPtr> Element::getElementsByTagName(const std::string& tagName) const {
  const variant found = m_element->Invoke("getElementsByTagName", oneArgument(variant(tagName)));
  std::vector<ElementPtr> out;
  for (const JSObjectPtr& obj : found.convert_cast<std::vector<JSObjectPtr>>()) out.push_back(Element::create(obj));
  return out;
}

std::vector<ElementPtr> Element::getElementsByTagName(const std::wstring& tagName) const {
  return getElementsByTagName(wstring_to_utf8(tagName));
}

}  // namespace DOM
}  // namespace PF
