#include "cockpit/script.h"

#include <charconv>
#include <vector>

#include "platform/keyboard/scan_codes.h"

namespace Cockpit {

namespace {

constexpr int kMaxDisplaySide = 0xFFFF;

std::string_view TrimEnd(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

std::string_view TrimStart(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

// Splits off the first word; `rest` keeps what follows it, leading blanks removed.
std::string_view TakeWord(std::string_view& rest) {
  rest = TrimStart(rest);
  std::size_t end = 0;
  while (end < rest.size() && rest[end] != ' ' && rest[end] != '\t') ++end;
  const std::string_view word = rest.substr(0, end);
  rest = TrimStart(rest.substr(end));
  return word;
}

template <typename T>
std::optional<T> ParseNumber(std::string_view text) {
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::vector<std::string_view> Words(std::string_view rest) {
  std::vector<std::string_view> words;
  while (!(rest = TrimStart(rest)).empty()) words.push_back(TakeWord(rest));
  return words;
}

void ExpectCount(std::string_view name, const std::vector<std::string_view>& args, std::size_t min,
                 std::size_t max) {
  if (args.size() < min) throw ScriptError(std::string(name) + ": missing argument");
  if (args.size() > max) throw ScriptError(std::string(name) + ": too many arguments");
}

int DisplayNumber(std::string_view text) {
  const auto n = ParseNumber<int>(text);
  if (!n || *n < 1 || *n > kDisplayCount)
    throw ScriptError("display must be 1 to " + std::to_string(kDisplayCount) + ", not '" +
                      std::string(text) + "'");
  return *n;
}

int Integer(std::string_view what, std::string_view text) {
  const auto n = ParseNumber<int>(text);
  if (!n)
    throw ScriptError(std::string(what) + " must be an integer, not '" + std::string(text) + "'");
  return *n;
}

int Milliseconds(std::string_view text) {
  const auto n = ParseNumber<int>(text);
  if (!n || *n < 0)
    throw ScriptError("milliseconds must be a number from 0, not '" + std::string(text) + "'");
  return *n;
}

DWORD KeyCode(std::string_view text) {
  if (const Keyboard::Key* key = Keyboard::FindByName(text)) return key->scanCode;
  if (const auto n = ParseNumber<DWORD>(text)) return *n;
  throw ScriptError("unknown key '" + std::string(text) + "'");
}

}  // namespace

std::optional<std::pair<int, int>> ParseSize(std::string_view text) {
  const std::size_t x = text.find('x');
  if (x == std::string_view::npos) return std::nullopt;
  const auto w = ParseNumber<int>(text.substr(0, x));
  const auto h = ParseNumber<int>(text.substr(x + 1));
  if (!w || !h || *w < 1 || *h < 1 || *w > kMaxDisplaySide || *h > kMaxDisplaySide)
    return std::nullopt;
  return std::pair{*w, *h};
}

std::optional<Command> ParseLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  // Typed text is the rest of the line after the one blank that ends the command's name, with
  // any further blanks at either end: they are part of what the pilot types.
  std::string_view typed = TrimStart(line);
  typed.remove_prefix(std::min(typed.find_first_of(" \t"), typed.size()));
  if (!typed.empty()) typed.remove_prefix(1);
  line = TrimEnd(line);
  std::string_view rest = TrimStart(line);
  if (rest.empty() || rest.front() == '#') return std::nullopt;
  const std::string_view name = TakeWord(rest);
  Command c;

  if (name == "type") {
    c.op = Op::Type;
    c.text = typed;
    return c;
  }
  if (name == "url") {
    c.op = Op::Url;
    c.text = rest;
    if (c.op == Op::Url && c.text.empty()) throw ScriptError("url: missing address");
    return c;
  }

  const std::vector<std::string_view> args = Words(rest);
  if (name == "open") {
    ExpectCount(name, args, 2, 2);
    c.op = Op::Open;
    c.display = DisplayNumber(args[0]);
    const auto size = ParseSize(args[1]);
    if (!size)
      throw ScriptError("size must be WxH from 1x1 to 65535x65535, not '" + std::string(args[1]) +
                        "'");
    c.width = size->first;
    c.height = size->second;
  } else if (name == "close" || name == "select") {
    ExpectCount(name, args, 1, 1);
    c.op = name == "close" ? Op::Close : Op::Select;
    c.display = DisplayNumber(args[0]);
  } else if (name == "button") {
    ExpectCount(name, args, 1, 2);
    c.op = Op::Button;
    c.button = Integer("button", args[0]);
    if (args.size() == 2) c.event = Integer("event", args[1]);
  } else if (name == "key") {
    ExpectCount(name, args, 1, 1);
    c.op = Op::Key;
    c.key = KeyCode(args[0]);
  } else if (name == "wait") {
    ExpectCount(name, args, 1, 1);
    c.op = Op::Wait;
    c.milliseconds = Milliseconds(args[0]);
  } else if (name == "settle" || name == "loaded") {
    ExpectCount(name, args, 0, 1);
    c.op = name == "settle" ? Op::Settle : Op::Loaded;
    c.milliseconds = args.empty() ? kDefaultSettleLimit : Milliseconds(args[0]);
  } else if (name == "snap") {
    ExpectCount(name, args, 1, 1);
    c.op = Op::Snap;
    c.text = args[0];
  } else if (name == "cancel" || name == "labels" || name == "menu") {
    ExpectCount(name, args, 0, 0);
    c.op = name == "cancel" ? Op::Cancel : name == "labels" ? Op::Labels : Op::Menu;
  } else {
    throw ScriptError("unknown command '" + std::string(name) + "'");
  }
  return c;
}

}  // namespace Cockpit
