#include "wipe_text.h"

#include <string.h>

#include "variant.h"

namespace PF {

void wipe_text(std::string& text) {
  // Growing to the capacity never reallocates, and makes the spare bytes part of what is wiped.
  text.resize(text.capacity());
  explicit_bzero(text.data(), text.size());
  std::string().swap(text);
}

void variant::wipe_text() {
  if (std::string* text = boost::any_cast<std::string>(&m_value)) PF::wipe_text(*text);
}

void wipe_text(variant& value) { value.wipe_text(); }

}  // namespace PF
