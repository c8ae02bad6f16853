#pragma once
// The cockpit's script language: one command a line, playing the pilot.
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/win32/win32.h"

namespace Cockpit {

enum class Op {
  Open,
  Close,
  Select,
  Button,
  Key,
  Type,
  Cancel,
  Url,
  Wait,
  Settle,
  Loaded,
  Snap,
  Labels,
  Menu
};

struct Command {
  Op op = Op::Labels;
  int display = 0;       // open, close, select: 1 to 8
  int width = 0;         // open
  int height = 0;        // open
  int button = 0;        // button
  int event = 1;         // button: bit 0 is the left mouse button pressed
  DWORD key = 0;         // key: a DirectInput scan code, by number or key name (any case)
  int milliseconds = 0;  // wait, settle, loaded
  std::string text;      // type, url: the text; snap: the file
};

// A line that cannot be run; the message says why, without the line number.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

constexpr int kDisplayCount = 8;
constexpr int kDefaultSettleLimit = 10000;

// The command on one line, none for a blank line or a comment. Throws ScriptError.
std::optional<Command> ParseLine(std::string_view line);

// "WxH" with both at least 1 and at most 65535 (a display's size travels in 16 bits each).
std::optional<std::pair<int, int>> ParseSize(std::string_view text);

}  // namespace Cockpit
