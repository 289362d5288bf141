#pragma once
// Builds the getter and setter functors of a property from member functions.

#include <type_traits>

#include <boost/bind/bind.hpp>

#include "argument_conversion.h"
#include "member_functors.h"
#include "wipe_text.h"

namespace PF {
namespace detail {
namespace properties {

// The setter of every read-only property: a write is accepted and changes nothing.
inline void dummySetter(const variant&) {}

template <class C, class F, class T>
struct setter_call {
  typedef void result_type;
  C* instance;
  F function;
  void operator()(const variant& value) const {
    // A refused conversion throws before the member runs.
    T converted = converter<T, variant>::convert(value);
    // A text may be a secret (a PIN): the converted copy is wiped whichever way the member ends.
    const wipe_text_at_exit<T> wipeConverted{converted};
    (instance->*function)(converted);
  }
};

template <class C, class F>
struct getter_call {
  typedef variant result_type;
  C* instance;
  F function;
  variant operator()() const { return variant((instance->*function)()); }
};

}  // namespace properties
}  // namespace detail

template <class C, class M, class R>
GetPropFunctor make_getter(C* instance, R (M::*getter)()) {
  return detail::properties::getter_call<M, R (M::*)()>{static_cast<M*>(instance), getter};
}

template <class C, class M, class R>
GetPropFunctor make_getter(C* instance, R (M::*getter)() const) {
  return detail::properties::getter_call<M, R (M::*)() const>{static_cast<M*>(instance), getter};
}

template <class C, class M, class T>
SetPropFunctor make_setter(C* instance, void (M::*setter)(T)) {
  typedef typename std::decay<T>::type plain;
  return detail::properties::setter_call<M, void (M::*)(T), plain>{static_cast<M*>(instance), setter};
}

// A read/write property: make_property(this, &Class::getX, &Class::setX).
template <class C, class G, class S>
PropertyFunctors make_property(C* instance, G getter, S setter) {
  return PropertyFunctors(make_getter(instance, getter), make_setter(instance, setter));
}

// A read-only property: writes are accepted and ignored.
template <class C, class G>
PropertyFunctors make_property(C* instance, G getter) {
  return PropertyFunctors(make_getter(instance, getter), &detail::properties::dummySetter);
}

}  // namespace PF
