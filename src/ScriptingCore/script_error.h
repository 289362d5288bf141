#pragma once
// Errors that plug-in code raises towards the page, and the failed-extraction error of PF::variant.

#include <exception>
#include <string>
#include <typeinfo>

namespace PF {

// The message of a script error becomes the page's script exception.
class script_error : public std::exception {
 public:
  explicit script_error(const std::string& message) : m_message(message) {}
  explicit script_error(const char* message) : m_message(message ? message : "") {}
  ~script_error() throw() override {}
  const char* what() const throw() override { return m_message.c_str(); }

 private:
  std::string m_message;
};

// Wrong number or wrong kind of arguments; the thrower composes the text.
class invalid_arguments : public script_error {
 public:
  invalid_arguments() : script_error("Invalid Arguments") {}
  explicit invalid_arguments(const std::string& message) : script_error(message) {}
};

// A member the object does not know, or does not allow at the caller's zone.
class invalid_member : public script_error {
 public:
  explicit invalid_member(const std::string& name) : script_error("The specified member does not exist: " + name) {}
};

// The scripting object was invalidated and refuses every member access.
class object_invalidated : public script_error {
 public:
  object_invalidated() : script_error("This object is no longer valid") {}
};

// A failed exact or converting extraction from PF::variant. Not a script error: code facing the page
// turns it into one that names the two types. The names are the platform's static type-name strings.
class bad_variant_cast : public std::bad_cast {
 public:
  bad_variant_cast(const std::type_info& held, const std::type_info& wanted) : from(held.name()), to(wanted.name()) {}
  bad_variant_cast(const char* held, const char* wanted) : from(held), to(wanted) {}
  const char* what() const throw() override { return "bad cast"; }

  const char* from;
  const char* to;
};

}  // namespace PF
