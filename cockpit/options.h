#pragma once
// The cockpit's command line.
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace Cockpit {

struct Options {
  std::string module;  // empty: the module installed or built with the program
  int width = 256;     // of display 1, opened at the start
  int height = 256;
  int refreshMilliseconds = 100;
  std::string outDir = ".";
  std::optional<std::string> script;  // a file, "-" for standard input, none for no commands
  bool offline = false;
  bool window = false;  // fly it in a desktop window instead of running a script
  int displays = 1;     // in the window, side by side
  bool demo = false;    // play the bundled tour, offline
  // The text that --help or --version asks for: printed instead of running anything.
  std::optional<std::string> answer;
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

constexpr char kUsage[] =
    "usage: brovis-cockpit [OPTIONS] [SCRIPT]\n"
    "brovis-cockpit --help lists the options";

// Throws UsageError.
Options ParseOptions(const std::vector<std::string>& args);

}  // namespace Cockpit
