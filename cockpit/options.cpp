#include "cockpit/options.h"

#include <CLI/CLI.hpp>
#include <climits>
#include <memory>
#include <tuple>

#include "cockpit/script.h"

namespace Cockpit {

namespace {

// One line an option in the help: its name and the name of its value, then what it does. The
// descriptions say the limits and which options go together.
class OneLineHelp : public CLI::Formatter {
 public:
  OneLineHelp() {
    label("Usage", "usage");
    column_width(18);
  }
  std::string make_option_opts(const CLI::Option* option) const override {
    if (option->get_type_size() == 0 || option->get_type_name().empty()) return {};
    return " " + option->get_type_name();
  }
};

// Only the value's name in the help: what a validator checks is in the option's description.
CLI::Validator Quiet(CLI::Validator validator) { return validator.description(""); }

}  // namespace

Options ParseOptions(const std::vector<std::string>& args) {
  Options options;
  CLI::App app(
      "Plays the simulator for the Brovis module: loads it, opens displays in its mode and plays\n"
      "the pilot from SCRIPT, one command a line (- for standard input), or in a window.",
      "brovis-cockpit");
  app.formatter(std::make_shared<OneLineHelp>());
  app.set_help_flag("--help", "Print this list of options and exit");
  app.set_version_flag("--version", "brovis-cockpit " BROVIS_VERSION, "Print the version and exit");

  std::string script;
  std::string size;
  app.add_option("--module", options.module,
                 "The module to load (default: the one installed with this program)")
      ->type_name("PATH");
  app.add_option("--size", size, "Size of display 1, opened at the start (default 256x256)")
      ->type_name("WxH")
      ->check(Quiet(CLI::Validator(
          [](std::string& text) {
            return ParseSize(text) ? std::string() : "must be WxH, not '" + text + "'";
          },
          "")));
  app.add_option("--refresh", options.refreshMilliseconds,
                 "Milliseconds from one redraw to the next, from 1 (default 100)")
      ->type_name("MS")
      ->check(Quiet(CLI::Range(1, INT_MAX)));
  app.add_option("--out", options.outDir, "Folder for the snapshots (default: the current one)")
      ->type_name("DIR");
  app.add_flag("--offline", options.offline, "Keep every page but those on this machine away");
  auto* window = app.add_flag("--window", options.window, "Fly the displays in a desktop window");
  app.add_option("--displays", options.displays,
                 "Displays side by side in the window, 1 to " + std::to_string(kDisplayCount) +
                     " (default 1)")
      ->type_name("N")
      ->check(Quiet(CLI::Range(1, kDisplayCount)))
      ->needs(window);
  auto* demo = app.add_flag("--demo", options.demo, "Play the bundled tour over its pages, offline")
                   ->excludes(window);
  app.add_option("SCRIPT", script, "The pilot's commands; none with --window or --demo")
      ->type_name("")
      ->excludes(window)
      ->excludes(demo);

  // CLI11 takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::CallForHelp&) {
    options.answer = app.help();
    return options;
  } catch (const CLI::CallForVersion& e) {
    options.answer = std::string(e.what()) + "\n";
    return options;
  } catch (const CLI::ParseError& e) {
    throw UsageError(e.what());
  }
  if (app.count("SCRIPT")) options.script = script;
  if (!size.empty()) std::tie(options.width, options.height) = *ParseSize(size);
  if (options.demo) options.offline = true;
  return options;
}

}  // namespace Cockpit
