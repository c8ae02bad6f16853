#pragma once
// The protocol's JSON, and the one way its fields are read: a field that is missing, or of
// another type than the one asked for, reads as the fallback, so that nothing the browser sends
// can throw.
#include <concepts>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <utility>

namespace Brovis::Engine {

using Json = nlohmann::json;

// Field `key` of `object` when it has the type of `fallback` (an integer also has to fit in it),
// else `fallback`. An `object` that is no object has no fields.
template <class T>
T Field(const Json& object, std::string_view key, T fallback) {
  if (!object.is_object()) return fallback;
  const auto it = object.find(key);
  if (it == object.end()) return fallback;
  const Json& value = *it;
  if constexpr (std::same_as<T, bool>) {
    return value.is_boolean() ? value.get<bool>() : fallback;
  } else if constexpr (std::integral<T>) {
    if (value.is_number_unsigned()) {
      const auto n = value.get<std::uint64_t>();
      return std::in_range<T>(n) ? static_cast<T>(n) : fallback;
    }
    if (value.is_number_integer()) {
      const auto n = value.get<std::int64_t>();
      return std::in_range<T>(n) ? static_cast<T>(n) : fallback;
    }
    return fallback;
  } else if constexpr (std::floating_point<T>) {
    return value.is_number() ? value.get<T>() : fallback;
  } else if constexpr (std::same_as<T, std::string>) {
    return value.is_string() ? value.get_ref<const std::string&>() : fallback;
  } else {
    static_assert(std::same_as<T, Json>, "a field is read as a bool, a number, text or JSON");
    return value.type() == fallback.type() ? value : fallback;
  }
}

inline std::string Field(const Json& object, std::string_view key, const char* fallback) {
  return Field(object, key, std::string(fallback));
}

}  // namespace Brovis::Engine
