#pragma once

#include "DOMNode.h"

namespace PF {
namespace DOM {

class Window : public virtual Node {
 public:
  explicit Window(const JSObjectPtr& element) : Node(element) {}
  ~Window() override {}

  static WindowPtr create(const JSObjectPtr& obj);

  virtual DocumentPtr getDocument() const;
  virtual void alert(const std::string& str) const;
  virtual void alert(const std::wstring& str) const;
  virtual JSObjectPtr createArray() const;
  virtual JSObjectPtr createMap() const;
  // The page's address exactly as its location object reports it.
  virtual std::string getLocation() const;
};

}  // namespace DOM
}  // namespace PF
