#include "host/command_tables.h"

#include "platform/keyboard/scan_codes.h"

namespace Brovis {

char kButtonLabels[kButtonCount][5] = {"Nxt", "Prv", "Clk", "Inpt", "App", "URL",
                                       "Up",  "Dwn", "Lft", "Rght", "Bck", "Fwd"};

// The selection characters are hints for the pilot; the keys that act are in kButtonKeys (the
// period and comma keys, not '>' and '<').
const MFDBUTTONMENU kButtonMenu[kButtonCount] = {
    {"Next element", nullptr, '>'},
    {"Previous element", nullptr, '<'},
    {"Click element", nullptr, 'C'},
    {"Input text", nullptr, 'I'},
    {"Append text", nullptr, 'A'},
    {"Load URL", nullptr, 'U'},
    {"Scroll up", "SHFT-Arrow up", 0},
    {"Scroll down", "SHFT-Arrow down", 0},
    {"Scroll left", "SHFT-Arrow left", 0},
    {"Scroll right", "SHFT-Arrow right", 0},
    {"Back", nullptr, 'B'},
    {"Forward", nullptr, 'F'},
};

const std::array<DWORD, kButtonCount> kButtonKeys = {
    Keyboard::ScanCode("Period"), Keyboard::ScanCode("Comma"), Keyboard::ScanCode("C"),
    Keyboard::ScanCode("I"),      Keyboard::ScanCode("A"),     Keyboard::ScanCode("U"),
    Keyboard::ScanCode("Up"),     Keyboard::ScanCode("Down"),  Keyboard::ScanCode("Left"),
    Keyboard::ScanCode("Right"),  Keyboard::ScanCode("B"),     Keyboard::ScanCode("F")};

}  // namespace Brovis
