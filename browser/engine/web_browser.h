#pragma once
// The web-browser control: a control of the window toolkit that shows a page of a browser engine,
// forwards loads and history steps to it, hands out its document, and raises its events when the
// thread processes its messages.
#include <memory>

#include "browser/engine/engine.h"
#include "browser/engine/event_queue.h"
#include "platform/forms/application.h"
#include "platform/forms/control.h"

namespace Brovis {

struct WebBrowserDocumentCompletedEventArgs {
  BrowserText Url;
};

class WebBrowser : public Forms::Control, public Forms::MessageSource {
 public:
  // Starts its own headless Chromium, in the background. Until the engine has a picture the
  // control paints nothing; without an engine every operation does nothing.
  WebBrowser();
  explicit WebBrowser(std::unique_ptr<Engine::Engine> engine);
  ~WebBrowser() override;

  void Navigate(BrowserTextView address);
  bool GoBack();
  bool GoForward();
  bool IsBusy();
  // Busy with the top document itself, whatever its frames do.
  bool IsLoadingDocument();
  // Where the page is in its load, as a caller that waits for it sees it.
  Engine::LoadProgress Progress();
  // The current document, or none.
  std::shared_ptr<Engine::Document> Document();
  // The control, sized as `size` asks, would not show the page as it stands yet.
  bool PictureOwed(Forms::Size size);
  // The commands that follow act on the page laid out at the control's size.
  void LayOutForCommands();

  bool ScrollBarsEnabled() const { return scrollBarsEnabled_; }
  // The engine always runs without scroll bars; the setting is kept for completeness.
  void SetScrollBarsEnabled(bool enabled) { scrollBarsEnabled_ = enabled; }

  Forms::Event<Forms::CancelEventArgs> NewWindow;
  Forms::Event<WebBrowserDocumentCompletedEventArgs> DocumentCompleted;

  // The engine behind the control, or null; for diagnostics and measurements.
  Engine::Engine* engine() { return engine_.get(); }

  // Forms::MessageSource
  bool DispatchPending() override;
  void Poll() override;
  int WaitHandle() const override;

  // The longest a display's print waits for the picture of a change.
  static constexpr std::chrono::milliseconds kPrintWait{100};

 protected:
  void OnPaint(const Win32::Canvas& canvas) override;
  void OnResize() override;
  void OnDispose() override;

 private:
  void Raise(const Engine::EngineEvent& event);

  std::unique_ptr<Engine::Engine> engine_;
  Engine::EventQueue events_;
  bool scrollBarsEnabled_ = true;
};

}  // namespace Brovis
