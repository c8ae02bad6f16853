#include "browser/engine/web_browser.h"

#include <algorithm>

namespace Brovis {

WebBrowser::WebBrowser() : WebBrowser(Engine::StartChromium()) {}

WebBrowser::WebBrowser(std::unique_ptr<Engine::Engine> engine) : engine_(std::move(engine)) {
  Forms::Application::AddMessageSource(*this);
}

WebBrowser::~WebBrowser() { Forms::Application::RemoveMessageSource(*this); }

void WebBrowser::Navigate(BrowserTextView address) {
  if (engine_) engine_->navigate(address);
}

bool WebBrowser::GoBack() { return engine_ && engine_->goBack(); }

bool WebBrowser::GoForward() { return engine_ && engine_->goForward(); }

bool WebBrowser::IsBusy() { return engine_ && engine_->isBusy(); }

bool WebBrowser::IsLoadingDocument() { return engine_ && engine_->isLoadingDocument(); }

Engine::LoadProgress WebBrowser::Progress() {
  return engine_ ? engine_->progress() : Engine::LoadProgress::NoPage;
}

std::shared_ptr<Engine::Document> WebBrowser::Document() {
  return engine_ ? engine_->document() : nullptr;
}

bool WebBrowser::PictureOwed(Forms::Size size) {
  if (!engine_) return false;
  return engine_->pictureOwed(std::max(size.Width, MinimumSize().Width),
                              std::max(size.Height, MinimumSize().Height));
}

void WebBrowser::LayOutForCommands() {
  if (engine_) engine_->layOutForCommands();
}

void WebBrowser::Poll() {
  if (!engine_) return;
  engine_->poll();
  for (auto& event : engine_->takeEvents()) events_.push(std::move(event));
}

bool WebBrowser::DispatchPending() {
  return events_.dispatch([this](const Engine::EngineEvent& event) { Raise(event); });
}

int WebBrowser::WaitHandle() const { return engine_ ? engine_->waitHandle() : -1; }

void WebBrowser::Raise(const Engine::EngineEvent& event) {
  switch (event.kind) {
    case Engine::EventKind::NewWindow: {
      // The engine never opens a second window, so cancelling only confirms that.
      Forms::CancelEventArgs e;
      NewWindow.Raise(this, e);
      break;
    }
    case Engine::EventKind::DocumentCompleted: {
      WebBrowserDocumentCompletedEventArgs e{event.url};
      DocumentCompleted.Raise(this, e);
      if (engine_) engine_->completionHandled(event.completion);
      break;
    }
    case Engine::EventKind::Invalidated:
      Invalidate();
      break;
  }
}

void WebBrowser::OnPaint(const Win32::Canvas& canvas) {
  const Forms::Size size = GetSize();
  const Win32::Surface* picture =
      engine_ ? engine_->picture(canvas.forPrint ? kPrintWait : std::chrono::milliseconds{0})
              : nullptr;
  // Nothing to show yet at this size (the browser is starting, or has not drawn a display of this
  // size): what lies beneath, a display's title, shows. A picture of another size never does.
  if (!picture || picture->width() != size.Width || picture->height() != size.Height) return;
  canvas.blit(*picture, 0, 0);
}

void WebBrowser::OnResize() {
  if (engine_) engine_->resize(GetSize().Width, GetSize().Height);
}

void WebBrowser::OnDispose() {
  Forms::Application::RemoveMessageSource(*this);
  engine_.reset();
}

}  // namespace Brovis
