#pragma once
// printf-style formatting into a std::string, with the zero-padded text conversions the records and
// requests are built with: "%014s" pads the text on the left with '0' to 14 characters, and a text as
// long as the width or longer is taken whole (the C library would pad with blanks).
//
// The arguments are taken by type, not through C varargs: std::string, std::string_view, character
// arrays (read no further than their size) and character pointers work with %s; integers of any width with d i u o x X
// c (the length modifiers hh h l ll j z t cut the value as printf would); floating point with f F e E g G a A; pointers
// with %p. A conversion whose argument is missing or of another kind writes nothing; %n writes nothing.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

namespace string_format_detail {

struct Arg {
  enum class Kind { Signed, Unsigned, Floating, Text, Pointer };
  Kind kind = Kind::Signed;
  long long signedValue = 0;
  unsigned long long unsignedValue = 0;
  double floatingValue = 0;
  const char* text = nullptr;
  std::size_t textLength = 0;  // the text ends at its first zero byte or here, whichever comes first
  const void* pointer = nullptr;

  template <typename T, std::enable_if_t<std::is_integral_v<T> && std::is_signed_v<T>, int> = 0>
  Arg(T v) : kind(Kind::Signed), signedValue(v) {}
  template <typename T, std::enable_if_t<std::is_integral_v<T> && !std::is_signed_v<T>, int> = 0>
  Arg(T v) : kind(Kind::Unsigned), unsignedValue(v) {}
  template <typename T, std::enable_if_t<std::is_enum_v<T>, int> = 0>
  Arg(T v) : Arg(static_cast<std::underlying_type_t<T>>(v)) {}
  template <typename T, std::enable_if_t<std::is_floating_point_v<T>, int> = 0>
  Arg(T v) : kind(Kind::Floating), floatingValue(static_cast<double>(v)) {}
  Arg(const char* s);
  Arg(const unsigned char* s) : Arg(reinterpret_cast<const char*>(s)) {}
  Arg(const std::string& s) : kind(Kind::Text), text(s.data()), textLength(s.size()) {}
  Arg(std::string_view s) : kind(Kind::Text), text(s.data()), textLength(s.size()) {}
  Arg(const void* p) : kind(Kind::Pointer), pointer(p) {}
  Arg(std::nullptr_t) : kind(Kind::Pointer) {}
};

std::string format(std::string_view fmt, std::initializer_list<Arg> args);

// Character arrays are texts that end at their first zero byte or at the end of the array, so a
// fixed-size field without a terminator is never read past.
std::size_t boundedLength(const char* text, std::size_t size);

template <typename T>
Arg makeArg(const T& value) {
  return Arg(value);
}
template <std::size_t N>
Arg makeArg(const char (&text)[N]) {
  return Arg(std::string_view(text, boundedLength(text, N)));
}
template <std::size_t N>
Arg makeArg(const unsigned char (&text)[N]) {
  const char* chars = reinterpret_cast<const char*>(text);
  return Arg(std::string_view(chars, boundedLength(chars, N)));
}

}  // namespace string_format_detail

template <typename... Args>
std::string string_format(std::string_view fmt, const Args&... args) {
  return string_format_detail::format(fmt, {string_format_detail::makeArg(args)...});
}
