#include "card/StringFormat.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

namespace string_format_detail {

Arg::Arg(const char* s) : kind(Kind::Text), text(s), textLength(s ? std::strlen(s) : 0) {}

std::size_t boundedLength(const char* text, std::size_t size) {
  const void* end = std::memchr(text, '\0', size);
  return end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : size;
}

namespace {

struct Conversion {
  std::string flags;
  int width = -1;
  int precision = -1;
  std::string length;  // hh h l ll j z t L q
  char conversion = 0;
};

class ArgList {
 public:
  explicit ArgList(std::initializer_list<Arg> args) : args_(args.begin(), args.end()) {}
  const Arg* next() { return index_ < args_.size() ? &args_[index_++] : nullptr; }

 private:
  std::vector<Arg> args_;
  std::size_t index_ = 0;
};

bool hasFlag(const Conversion& conv, char flag) { return conv.flags.find(flag) != std::string::npos; }

long long asSigned(const Arg& arg) {
  switch (arg.kind) {
    case Arg::Kind::Signed:
      return arg.signedValue;
    case Arg::Kind::Unsigned:
      return static_cast<long long>(arg.unsignedValue);
    case Arg::Kind::Floating:
      return static_cast<long long>(arg.floatingValue);
    default:
      return 0;
  }
}

unsigned long long asUnsigned(const Arg& arg) {
  return arg.kind == Arg::Kind::Unsigned ? arg.unsignedValue : static_cast<unsigned long long>(asSigned(arg));
}

bool isNumber(const Arg& arg) { return arg.kind != Arg::Kind::Text && arg.kind != Arg::Kind::Pointer; }

// The value cut to the width its length modifier names, as printf reads it.
long long cutSigned(long long v, const std::string& length) {
  if (length == "hh") return static_cast<signed char>(v);
  if (length == "h") return static_cast<short>(v);
  if (length.empty()) return static_cast<int>(v);
  return v;
}

unsigned long long cutUnsigned(unsigned long long v, const std::string& length) {
  if (length == "hh") return static_cast<unsigned char>(v);
  if (length == "h") return static_cast<unsigned short>(v);
  if (length.empty()) return static_cast<unsigned int>(v);
  return v;
}

template <typename T>
void appendPrintf(std::string& out, const std::string& fmt, T value) {
  const int n = std::snprintf(nullptr, 0, fmt.c_str(), value);
  if (n <= 0) return;
  std::string piece(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(piece.data(), piece.size(), fmt.c_str(), value);
  piece.resize(static_cast<std::size_t>(n));
  out += piece;
}

std::string printfFormat(const Conversion& conv, const char* lengthModifier) {
  std::string f = "%" + conv.flags;
  if (conv.width >= 0) f += std::to_string(conv.width);
  if (conv.precision >= 0) f += "." + std::to_string(conv.precision);
  return f + lengthModifier + conv.conversion;
}

void appendText(std::string& out, const Conversion& conv, const Arg& arg) {
  std::size_t n = 0;
  if (arg.text != nullptr) {
    const void* end = std::memchr(arg.text, '\0', arg.textLength);
    n = end ? static_cast<std::size_t>(static_cast<const char*>(end) - arg.text) : arg.textLength;
  }
  if (conv.precision >= 0 && static_cast<std::size_t>(conv.precision) < n) n = conv.precision;
  const std::size_t width = conv.width > 0 ? static_cast<std::size_t>(conv.width) : 0;
  const std::size_t pad = width > n ? width - n : 0;
  const bool left = hasFlag(conv, '-');
  const char padChar = (!left && hasFlag(conv, '0')) ? '0' : ' ';
  if (!left) out.append(pad, padChar);
  if (arg.text != nullptr) out.append(arg.text, n);
  if (left) out.append(pad, ' ');
}

void appendConversion(std::string& out, const Conversion& conv, const Arg* arg) {
  if (arg == nullptr) return;
  switch (conv.conversion) {
    case 'd':
    case 'i':
      if (isNumber(*arg)) appendPrintf(out, printfFormat(conv, "ll"), cutSigned(asSigned(*arg), conv.length));
      break;
    case 'u':
    case 'o':
    case 'x':
    case 'X':
      if (isNumber(*arg)) appendPrintf(out, printfFormat(conv, "ll"), cutUnsigned(asUnsigned(*arg), conv.length));
      break;
    case 'c':
      if (isNumber(*arg))
        appendPrintf(out, printfFormat(conv, ""), static_cast<int>(static_cast<unsigned char>(asSigned(*arg))));
      break;
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
      if (isNumber(*arg)) {
        const double v = arg->kind == Arg::Kind::Floating ? arg->floatingValue
                         : arg->kind == Arg::Kind::Signed ? static_cast<double>(arg->signedValue)
                                                          : static_cast<double>(arg->unsignedValue);
        appendPrintf(out, printfFormat(conv, ""), v);
      }
      break;
    case 's':
      if (arg->kind == Arg::Kind::Text || (arg->kind == Arg::Kind::Pointer && arg->pointer == nullptr)) {
        appendText(out, conv, *arg);
      }
      break;
    case 'p':
      if (arg->kind == Arg::Kind::Pointer || arg->kind == Arg::Kind::Text) {
        appendPrintf(out, printfFormat(conv, ""),
                     arg->kind == Arg::Kind::Text ? static_cast<const void*>(arg->text) : arg->pointer);
      }
      break;
    default:  // %n and unknown conversions write nothing
      break;
  }
}

// Widths and precisions beyond any text this system formats are cut here, so a bad format cannot ask
// for gigabytes.
constexpr long long kMaxWidth = 100000;

// Reads "*" (taking an argument) or a run of digits into `n`; false when neither is there.
bool readNumber(std::string_view fmt, std::size_t& i, ArgList& args, long long& n) {
  if (i < fmt.size() && fmt[i] == '*') {
    ++i;
    const Arg* arg = args.next();
    n = arg && isNumber(*arg) ? asSigned(*arg) : 0;
    n = n < -kMaxWidth ? -kMaxWidth : (n > kMaxWidth ? kMaxWidth : n);
    return true;
  }
  if (i >= fmt.size() || !std::isdigit(static_cast<unsigned char>(fmt[i]))) return false;
  n = 0;
  while (i < fmt.size() && std::isdigit(static_cast<unsigned char>(fmt[i]))) {
    if (n < kMaxWidth) n = n * 10 + (fmt[i] - '0');
    ++i;
  }
  if (n > kMaxWidth) n = kMaxWidth;
  return true;
}

bool isIn(char c, const char* set) { return c != '\0' && std::strchr(set, c) != nullptr; }

}  // namespace

std::string format(std::string_view fmt, std::initializer_list<Arg> argList) {
  ArgList args(argList);
  std::string out;
  out.reserve(2 * fmt.size() + 50);
  for (std::size_t i = 0; i < fmt.size();) {
    if (fmt[i] != '%') {
      out += fmt[i++];
      continue;
    }
    const std::size_t start = i++;
    if (i < fmt.size() && fmt[i] == '%') {
      out += '%';
      ++i;
      continue;
    }
    Conversion conv;
    while (i < fmt.size() && isIn(fmt[i], "-+ #0")) conv.flags += fmt[i++];
    long long number = 0;
    if (readNumber(fmt, i, args, number)) {
      if (number < 0) conv.flags += '-';  // a negative width from "*" means left-justified
      conv.width = static_cast<int>(number < 0 ? -number : number);
    }
    if (i < fmt.size() && fmt[i] == '.') {
      ++i;
      conv.precision = 0;
      if (readNumber(fmt, i, args, number)) conv.precision = number < 0 ? -1 : static_cast<int>(number);
    }
    while (i < fmt.size() && isIn(fmt[i], "hlLqjzt")) conv.length += fmt[i++];
    if (i >= fmt.size() || !isIn(fmt[i], "diuoxXcfFeEgGaAspn")) {
      // not a conversion: the text stays as written
      out.append(fmt.substr(start, i - start));
      continue;
    }
    conv.conversion = fmt[i++];
    appendConversion(out, conv, args.next());
  }
  return out;
}

}  // namespace string_format_detail
