// The display's commands: button labels and menu, buttons turned into keys, the keys' actions,
// and the three input boxes with their callbacks.
#include <algorithm>

#include "host/brovis.h"
#include "host/browser_root.h"
#include "host/command_tables.h"
#include "host/live_displays.h"
#include "platform/keyboard/scan_codes.h"

namespace Brovis {

namespace {

// Writable arrays, because the simulator takes titles as char*; it never writes them.
char kSetTextTitle[] = "Set browser text";
char kAppendTextTitle[] = "Append browser text";
char kUrlTitle[] = "Input URL";

// Each callback hands the confirmed text to the display that opened the box. If the pilot closed
// that display while the box was open, the text still does what the pilot asked, on the shared
// browser, only without a redraw request for a display that is gone. The host always accepts.
template <void (Brovis::*process)(char*), void (BrowserInterface::*fallback)(const char*)>
bool Deliver(char* str, void* usrdata) {
  if (!usrdata) return true;
  try {
    if (Brovis* display = FindLiveDisplay(usrdata))
      (display->*process)(str);
    else
      (EnsureBrowser().*fallback)(str);
  } catch (...) {
    // The host's input box must close normally whatever the browser did.
  }
  return true;
}

}  // namespace

extern "C" {

bool InputCallbackText(void*, char* str, void* usrdata) {
  return Deliver<&Brovis::processText, &BrowserInterface::SetKeyboard>(str, usrdata);
}

bool InputCallbackAppend(void*, char* str, void* usrdata) {
  return Deliver<&Brovis::processAppend, &BrowserInterface::AppendKeyboard>(str, usrdata);
}

bool InputCallbackURL(void*, char* str, void* usrdata) {
  return Deliver<&Brovis::processURL, &BrowserInterface::Navigate>(str, usrdata);
}

}  // extern "C"

char* Brovis::ButtonLabel(int bt) {
  return bt >= 0 && bt < kButtonCount ? kButtonLabels[bt] : nullptr;
}

int Brovis::ButtonMenu(const MFDBUTTONMENU** menu) const {
  if (menu) *menu = kButtonMenu;
  return kButtonCount;
}

bool Brovis::ConsumeButton(int bt, int event) {
  if (!(event & 1)) return false;
  if (bt < 0 || bt >= kButtonCount) return false;
  // Through the virtual key handler, so that a button and its key behave the same.
  return ConsumeKeyBuffered(kButtonKeys[bt]);
}

bool Brovis::ConsumeKeyBuffered(DWORD key) {
  const bool command = std::find(kButtonKeys.begin(), kButtonKeys.end(), key) != kButtonKeys.end();
  try {
    BrowserInterface& browser = EnsureBrowser();
    switch (key) {
      case Keyboard::ScanCode("U"):
        oapiOpenInputBox(kUrlTitle, InputCallbackURL, nullptr, kInputBoxLength, this);
        break;
      case Keyboard::ScanCode("I"):
        oapiOpenInputBox(kSetTextTitle, InputCallbackText, nullptr, kInputBoxLength, this);
        break;
      case Keyboard::ScanCode("A"):
        oapiOpenInputBox(kAppendTextTitle, InputCallbackAppend, nullptr, kInputBoxLength, this);
        break;
      case Keyboard::ScanCode("F"):
        browser.NavigateForward();
        break;
      case Keyboard::ScanCode("C"):
        browser.ClickElement();
        break;
      case Keyboard::ScanCode("B"):
        browser.NavigateBack();
        break;
      case Keyboard::ScanCode("Comma"):
        browser.SelectPrevious();
        break;
      case Keyboard::ScanCode("Period"):
        browser.SelectNext();
        break;
      case Keyboard::ScanCode("Up"):
        browser.MoveUp();
        break;
      case Keyboard::ScanCode("Left"):
        browser.MoveLeft();
        break;
      case Keyboard::ScanCode("Right"):
        browser.MoveRight();
        break;
      case Keyboard::ScanCode("Down"):
        browser.MoveDown();
        break;
      default:
        break;
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
