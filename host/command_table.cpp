#include "host/command_table.h"

#include <string_view>

#include "host/browser_root.h"
#include "host/input_boxes.h"
#include "platform/keyboard/scan_codes.h"

namespace Brovis {

namespace {

consteval DWORD Key(std::string_view name) { return Keyboard::ScanCode(name); }
using B = BrowserInterface;

// A command that is one call on the shared browser; what the call answers is not used.
template <auto operation>
void Call(Brovis&) {
  (EnsureBrowser().*operation)();
}

}  // namespace

// One line a row, so that the table reads as one.
// clang-format off
constexpr std::array<Command, kButtonCount> kCommands = {{
    {0,  Key("Period"), "Nxt",  {"Next element", nullptr, '>'},          Call<&B::SelectNext>},
    {1,  Key("Comma"),  "Prv",  {"Previous element", nullptr, '<'},      Call<&B::SelectPrevious>},
    {2,  Key("C"),      "Clk",  {"Click element", nullptr, 'C'},         Call<&B::ClickElement>},
    {3,  Key("I"),      "Inpt", {"Input text", nullptr, 'I'},            OpenSetTextBox},
    {4,  Key("A"),      "App",  {"Append text", nullptr, 'A'},           OpenAppendTextBox},
    {5,  Key("U"),      "URL",  {"Load URL", nullptr, 'U'},              OpenAddressBox},
    {6,  Key("Up"),     "Up",   {"Scroll up", "SHFT-Arrow up", 0},       Call<&B::MoveUp>},
    {7,  Key("Down"),   "Dwn",  {"Scroll down", "SHFT-Arrow down", 0},   Call<&B::MoveDown>},
    {8,  Key("Left"),   "Lft",  {"Scroll left", "SHFT-Arrow left", 0},   Call<&B::MoveLeft>},
    {9,  Key("Right"),  "Rght", {"Scroll right", "SHFT-Arrow right", 0}, Call<&B::MoveRight>},
    {10, Key("B"),      "Bck",  {"Back", nullptr, 'B'},                  Call<&B::NavigateBack>},
    {11, Key("F"),      "Fwd",  {"Forward", nullptr, 'F'},               Call<&B::NavigateForward>},
}};
// clang-format on

namespace {

constexpr bool WellFormed() {
  for (int b = 0; b < kButtonCount; ++b) {
    const Command& row = kCommands[b];
    if (row.button != b) return false;
    int length = 0;
    while (row.label[length]) ++length;
    if (length > 4) return false;
    for (int other = 0; other < b; ++other)
      if (kCommands[other].key == row.key) return false;
  }
  return true;
}
static_assert(WellFormed(), "rows in button order, labels of four characters, keys distinct");

constexpr std::array<MFDBUTTONMENU, kButtonCount> MenuColumn() {
  std::array<MFDBUTTONMENU, kButtonCount> menu{};
  for (int b = 0; b < kButtonCount; ++b) menu[b] = kCommands[b].menu;
  return menu;
}

}  // namespace

const std::array<MFDBUTTONMENU, kButtonCount> kButtonMenu = MenuColumn();

const Command* CommandOfKey(DWORD key) {
  for (const Command& row : kCommands)
    if (row.key == key) return &row;
  return nullptr;
}

}  // namespace Brovis
