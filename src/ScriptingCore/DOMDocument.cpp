#include "DOMDocument.h"

#include "BrowserHost.h"
#include "DOMWindow.h"

namespace PF {
namespace DOM {

DocumentPtr Document::create(const JSObjectPtr& obj) {
  if (!obj) return DocumentPtr();
  return detail::hostOf(obj)->_createDocument(obj);
}

WindowPtr Document::getWindow() const {
  return Window::create(m_element->GetProperty("window").convert_cast<JSObjectPtr>());
}

ElementPtr Document::getBody() const {
  return Element::create(m_element->GetProperty("body").convert_cast<JSObjectPtr>());
}

ElementPtr Document::createElement(const std::string& name) const {
  const std::vector<variant> args{variant(name)};
  return Element::create(m_element->Invoke("createElement", args).convert_cast<JSObjectPtr>());
}

}  // namespace DOM
}  // namespace PF
