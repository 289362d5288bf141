#include "DOMWindow.h"

#include "BrowserHost.h"
#include "DOMDocument.h"
#include "utf8_tools.h"

namespace PF {
namespace DOM {

WindowPtr Window::create(const JSObjectPtr& obj) {
  if (!obj) return WindowPtr();
  return detail::hostOf(obj)->_createWindow(obj);
}

DocumentPtr Window::getDocument() const {
  return Document::create(m_element->GetProperty("document").convert_cast<JSObjectPtr>());
}

void Window::alert(const std::string& str) const {
  const std::vector<variant> args{variant(str)};
  m_element->Invoke("alert", args);
}

void Window::alert(const std::wstring& str) const { alert(wstring_to_utf8(str)); }

JSObjectPtr Window::createArray() const {
  return m_element->Invoke("Array", std::vector<variant>()).convert_cast<JSObjectPtr>();
}

JSObjectPtr Window::createMap() const {
  return m_element->Invoke("Object", std::vector<variant>()).convert_cast<JSObjectPtr>();
}

std::string Window::getLocation() const {
  return requireNode("location")->getJSObject()->GetProperty("href").convert_cast<std::string>();
}

}  // namespace DOM
}  // namespace PF
