#pragma once
// The hidden browser window: a frameless, fully transparent top-level window that hosts the
// web-browser control in a panel at its top-left corner, keeps its own record of the page's
// scroll position, and carries the operations on the page (selection, clicking, text entry,
// scrolling).
#include <chrono>
#include <memory>

#include "browser/engine/browser_text.h"
#include "browser/engine/dom.h"
#include "browser/engine/web_browser.h"
#include "browser/page_progress.h"
#include "platform/forms/form.h"

namespace Brovis {

class BrovisForm : public Forms::Form {
 public:
  // Opens the home page.
  BrovisForm();
  // Opens `startAddress` instead of the home page.
  explicit BrovisForm(BrowserTextView startAddress);
  ~BrovisForm() override;

  // Sizes the window for a display of w x h pixels, then processes pending events.
  void SetSize(int w, int h);
  // The native window's handle, created on first use.
  HWND GetHandle();
  void Navigate(BrowserTextView s);
  void NavigateBack();
  void NavigateForward();
  // Whether the browser has a page, and whether its top document is loading.
  PageProgress Progress();
  // Whether a display of w x h pixels does not show the page as it stands yet.
  bool PictureOwed(int w, int h);
  // The commands that follow come from a display of w x h pixels: they act on the page as that
  // display shows it, whatever displays of other sizes are drawn.
  void CommandsFrom(int w, int h);

  // Element selection and activation.
  BrowserText selectNext();
  BrowserText selectPrevious();
  BrowserText selectElement(int direction);
  void clickElement();

  // Text entry into the selected field.
  void setKeyboard(BrowserTextView str);
  void appendKeyboard(BrowserTextView str);

  // Scrolling in fixed steps.
  void moveUp();
  void moveDown();
  void moveLeft();
  void moveRight();

  static constexpr char8_t kHomePage[] = u8"https://duckduckgo.com/";
  // How long a completed load waits for the rest of the page before refreshing anyway.
  static constexpr std::chrono::milliseconds kCompletionWait{100};

 protected:
  void Dispose(bool disposing) override;

 private:
  friend class BrovisFormTestAccess;

  void InitializeComponent();
  // The panel's size for a display of w x h pixels.
  static Forms::Size PanelSize(int w, int h);
  void UpdateBitmap();
  void UpdateScroll();
  // UpdateScroll for where the window's own scroll has just put the page: the positions stored
  // are ones that the next refresh writes back as exactly the offsets read.
  void KeepScroll();
  void ReadScroll(float (*toPosition)(std::int32_t offset, std::int32_t unit));
  void UpdatePaging();
  void ReadExtents(const Engine::PageScroll& scroll);

  void NewWindow(Forms::Control* sender, Forms::CancelEventArgs& e);
  void Navigated(Forms::Control* sender, WebBrowserDocumentCompletedEventArgs& e);
  void Redraw(Forms::Control* sender, Forms::InvalidateEventArgs& e);
  void doclick(Forms::Control* sender, Forms::MouseEventArgs& e);
  void dokey(Forms::Control* sender, Forms::KeyPressEventArgs& e);

  float xPos = 0.0f;
  float yPos = 0.0f;
  std::int32_t xMax = 1000;
  std::int32_t yMax = 1000;
  std::int32_t xSize = 200;
  std::int32_t ySize = 200;
  Engine::ElementRef selectedElement;
  std::int32_t selectedIndex = -1;
  std::shared_ptr<Drawing::Bitmap> bm;
  std::int32_t setSizeX = 1;
  std::int32_t setSizeY = 1;
  std::unique_ptr<WebBrowser> webBrowser1;
  std::unique_ptr<Forms::PictureBox> pictureBox1;
  std::unique_ptr<Forms::Panel> panel1;

  // When the outermost completed-load handler stops waiting; nested ones share it.
  std::chrono::steady_clock::time_point completionDeadline_{};
  int completionDepth_ = 0;
};

}  // namespace Brovis
