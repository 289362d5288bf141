#pragma once
// Conversion of page values to the parameter types of plug-in members, with the page-facing errors.

#include <string>
#include <type_traits>
#include <vector>

#include "script_error.h"
#include "variant.h"

namespace PF {
namespace detail {

inline std::string conversionMessage(const bad_variant_cast& e) {
  return std::string("Invalid argument conversion ") + "from " + e.from + " to " + e.to;
}

template <class T, class V>
struct converter;

template <class T>
struct converter<T, variant> {
  // Property values: no argument position is known.
  static T convert(const variant& value) {
    try {
      return value.convert_cast<T>();
    } catch (const bad_variant_cast& e) {
      throw invalid_arguments(conversionMessage(e));
    }
  }
  // Method arguments: index counts from 1.
  static T convert(const variant& value, size_t index) {
    try {
      return value.convert_cast<T>();
    } catch (const bad_variant_cast& e) {
      throw invalid_arguments(conversionMessage(e) + " at index " + std::to_string(index));
    }
  }
};

template <>
struct converter<variant, variant> {
  static variant convert(const variant& value) { return value; }
  static variant convert(const variant& value, size_t) { return value; }
};

}  // namespace detail

// The index-th argument (counting from 1) converted to T; missing is an error.
template <class T>
T convertArgumentSoft(const std::vector<variant>& arguments, size_t index) {
  if (arguments.size() >= index) return detail::converter<T, variant>::convert(arguments[index - 1], index);
  throw invalid_arguments("Error: Argument " + std::to_string(index) + "is not optional.");
}

namespace detail {
namespace methods {

// The last parameter: one argument too many is an error; a missing variant parameter arrives empty.
template <class T>
T convertLastArgument(const std::vector<variant>& arguments, size_t index) {
  if (arguments.size() > index) throw invalid_arguments("Too many arguments, expected " + std::to_string(index) + ".");
  if constexpr (std::is_same<T, variant>::value) {
    if (arguments.size() < index) return variant();
  }
  return convertArgumentSoft<T>(arguments, index);
}

}  // namespace methods
}  // namespace detail
}  // namespace PF
