#include "host/input_boxes.h"

#include "host/brovis.h"
#include "host/browser_root.h"
#include "host/live_displays.h"

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

void OpenSetTextBox(Brovis& display) {
  oapiOpenInputBox(kSetTextTitle, InputCallbackText, nullptr, Brovis::kInputBoxLength, &display);
}

void OpenAppendTextBox(Brovis& display) {
  oapiOpenInputBox(kAppendTextTitle, InputCallbackAppend, nullptr, Brovis::kInputBoxLength,
                   &display);
}

void OpenAddressBox(Brovis& display) {
  oapiOpenInputBox(kUrlTitle, InputCallbackURL, nullptr, Brovis::kInputBoxLength, &display);
}

}  // namespace Brovis
