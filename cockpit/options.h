#pragma once
// The cockpit's command line.
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace Cockpit {

struct Options {
  std::string module;  // empty: the module built beside the program
  int width = 256;     // of display 1, opened at the start
  int height = 256;
  int refreshMilliseconds = 100;
  std::string outDir = ".";
  std::optional<std::string> script;  // a file, "-" for standard input, none for no commands
  bool offline = false;
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

constexpr char kUsage[] =
    "usage: brovis-cockpit [--module PATH] [--size WxH] [--refresh MS] [--out DIR] [--offline] "
    "[SCRIPT]";

// Throws UsageError.
Options ParseOptions(const std::vector<std::string>& args);

}  // namespace Cockpit
