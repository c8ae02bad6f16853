#pragma once
// The keyboard as the simulator reports it to a display: each key's DirectInput scan code, with a
// name for it and the key's USB usage (its place on the keyboard whatever the layout, as desktop
// keyboards report it). The one table of keys: the module's commands, the cockpit's script
// language and its window all read it. Needs nothing but the standard library.
#include <cstdint>
#include <string_view>

namespace Keyboard {

struct Key {
  std::string_view name;
  std::uint32_t scanCode;  // DirectInput numbering
  std::uint32_t usbUsage;  // USB HID keyboard page
};

// Ordered by scan code, as the simulator's key tables are usually read.
// clang-format off
inline constexpr Key kKeys[] = {
    {"Escape", 1, 41},          {"1", 2, 30},              {"2", 3, 31},
    {"3", 4, 32},               {"4", 5, 33},              {"5", 6, 34},
    {"6", 7, 35},               {"7", 8, 36},              {"8", 9, 37},
    {"9", 10, 38},              {"0", 11, 39},             {"Minus", 12, 45},
    {"Equals", 13, 46},         {"Backspace", 14, 42},     {"Tab", 15, 43},
    {"Q", 16, 20},              {"W", 17, 26},             {"E", 18, 8},
    {"R", 19, 21},              {"T", 20, 23},             {"Y", 21, 28},
    {"U", 22, 24},              {"I", 23, 12},             {"O", 24, 18},
    {"P", 25, 19},              {"LeftBracket", 26, 47},   {"RightBracket", 27, 48},
    {"Return", 28, 40},         {"LeftCtrl", 29, 224},     {"A", 30, 4},
    {"S", 31, 22},              {"D", 32, 7},              {"F", 33, 9},
    {"G", 34, 10},              {"H", 35, 11},             {"J", 36, 13},
    {"K", 37, 14},              {"L", 38, 15},             {"Semicolon", 39, 51},
    {"Apostrophe", 40, 52},     {"Grave", 41, 53},         {"LeftShift", 42, 225},
    {"Backslash", 43, 49},      {"Z", 44, 29},             {"X", 45, 27},
    {"C", 46, 6},               {"V", 47, 25},             {"B", 48, 5},
    {"N", 49, 17},              {"M", 50, 16},             {"Comma", 51, 54},
    {"Period", 52, 55},         {"Slash", 53, 56},         {"RightShift", 54, 229},
    {"KeypadMultiply", 55, 85}, {"LeftAlt", 56, 226},      {"Space", 57, 44},
    {"CapsLock", 58, 57},       {"F1", 59, 58},            {"F2", 60, 59},
    {"F3", 61, 60},             {"F4", 62, 61},            {"F5", 63, 62},
    {"F6", 64, 63},             {"F7", 65, 64},            {"F8", 66, 65},
    {"F9", 67, 66},             {"F10", 68, 67},           {"NumLock", 69, 83},
    {"ScrollLock", 70, 71},     {"Keypad7", 71, 95},       {"Keypad8", 72, 96},
    {"Keypad9", 73, 97},        {"KeypadMinus", 74, 86},   {"Keypad4", 75, 92},
    {"Keypad5", 76, 93},        {"Keypad6", 77, 94},       {"KeypadPlus", 78, 87},
    {"Keypad1", 79, 89},        {"Keypad2", 80, 90},       {"Keypad3", 81, 91},
    {"Keypad0", 82, 98},        {"KeypadPeriod", 83, 99},  {"NonUsBackslash", 86, 100},
    {"F11", 87, 68},            {"F12", 88, 69},           {"KeypadEnter", 156, 88},
    {"RightCtrl", 157, 228},    {"KeypadDivide", 181, 84}, {"PrintScreen", 183, 70},
    {"RightAlt", 184, 230},     {"Pause", 197, 72},        {"Home", 199, 74},
    {"Up", 200, 82},            {"PageUp", 201, 75},       {"Left", 203, 80},
    {"Right", 205, 79},         {"End", 207, 77},          {"Down", 208, 81},
    {"PageDown", 209, 78},      {"Insert", 210, 73},       {"Delete", 211, 76},
    {"LeftGui", 219, 227},      {"RightGui", 220, 231},    {"Application", 221, 101},
};
// clang-format on

// The scan code of the key named `name`; a name the table lacks does not compile.
consteval std::uint32_t ScanCode(std::string_view name) {
  for (const Key& key : kKeys)
    if (key.name == name) return key.scanCode;
  throw "no key of that name";
}

// The key with `scanCode`, or null.
constexpr const Key* FindByScanCode(std::uint32_t scanCode) {
  for (const Key& key : kKeys)
    if (key.scanCode == scanCode) return &key;
  return nullptr;
}

// The key at USB usage `usage`, or null.
constexpr const Key* FindByUsbUsage(std::uint32_t usage) {
  for (const Key& key : kKeys)
    if (key.usbUsage == usage) return &key;
  return nullptr;
}

// The key named `name` in any mix of upper and lower case, or null.
constexpr const Key* FindByName(std::string_view name) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  for (const Key& key : kKeys) {
    bool same = key.name.size() == name.size();
    for (std::size_t i = 0; same && i < name.size(); ++i)
      same = lower(key.name[i]) == lower(name[i]);
    if (same) return &key;
  }
  return nullptr;
}

}  // namespace Keyboard
