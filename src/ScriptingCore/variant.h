#pragma once
// PF::variant: the one dynamically typed value of the scripting bridge. It owns a copy of one value
// of a run-time type together with that type's ordering function.

#include <cstring>
#include <map>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

#include <boost/any.hpp>
#include <boost/logic/tribool.hpp>
#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include "script_error.h"

namespace PF {

class JSAPI;
class JSObject;
class variant;

typedef std::map<std::string, variant> VariantMap;
typedef std::vector<variant> VariantList;

namespace variant_detail {

// Explicit empty marker: a read of a member that does not exist.
struct empty {};
// The page's null.
struct null {};

typedef bool (*lessthan_fn)(const boost::any&, const boost::any&);

template <class T, class = void>
struct has_less : std::false_type {};
template <class T>
struct has_less<T, decltype(void(std::declval<const T&>() < std::declval<const T&>()))> : std::true_type {};

// Orders two held values of the same type T. Types without an order are all equivalent. Shared and
// weak references order by ownership (their operator< compares owners), so two references to one
// object are equivalent.
template <class T, class Enable = void>
struct lessthan {
  static bool impl(const boost::any&, const boost::any&) { return false; }
};

template <class T>
struct lessthan<T, typename std::enable_if<has_less<T>::value>::type> {
  static bool impl(const boost::any& l, const boost::any& r) {
    return *boost::any_cast<T>(&l) < *boost::any_cast<T>(&r);
  }
};

// Selects the conversion rule of convert_cast by overload.
template <class T>
struct type_spec {};

namespace conversion {

// What a variant stores for one value: the holder and its ordering function, installed together.
struct stored {
  boost::any value;
  lessthan_fn less;
};

template <class T>
stored store_as(const T& x) {
  return stored{boost::any(x), &lessthan<T>::impl};
}

inline stored make_variant(const char* x) { return store_as(std::string(x ? x : "")); }
inline stored make_variant(const wchar_t* x) { return store_as(std::wstring(x ? x : L"")); }
// A writable character pointer is text too: storing the pointer would leave it dangling once the
// caller's buffer goes.
inline stored make_variant(char* x) { return make_variant(static_cast<const char*>(x)); }
inline stored make_variant(wchar_t* x) { return make_variant(static_cast<const wchar_t*>(x)); }
inline stored make_variant(const boost::logic::tribool& x) { return store_as(bool(x == true)); }

// Shared references to scripting objects are stored in one of two forms, chosen by the static
// type of the reference; a null reference stores the null marker.
template <class X>
stored make_variant(const boost::shared_ptr<X>& x) {
  if constexpr (std::is_base_of<JSObject, X>::value) {
    if (!x) return store_as(null());
    return store_as(boost::shared_ptr<JSObject>(x));
  } else if constexpr (std::is_base_of<JSAPI, X>::value) {
    if (!x) return store_as(null());
    return store_as(boost::shared_ptr<JSAPI>(x));
  } else {
    return store_as(x);
  }
}

template <class T>
stored make_variant(const T& x) {
  return store_as(x);
}

}  // namespace conversion
}  // namespace variant_detail

namespace variant_detail {
namespace conversion {
// The converting extractions, one per supported target (see variant_conversions.cpp).
const variant& convert_variant(const variant& v, type_spec<variant>);
void convert_variant(const variant& v, type_spec<void>);
null convert_variant(const variant& v, type_spec<null>);
empty convert_variant(const variant& v, type_spec<empty>);
std::string convert_variant(const variant& v, type_spec<std::string>);
std::wstring convert_variant(const variant& v, type_spec<std::wstring>);
bool convert_variant(const variant& v, type_spec<bool>);
boost::logic::tribool convert_variant(const variant& v, type_spec<boost::logic::tribool>);
long convert_variant(const variant& v, type_spec<long>);
int convert_variant(const variant& v, type_spec<int>);
unsigned int convert_variant(const variant& v, type_spec<unsigned int>);
double convert_variant(const variant& v, type_spec<double>);
boost::shared_ptr<JSObject> convert_variant(const variant& v, type_spec<boost::shared_ptr<JSObject> >);
boost::shared_ptr<JSAPI> convert_variant(const variant& v, type_spec<boost::shared_ptr<JSAPI> >);
std::vector<variant> convert_variant(const variant& v, type_spec<std::vector<variant> >);
std::vector<boost::shared_ptr<JSObject> > convert_variant(const variant& v,
                                                          type_spec<std::vector<boost::shared_ptr<JSObject> > >);
VariantMap convert_variant(const variant& v, type_spec<VariantMap>);
}  // namespace conversion
}  // namespace variant_detail

class variant {
 public:
  variant() : m_less(&lessthan_default) {}

  template <class T>
  variant(const T& x) : m_less(&lessthan_default) {
    assign(x);
  }

  variant(const variant& other) : m_value(other.m_value), m_less(other.m_less) {}

  variant& operator=(const variant& other) {
    boost::any copy(other.m_value);
    m_value.swap(copy);
    m_less = other.m_less;
    return *this;
  }

  template <class T>
  variant& operator=(const T& x) {
    return assign(x);
  }

  // Replaces the content; the previous holder is freed only after the new one is in place.
  template <class T>
  variant& assign(const T& x) {
    variant_detail::conversion::stored s = variant_detail::conversion::make_variant(x);
    m_value.swap(s.value);
    m_less = s.less;
    return *this;
  }

  // The held type; that of void when nothing is held.
  const std::type_info& get_type() const { return m_value.type(); }

  template <class T>
  bool is_of_type() const {
    return get_type() == typeid(T);
  }

  // No held value, or the explicit empty marker.
  bool empty() const { return m_value.empty() || is_of_type<variant_detail::empty>(); }
  bool is_empty() const { return empty(); }
  bool is_null() const { return is_of_type<variant_detail::null>(); }

  void reset() {
    m_value = boost::any();
    m_less = &lessthan_default;
  }

  // Overwrites held text in place (see wipe_text.h) before the value goes; other values stay as they are.
  void wipe_text();

  // Exact extraction: only the held type itself, never a conversion.
  template <class T>
  T cast() const {
    typedef typename std::remove_cv<T>::type plain;
    if (get_type() != typeid(plain)) throw bad_variant_cast(get_type(), typeid(plain));
    return *boost::any_cast<plain>(&m_value);
  }

  // Converting extraction (numbers from text, truth words, text from numbers, lists and maps from
  // page objects); bad_variant_cast on failure. The variant itself never changes.
  template <class T>
  T convert_cast() const {
    return variant_detail::conversion::convert_variant(*this, variant_detail::type_spec<T>());
  }

  template <class T>
  bool can_be_type() const {
    typedef typename std::remove_cv<T>::type plain;
    if (get_type() == typeid(plain)) return true;
    try {
      convert_cast<plain>();
      return true;
    } catch (...) {
      return false;
    }
  }

  bool operator<(const variant& rhs) const {
    if (get_type() != rhs.get_type()) return std::strcmp(get_type().name(), rhs.get_type().name()) < 0;
    return m_less(m_value, rhs.m_value);
  }

  static bool lessthan_default(const boost::any&, const boost::any&) { return false; }

 private:
  boost::any m_value;
  variant_detail::lessthan_fn m_less;
};

inline bool operator>(const variant& a, const variant& b) { return b < a; }

}  // namespace PF
