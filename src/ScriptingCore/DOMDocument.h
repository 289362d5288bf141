#pragma once

#include "DOMElement.h"

namespace PF {
namespace DOM {

class Document : public virtual Element {
 public:
  explicit Document(const JSObjectPtr& element) : Node(element), Element(element) {}
  ~Document() override {}

  static DocumentPtr create(const JSObjectPtr& obj);

  virtual WindowPtr getWindow() const;
  virtual ElementPtr getBody() const;
  virtual ElementPtr createElement(const std::string& name) const;
};

}  // namespace DOM
}  // namespace PF
