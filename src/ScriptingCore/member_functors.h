#pragma once
// The functors an automatic scripting object keeps per method and per property.

#include <vector>

#include <boost/function.hpp>

#include "variant.h"

namespace PF {

typedef boost::function<variant(const std::vector<variant>&)> CallMethodFunctor;
typedef boost::function<variant()> GetPropFunctor;
typedef boost::function<void(const variant&)> SetPropFunctor;

struct MethodFunctors {
  MethodFunctors() {}
  explicit MethodFunctors(const CallMethodFunctor& c) : call(c) {}
  CallMethodFunctor call;
};

struct PropertyFunctors {
  PropertyFunctors() {}
  PropertyFunctors(const GetPropFunctor& g, const SetPropFunctor& s) : get(g), set(s) {}
  GetPropFunctor get;
  SetPropFunctor set;
};

}  // namespace PF
