#pragma once
// Typed wrappers over page objects. Each operation is one property read, property
// write or method call on the wrapped page object under a fixed page name.

#include <string>
#include <vector>

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

#include "JSObject.h"
#include "variant.h"

namespace PF {
namespace DOM {

class Node;
class Element;
class Document;
class Window;
typedef boost::shared_ptr<Node> NodePtr;
typedef boost::shared_ptr<Element> ElementPtr;
typedef boost::shared_ptr<Document> DocumentPtr;
typedef boost::shared_ptr<Window> WindowPtr;

class Node : public boost::enable_shared_from_this<Node> {
 public:
  explicit Node(const JSObjectPtr& element) : m_element(element) {}
  virtual ~Node() {}

  // A null object gives a null wrapper; otherwise the object's host builds it
  // (boost::bad_weak_ptr when that host is gone).
  static NodePtr create(const JSObjectPtr& obj);

  virtual JSObjectPtr getJSObject() const { return m_element; }
  virtual NodePtr getNode(const std::wstring& name) const;
  virtual NodePtr getNode(const std::string& name) const;
  virtual NodePtr getNode(int idx) const;
  virtual void setProperty(const std::wstring& name, const variant& val) const;
  virtual void setProperty(const std::string& name, const variant& val) const;
  virtual void setProperty(int idx, const variant& val) const;
  virtual NodePtr appendChild(NodePtr node);

 protected:
  // getNode for a page object the operation cannot do without: a missing one raises
  // a script error instead of being dereferenced.
  NodePtr requireNode(const std::string& name) const;

  const JSObjectPtr m_element;
};

namespace detail {
// The host a page object belongs to, locked; boost::bad_weak_ptr when it is gone.
boost::shared_ptr<BrowserHost> hostOf(const JSObjectPtr& obj);
}  // namespace detail

}  // namespace DOM
}  // namespace PF
