// Any bytes as a cockpit script: every line gives a command, nothing, or a ScriptError; never a
// crash, another exception or a command the runner could not trust.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cockpit/script.h"

namespace {

void Check(bool holds) {
  if (!holds) std::abort();
}

void CheckCommand(const Cockpit::Command& c) {
  using Cockpit::Op;
  switch (c.op) {
    case Op::Open:
      Check(c.width >= 1 && c.width <= 0xFFFF && c.height >= 1 && c.height <= 0xFFFF);
      [[fallthrough]];
    case Op::Close:
    case Op::Select:
      Check(c.display >= 1 && c.display <= Cockpit::kDisplayCount);
      break;
    case Op::Wait:
    case Op::Settle:
      Check(c.milliseconds >= 0);
      break;
    case Op::Url:
    case Op::Snap:
      Check(!c.text.empty());
      break;
    default:
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view script(reinterpret_cast<const char*>(data), size);
  while (!script.empty()) {
    const std::size_t end = std::min(script.find('\n'), script.size());
    try {
      if (const auto command = Cockpit::ParseLine(script.substr(0, end))) CheckCommand(*command);
    } catch (const Cockpit::ScriptError&) {
      // The documented answer to a line that cannot be run.
    }
    script.remove_prefix(std::min(end + 1, script.size()));
  }
  if (const auto size2 = Cockpit::ParseSize({reinterpret_cast<const char*>(data), size}))
    Check(size2->first >= 1 && size2->first <= 0xFFFF && size2->second >= 1 &&
          size2->second <= 0xFFFF);
  return 0;
}
