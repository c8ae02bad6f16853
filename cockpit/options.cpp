#include "cockpit/options.h"

#include <charconv>

#include "cockpit/script.h"

namespace Cockpit {

Options ParseOptions(const std::vector<std::string>& args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
      return args[++i];
    };
    if (arg == "--module") {
      options.module = value();
    } else if (arg == "--size") {
      const std::string& text = value();
      const auto size = ParseSize(text);
      if (!size) throw UsageError("--size must be WxH, not '" + text + "'");
      options.width = size->first;
      options.height = size->second;
    } else if (arg == "--refresh") {
      const std::string& text = value();
      int ms = 0;
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), ms);
      if (error != std::errc{} || end != text.data() + text.size() || ms < 1)
        throw UsageError("--refresh must be a number of milliseconds from 1, not '" + text + "'");
      options.refreshMilliseconds = ms;
    } else if (arg == "--out") {
      options.outDir = value();
    } else if (arg == "--offline") {
      options.offline = true;
    } else if (arg == "--window") {
      options.window = true;
    } else if (arg == "--displays") {
      const std::string& text = value();
      int count = 0;
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
      if (error != std::errc{} || end != text.data() + text.size() || count < 1 ||
          count > kDisplayCount)
        throw UsageError("--displays must be 1 to " + std::to_string(kDisplayCount) + ", not '" +
                         text + "'");
      options.displays = count;
    } else if (arg.size() > 1 && arg[0] == '-') {
      throw UsageError("unknown option " + arg);
    } else if (options.script) {
      throw UsageError("only one script");
    } else {
      options.script = arg;
    }
  }
  if (options.window && options.script)
    throw UsageError("--window takes no script: the pilot flies it");
  if (options.displays != 1 && !options.window)
    throw UsageError("--displays is for --window; a script opens its displays with 'open'");
  return options;
}

}  // namespace Cockpit
