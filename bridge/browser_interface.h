#pragma once
// The one bridge through which every display of the mode reaches the browser: it creates and owns
// the hidden browser window, prints it into a display on every redraw, converts the host's text
// and forwards navigation. Used only on the host's thread.
#include <chrono>
#include <memory>
#include <optional>

#include "browser/engine/browser_text.h"
#include "browser/page_progress.h"
#include "platform/win32/win32.h"

namespace Brovis {

class BrovisForm;

class BrowserInterface {
 public:
  // Creates the window.
  BrowserInterface();
  ~BrowserInterface();
  BrowserInterface(const BrowserInterface&) = delete;
  BrowserInterface& operator=(const BrowserInterface&) = delete;

  // Builds the window (which starts loading the home page), shows it behind everything and keeps
  // its handle.
  void CreateForm();
  // Sizes the window to the display's w x h pixels and prints the whole window into `hDC` at its
  // top-left corner. False when there is no window.
  bool RenderToDC(HDC hDC, int w, int h);
  // `str` is host text, in the system's ANSI code page.
  void Navigate(const char* str);
  void NavigateBack();
  void NavigateForward();

  // The pilot's page commands, each forwarded to the window; nothing without one.
  // The tag name of the newly selected element or "blank"; no text when there is no window.
  std::optional<BrowserText> SelectNext();
  std::optional<BrowserText> SelectPrevious();
  void ClickElement();
  // `str` is host text, in the system's ANSI code page.
  void SetKeyboard(const char* str);
  void AppendKeyboard(const char* str);
  void MoveUp();
  void MoveDown();
  void MoveLeft();
  void MoveRight();

  // The longest the host's thread may be held by one redraw, and by one of the pilot's commands,
  // however the page behaves. A command's budget leaves room under two seconds for the work that
  // follows its last wait, and is longer than the engine's call limit, so that a page that stops
  // answering is still found out during a command.
  static constexpr std::chrono::milliseconds kRedrawBudget{100};
  static constexpr std::chrono::milliseconds kCommandBudget{1900};

  // How far the window's browser is with the page; no page without a window.
  PageProgress Progress();
  // Whether a display of w x h pixels does not show the page as it stands yet; false without a
  // window.
  bool PictureOwed(int w, int h);
  // The commands that follow come from a display of w x h pixels: they act on the page as that
  // display shows it.
  void CommandsFrom(int w, int h);

  // Releases the window; every operation does nothing afterwards.
  void Dispose();

 private:
  std::unique_ptr<BrovisForm> mybrowser;
  std::optional<HWND> hwnd;
};

}  // namespace Brovis
