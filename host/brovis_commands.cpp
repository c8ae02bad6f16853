// The display's commands: button labels and menu, buttons turned into keys, and the keys'
// actions, all read from the command table; and what the input boxes do with the pilot's text.
#include "host/brovis.h"
#include "host/browser_root.h"
#include "host/command_table.h"

namespace Brovis {

char* Brovis::ButtonLabel(int bt) {
  // The simulator takes labels as char*; it never writes them.
  return bt >= 0 && bt < kButtonCount ? const_cast<char*>(kCommands[bt].label) : nullptr;
}

int Brovis::ButtonMenu(const MFDBUTTONMENU** menu) const {
  if (menu) *menu = kButtonMenu.data();
  return kButtonCount;
}

bool Brovis::ConsumeButton(int bt, int event) {
  if (!(event & 1)) return false;
  if (bt < 0 || bt >= kButtonCount) return false;
  // Through the virtual key handler, so that a button and its key behave the same.
  return ConsumeKeyBuffered(kCommands[bt].key);
}

bool Brovis::ConsumeKeyBuffered(DWORD key) {
  const Command* command = CommandOfKey(key);
  try {
    BrowserInterface& browser = EnsureBrowser();
    if (command) {
      // The shared page may be laid out at another display's size: the command acts on this one's.
      browser.CommandsFrom(static_cast<int>(W), static_cast<int>(H));
      command->run(*this);
    }
  } catch (...) {
    // A key of the table is consumed and redrawn whatever the browser did.
  }
  if (!command) return false;
  InvalidateDisplay();
  return true;
}

void Brovis::processText(char* str) {
  EnsureBrowser().SetKeyboard(str);
  InvalidateDisplay();
}

void Brovis::processAppend(char* str) {
  EnsureBrowser().AppendKeyboard(str);
  InvalidateDisplay();
}

void Brovis::processURL(char* str) {
  EnsureBrowser().Navigate(str);
  InvalidateDisplay();
}

}  // namespace Brovis
