#include "DOMNode.h"

#include "BrowserHost.h"
#include "utf8_tools.h"

namespace PF {
namespace DOM {

namespace detail {

namespace {
// The page object keeps its host reference for its own kind; this reads it without
// widening the object's interface.
struct HostReader : JSObject {
  static boost::weak_ptr<BrowserHost> of(const JSObject& obj) { return obj.*(&HostReader::host); }
};
}  // namespace

boost::shared_ptr<BrowserHost> hostOf(const JSObjectPtr& obj) {
  return boost::shared_ptr<BrowserHost>(HostReader::of(*obj));
}

}  // namespace detail

NodePtr Node::create(const JSObjectPtr& obj) {
  if (!obj) return NodePtr();
  return detail::hostOf(obj)->_createNode(obj);
}

NodePtr Node::getNode(const std::wstring& name) const { return getNode(wstring_to_utf8(name)); }

NodePtr Node::getNode(const std::string& name) const {
  return Node::create(m_element->GetProperty(name).convert_cast<JSObjectPtr>());
}

NodePtr Node::getNode(int idx) const { return Node::create(m_element->GetProperty(idx).convert_cast<JSObjectPtr>()); }

void Node::setProperty(const std::wstring& name, const variant& val) const { setProperty(wstring_to_utf8(name), val); }

void Node::setProperty(const std::string& name, const variant& val) const { m_element->SetProperty(name, val); }

void Node::setProperty(int idx, const variant& val) const { m_element->SetProperty(idx, val); }

NodePtr Node::appendChild(NodePtr node) {
  const std::vector<variant> args{variant(node ? node->getJSObject() : JSObjectPtr())};
  return Node::create(m_element->Invoke("appendChild", args).convert_cast<JSObjectPtr>());
}

NodePtr Node::requireNode(const std::string& name) const {
  NodePtr node = getNode(name);
  if (!node) throw script_error("The page has no \"" + name + "\" object");
  return node;
}

}  // namespace DOM
}  // namespace PF
