#pragma once
// Turns a member function with typed parameters and result into a method functor over the page's
// argument list: counts and converts the arguments, calls the member, wraps the result.

#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include <boost/bind/bind.hpp>

#include "argument_conversion.h"
#include "member_functors.h"

namespace PF {
namespace detail {
namespace methods {

// Argument I (from 0) of N: the last one goes through convertLastArgument, the others through
// convertArgumentSoft. Positions in messages count from 1.
template <class T, std::size_t I, std::size_t N>
typename std::decay<T>::type convertArgumentAt(const std::vector<variant>& in) {
  typedef typename std::decay<T>::type plain;
  if constexpr (I + 1 == N)
    return convertLastArgument<plain>(in, N);
  else
    return convertArgumentSoft<plain>(in, I + 1);
}

// Calls the member and wraps its result; a void member gives an empty value.
template <class R, class Call>
variant wrapResult(Call&& call) {
  if constexpr (std::is_void<R>::value) {
    call();
    return variant();
  } else {
    return variant(call());
  }
}

template <class C, class F, class R, class... Args>
class method_wrapper {
 public:
  typedef variant result_type;
  explicit method_wrapper(F f) : m_f(f) {}

  variant operator()(C* instance, const std::vector<variant>& in) const {
    return call(instance, in, std::index_sequence_for<Args...>());
  }

 private:
  template <std::size_t... I>
  variant call(C* instance, const std::vector<variant>& in, std::index_sequence<I...>) const {
    // A braced list converts the arguments strictly from first to last.
    std::tuple<typename std::decay<Args>::type...> converted{convertArgumentAt<Args, I, sizeof...(Args)>(in)...};
    return wrapResult<R>([&]() -> R { return (instance->*m_f)(std::get<I>(converted)...); });
  }

  F m_f;
};

// Without parameters the argument list is not looked at: extra arguments are ignored.
template <class C, class F, class R>
class method_wrapper<C, F, R> {
 public:
  typedef variant result_type;
  explicit method_wrapper(F f) : m_f(f) {}
  variant operator()(C* instance, const std::vector<variant>&) const {
    return wrapResult<R>([&]() -> R { return (instance->*m_f)(); });
  }

 private:
  F m_f;
};

template <class C, class R, class F = R (C::*)()>
using method_wrapper0 = method_wrapper<C, F, R>;
template <class C, class R, class T1, class F = R (C::*)(T1)>
using method_wrapper1 = method_wrapper<C, F, R, T1>;
template <class C, class R, class T1, class T2, class F = R (C::*)(T1, T2)>
using method_wrapper2 = method_wrapper<C, F, R, T1, T2>;

}  // namespace methods
}  // namespace detail

// make_method(this, &Class::member): the functor to pass to JSAPIAuto::registerMethod. The object
// pointer is not counted: the registry that holds the functor lives inside the same object.
template <class C, class M, class R, class... Args>
CallMethodFunctor make_method(C* instance, R (M::*function)(Args...)) {
  typedef detail::methods::method_wrapper<M, R (M::*)(Args...), R, Args...> wrapper;
  return boost::bind(wrapper(function), static_cast<M*>(instance), boost::placeholders::_1);
}

template <class C, class M, class R, class... Args>
CallMethodFunctor make_method(C* instance, R (M::*function)(Args...) const) {
  typedef detail::methods::method_wrapper<M, R (M::*)(Args...) const, R, Args...> wrapper;
  return boost::bind(wrapper(function), static_cast<M*>(instance), boost::placeholders::_1);
}

}  // namespace PF
