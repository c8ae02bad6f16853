#pragma once
// What a typed address means, as a browser's address box reads it.
#include <string>
#include <string_view>

namespace Brovis::Engine {

// An address with a scheme stays as it is; one without ("example.org/x", "localhost:8080")
// loads as http. Surrounding white space is dropped.
std::string NormalizeAddress(std::string_view typed);

}  // namespace Brovis::Engine
