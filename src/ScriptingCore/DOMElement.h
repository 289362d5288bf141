#pragma once

#include "DOMNode.h"

namespace PF {
namespace DOM {

class Element : public virtual Node {
 public:
  explicit Element(const JSObjectPtr& element) : Node(element) {}
  ~Element() override {}

  static ElementPtr create(const JSObjectPtr& obj);

  virtual std::string getInnerHTML() const;
  virtual void setInnerHTML(const std::string& html) const;
  virtual int getWidth() const;
  virtual void setWidth(int width) const;
  virtual int getScrollWidth() const;
  virtual int getHeight() const;
  virtual void setHeight(int height) const;
  virtual int getScrollHeight() const;
  virtual int getChildNodeCount() const;
  virtual ElementPtr getChildNode(int idx) const;
  virtual ElementPtr getParentNode() const;
  virtual ElementPtr getElement(const std::string& name) const;
  virtual ElementPtr getElement(int idx) const;
  virtual std::string getStringAttribute(const std::string& attr) const;
  virtual ElementPtr getElementById(const std::string& id) const;
  virtual std::vector<ElementPtr> getElementsByTagName(const std::string& tagName) const;
  virtual std::vector<ElementPtr> getElementsByTagName(const std::wstring& tagName) const;
};

}  // namespace DOM
}  // namespace PF
