// The converting extractions of PF::variant: text, truth values, range-checked numbers, objects,
// lists and maps.

#include <cmath>
#include <limits>
#include <locale>
#include <sstream>
#include <type_traits>

#include <boost/pointer_cast.hpp>

#include "JSObject.h"
#include "utf8_tools.h"
#include "variant.h"

namespace PF {
namespace variant_detail {
namespace conversion {

namespace {

template <class T>
[[noreturn]] void fail(const variant& v) {
  throw bad_variant_cast(v.get_type(), typeid(T));
}

template <class... Ts>
struct type_list {};

// Calls f(value) with the held value when its type is one of Ts; answers whether it was.
template <class F>
bool visit_held(const variant&, type_list<>, F&&) {
  return false;
}

template <class F, class T, class... Rest>
bool visit_held(const variant& v, type_list<T, Rest...>, F&& f) {
  if (v.is_of_type<T>()) {
    f(v.cast<T>());
    return true;
  }
  return visit_held(v, type_list<Rest...>(), std::forward<F>(f));
}

typedef type_list<char, unsigned char, short, unsigned short, int, unsigned int, long, unsigned long, long long,
                  unsigned long long>
    integer_types;
typedef type_list<float, double> floating_types;

// Whether the integer value fits the integer type T, without signed/unsigned pitfalls.
template <class T, class S>
bool integer_fits(S value) {
  if constexpr (std::is_signed<S>::value) {
    if (value < 0)
      return std::is_signed<T>::value &&
             static_cast<long long>(value) >= static_cast<long long>(std::numeric_limits<T>::lowest());
  }
  return static_cast<unsigned long long>(value) <= static_cast<unsigned long long>(std::numeric_limits<T>::max());
}

// A floating value converts to the integer type T when it lies strictly between T's lowest value
// minus one and its highest value plus one, computed in the source type; NaN and infinities never do.
template <class T, class F>
bool floating_fits(F value) {
  const F below = static_cast<F>(std::numeric_limits<T>::lowest()) - F(1);
  const F above = static_cast<F>(std::numeric_limits<T>::max()) + F(1);
  return value > below && value < above;
}

std::string lower_ascii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool is_true_word(const std::string& lowered) {
  return lowered == "y" || lowered == "1" || lowered == "yes" || lowered == "true" || lowered == "t";
}

// Formatted extraction of one T from the start of the text; the rest of the text is ignored.
template <class T>
T parse_number(const variant& v, const std::string& text) {
  std::istringstream in(text);
  in.imbue(std::locale::classic());
  if constexpr (std::is_unsigned<T>::value) {
    // The stream would wrap "-1" around to the highest value.
    in >> std::ws;
    if (in.peek() == '-') fail<T>(v);
  }
  T value;
  in >> value;
  if (in.fail() || in.bad()) fail<T>(v);
  return value;
}

template <class T>
T to_number(const variant& v) {
  if (v.is_of_type<T>()) return v.cast<T>();

  T result = T();
  bool done = visit_held(v, integer_types(), [&](auto value) {
    if constexpr (std::is_floating_point<T>::value) {
      result = static_cast<T>(value);
    } else {
      if (!integer_fits<T>(value)) fail<T>(v);
      result = static_cast<T>(value);
    }
  });
  if (!done)
    done = visit_held(v, floating_types(), [&](auto value) {
      if constexpr (std::is_floating_point<T>::value) {
        result = static_cast<T>(value);
      } else {
        if (!floating_fits<T>(value)) fail<T>(v);
        result = static_cast<T>(value);
      }
    });
  if (done) return result;
  if (v.is_of_type<bool>()) return v.cast<bool>() ? T(1) : T(0);
  if (v.is_of_type<std::string>()) return parse_number<T>(v, v.cast<std::string>());
  if (v.is_of_type<std::wstring>()) return parse_number<T>(v, wstring_to_utf8(v.cast<std::wstring>()));
  fail<T>(v);
}

// Object rules: a browser object that wraps one of the plug-in's own objects stands for that object.
template <class T>
boost::shared_ptr<T> to_object(const variant& v) {
  JSAPIPtr object;
  if (v.is_of_type<JSObjectPtr>())
    object = v.cast<JSObjectPtr>();
  else if (v.is_of_type<JSAPIWeakPtr>())
    object = v.cast<JSAPIWeakPtr>().lock();
  else if (v.empty() || v.is_null())
    return boost::shared_ptr<T>();
  else
    object = v.cast<JSAPIPtr>();

  if (!object) return boost::shared_ptr<T>();
  if (JSObjectPtr browserObject = boost::dynamic_pointer_cast<JSObject>(object)) {
    if (boost::shared_ptr<T> inner = boost::dynamic_pointer_cast<T>(browserObject->getJSAPI())) return inner;
  }
  if (boost::shared_ptr<T> same = boost::dynamic_pointer_cast<T>(object)) return same;
  throw bad_variant_cast(v.get_type(), typeid(T));
}

template <class Cont, class Fill>
Cont to_container(const variant& v, Fill fill) {
  if (v.is_of_type<Cont>()) return v.cast<Cont>();
  if (!v.can_be_type<JSObjectPtr>()) fail<JSObjectPtr>(v);
  Cont out;
  fill(to_object<JSObject>(v), out);
  return out;
}

}  // namespace

const variant& convert_variant(const variant& v, type_spec<variant>) { return v; }

void convert_variant(const variant&, type_spec<void>) {}

null convert_variant(const variant&, type_spec<null>) { return null(); }

empty convert_variant(const variant&, type_spec<empty>) { return empty(); }

std::string convert_variant(const variant& v, type_spec<std::string>) {
  if (v.is_of_type<std::string>()) return v.cast<std::string>();
  if (v.is_of_type<char>()) return std::string(1, v.cast<char>());
  if (v.is_of_type<unsigned char>()) return std::string(1, static_cast<char>(v.cast<unsigned char>()));
  if (v.is_of_type<bool>()) return v.cast<bool>() ? "true" : "false";
  if (v.is_of_type<std::wstring>()) return wstring_to_utf8(v.cast<std::wstring>());

  std::ostringstream out;
  out.imbue(std::locale::classic());
  typedef type_list<double, float, int, unsigned int, long, unsigned long, short, unsigned short, long long,
                    unsigned long long>
      streamed;
  if (!visit_held(v, streamed(), [&](auto value) { out << value; }) || out.fail()) fail<std::string>(v);
  return out.str();
}

std::wstring convert_variant(const variant& v, type_spec<std::wstring>) {
  if (v.is_of_type<std::wstring>()) return v.cast<std::wstring>();
  try {
    return utf8_to_wstring(convert_variant(v, type_spec<std::string>()));
  } catch (const bad_variant_cast&) {
    fail<std::wstring>(v);
  }
}

bool convert_variant(const variant& v, type_spec<bool>) {
  if (v.is_of_type<bool>()) return v.cast<bool>();
  if (v.is_of_type<std::string>()) return is_true_word(lower_ascii(v.cast<std::string>()));
  if (v.is_of_type<std::wstring>()) {
    // Only ASCII letters can take part in a match, so other elements need no lower-casing.
    const std::wstring wide = v.cast<std::wstring>();
    std::string narrow;
    for (wchar_t c : wide) narrow.push_back(c >= 0 && c < 0x80 ? static_cast<char>(c) : '\x80');
    return is_true_word(lower_ascii(narrow));
  }
  return to_number<long>(v) != 0;
}

boost::logic::tribool convert_variant(const variant& v, type_spec<boost::logic::tribool>) {
  if (v.empty() || v.is_null()) return boost::logic::indeterminate;
  return convert_variant(v, type_spec<bool>());
}

long convert_variant(const variant& v, type_spec<long>) { return to_number<long>(v); }
int convert_variant(const variant& v, type_spec<int>) { return to_number<int>(v); }
unsigned int convert_variant(const variant& v, type_spec<unsigned int>) { return to_number<unsigned int>(v); }
double convert_variant(const variant& v, type_spec<double>) { return to_number<double>(v); }

JSObjectPtr convert_variant(const variant& v, type_spec<JSObjectPtr>) { return to_object<JSObject>(v); }
JSAPIPtr convert_variant(const variant& v, type_spec<JSAPIPtr>) { return to_object<JSAPI>(v); }

std::vector<variant> convert_variant(const variant& v, type_spec<std::vector<variant> >) {
  return to_container<std::vector<variant> >(
      v, [](const JSObjectPtr& src, std::vector<variant>& dst) { JSObject::GetArrayValues(src, dst); });
}

std::vector<JSObjectPtr> convert_variant(const variant& v, type_spec<std::vector<JSObjectPtr> >) {
  return to_container<std::vector<JSObjectPtr> >(
      v, [](const JSObjectPtr& src, std::vector<JSObjectPtr>& dst) { JSObject::GetArrayValues(src, dst); });
}

VariantMap convert_variant(const variant& v, type_spec<VariantMap>) {
  return to_container<VariantMap>(v,
                                  [](const JSObjectPtr& src, VariantMap& dst) { JSObject::GetObjectValues(src, dst); });
}

}  // namespace conversion
}  // namespace variant_detail
}  // namespace PF
