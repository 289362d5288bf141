#include "utf8_tools.h"

#include <iterator>
#include <utf8.h>

namespace PF {

std::string wstring_to_utf8(const std::wstring& text) {
  std::string out;
  for (wchar_t element : text) utf8::append(static_cast<utf8::uint32_t>(element), std::back_inserter(out));
  return out;
}

std::wstring utf8_to_wstring(const std::string& text) {
  std::wstring out;
  std::string::const_iterator it = text.begin();
  while (it != text.end()) out.push_back(static_cast<wchar_t>(utf8::next(it, text.end())));
  return out;
}

}  // namespace PF
