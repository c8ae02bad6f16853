// The hidden browser window: construction and layout, hiding, sizing, the refresh, navigation
// and the handlers of the control's and the picture box's events.
#include "browser/brovis_form.h"

#include <algorithm>

#include "browser/engine/call_budget.h"
#include "platform/forms/application.h"

namespace Brovis {

namespace {

// The largest display side the window takes; a larger request is treated as this, so that the
// window's width (2 w + 20) and the capture's size stay within reason.
constexpr int kMaxSide = 8192;

// One UTF-16 unit of a key press as UTF-8; a lone surrogate half becomes U+FFFD.
BrowserText KeyCharText(char16_t c) {
  char32_t cp = c;
  if (c >= 0xD800 && c <= 0xDFFF) cp = 0xFFFD;
  BrowserText out;
  if (cp < 0x80) {
    out.push_back(static_cast<char8_t>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char8_t>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char8_t>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char8_t>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char8_t>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char8_t>(0x80 | (cp & 0x3F)));
  }
  return out;
}

}  // namespace

BrovisForm::BrovisForm() : BrovisForm(kHomePage) {}

BrovisForm::BrovisForm(BrowserTextView startAddress) {
  InitializeComponent();
  setSizeX = 1;
  setSizeY = 1;
  SetSize(200, 200);
  xPos = 0.0f;
  yPos = 0.0f;
  xMax = 1000;
  yMax = 1000;
  xSize = panel1->GetSize().Width;
  ySize = panel1->GetSize().Height;
  selectedIndex = -1;
  selectedElement = nullptr;
  webBrowser1->Navigate(startAddress);

  using namespace std::placeholders;
  webBrowser1->NewWindow += std::bind(&BrovisForm::NewWindow, this, _1, _2);
  webBrowser1->DocumentCompleted += std::bind(&BrovisForm::Navigated, this, _1, _2);
  webBrowser1->Invalidated += std::bind(&BrovisForm::Redraw, this, _1, _2);
  pictureBox1->MouseDown += std::bind(&BrovisForm::doclick, this, _1, _2);
  pictureBox1->KeyPress += std::bind(&BrovisForm::dokey, this, _1, _2);

  // Layered at opacity 0 and a tool window: shown and painting, yet on no screen, transparent
  // to the mouse and out of the task switcher.
  const LONG style = GetWindowLongW(GetHandle(), GWL_EXSTYLE);
  SetWindowLongW(GetHandle(), GWL_EXSTYLE, style | WS_EX_LAYERED | WS_EX_TOOLWINDOW);
  SetLayeredWindowAttributes(GetHandle(), 0, 0, LWA_ALPHA);
}

BrovisForm::~BrovisForm() { DisposeOnce(); }

void BrovisForm::InitializeComponent() {
  webBrowser1 = std::make_unique<WebBrowser>();
  pictureBox1 = std::make_unique<Forms::PictureBox>();
  panel1 = std::make_unique<Forms::Panel>();
  pictureBox1->BeginInit();
  panel1->SuspendLayout();
  SuspendLayout();

  webBrowser1->SetLocation({0, 0});
  webBrowser1->SetMinimumSize({20, 20});
  webBrowser1->SetName("webBrowser1");
  webBrowser1->SetScrollBarsEnabled(false);
  webBrowser1->SetSize({290, 290});
  webBrowser1->SetTabIndex(0);

  pictureBox1->SetLocation({338, 0});
  pictureBox1->SetName("pictureBox1");
  pictureBox1->SetSize({290, 290});
  pictureBox1->SetTabIndex(1);
  pictureBox1->SetTabStop(false);

  panel1->AddControl(*webBrowser1);
  panel1->SetLocation({0, 0});
  panel1->SetName("panel1");
  panel1->SetSize({290, 290});
  panel1->SetTabIndex(4);

  SetAutoScaleDimensions({6.0f, 13.0f});
  SetAutoScaleMode(Forms::AutoScaleMode::Font);
  SetClientSize({1000, 500});
  AddControl(*panel1);
  AddControl(*pictureBox1);
  SetLocation({20, 20});
  SetFormBorderStyle(Forms::FormBorderStyle::None);
  SetName("BrovisForm");
  SetShowInTaskbar(false);
  SetText("BrovisForm");

  pictureBox1->EndInit();
  panel1->ResumeLayout(false);
  ResumeLayout(false);
  PerformLayout();
}

Forms::Size BrovisForm::PanelSize(int w, int h) {
  // A display of no size still gets a one-pixel panel: the refresh cannot make a bitmap of
  // zero size, and nothing of the page would show anyway.
  return {std::clamp(w, 1, kMaxSide), std::clamp(h, 1, kMaxSide)};
}

void BrovisForm::SetSize(int w, int h) {
  if (w == setSizeX && h == setSizeY) return;
  const Forms::Size panel = PanelSize(w, h);
  w = panel.Width;
  h = panel.Height;
  if (webBrowser1) webBrowser1->SetSize({w, h});
  pictureBox1->SetSize({w, h});
  panel1->SetSize({w, h});
  Form::SetSize({2 * w + 20, h});
  pictureBox1->SetLocation({w + 5, 0});
  Forms::Application::DoEvents();
}

HWND BrovisForm::GetHandle() { return Handle(); }

void BrovisForm::Navigate(BrowserTextView s) { webBrowser1->Navigate(s); }

void BrovisForm::NavigateBack() { webBrowser1->GoBack(); }

void BrovisForm::NavigateForward() { webBrowser1->GoForward(); }

PageProgress BrovisForm::Progress() {
  if (!webBrowser1) return PageProgress::NoPage;
  switch (webBrowser1->Progress()) {
    case Engine::LoadProgress::NoPage:
      return PageProgress::NoPage;
    case Engine::LoadProgress::Loading:
      return PageProgress::Loading;
    case Engine::LoadProgress::Loaded:
      break;
  }
  return PageProgress::Loaded;
}

void BrovisForm::CommandsFrom(int w, int h) {
  SetSize(w, h);
  if (webBrowser1) webBrowser1->LayOutForCommands();
}

bool BrovisForm::PictureOwed(int w, int h) {
  return webBrowser1 && webBrowser1->PictureOwed(PanelSize(w, h));
}

void BrovisForm::UpdateBitmap() {
  if (!webBrowser1) return;
  UpdatePaging();
  const int w = panel1->GetSize().Width;
  const int h = panel1->GetSize().Height;
  auto panelGraphics = panel1->CreateGraphics();
  // The previous capture stays alive until the picture box has the new one: the box may
  // repaint with it while events are processed below.
  const auto previous = bm;
  const auto capture = std::make_shared<Drawing::Bitmap>(w, h, *panelGraphics);
  bm = capture;
  auto bitmapGraphics = Drawing::Graphics::FromImage(*capture);
  const HDC bitmapDC = bitmapGraphics->GetHdc();
  const HDC panelDC = panelGraphics->GetHdc();
  Forms::Application::DoEvents();
  BitBlt(bitmapDC, 0, 0, w, h, panelDC, 0, 0, SRCCOPY);
  Forms::Application::DoEvents();
  bitmapGraphics->ReleaseHdc(bitmapDC);
  panelGraphics->ReleaseHdc(panelDC);
  pictureBox1->SetImage(bm);
}

void BrovisForm::NewWindow(Forms::Control*, Forms::CancelEventArgs& e) { e.Cancel = true; }

void BrovisForm::Navigated(Forms::Control*, WebBrowserDocumentCompletedEventArgs&) {
  xPos = 0.0f;
  yPos = 0.0f;
  selectedIndex = 0;

  // A load that never ends must not hold the host's thread: the wait is bounded, and a nested
  // completion (another frame finishing inside this wait) shares the outer deadline. Every
  // frame that finishes later raises its own completion, so nothing is lost by not waiting.
  if (completionDepth_ == 0)
    completionDeadline_ =
        Engine::CallBudget::Deadline(std::chrono::steady_clock::now() + kCompletionWait);
  ++completionDepth_;
  struct Leave {
    int& depth;
    ~Leave() { --depth; }
  } leave{completionDepth_};
  while (webBrowser1->IsBusy()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        completionDeadline_ - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    Forms::Application::DoEvents();
    if (webBrowser1->IsBusy())
      Forms::Application::WaitForMessages(std::min(left, std::chrono::milliseconds{5}));
  }
  UpdateBitmap();
}

void BrovisForm::Redraw(Forms::Control*, Forms::InvalidateEventArgs&) { UpdateBitmap(); }

void BrovisForm::doclick(Forms::Control*, Forms::MouseEventArgs& e) {
  if (e.Button != Forms::MouseButtons::Left) return;
  if (!webBrowser1 || !webBrowser1->Document()) return;
  UpdateScroll();
  const auto document = webBrowser1->Document();
  if (!document) return;
  const auto element = document->elementFromPoint(e.X, e.Y);
  if (!element) return;
  element->click();
  Forms::Application::DoEvents();
  UpdateBitmap();
}

void BrovisForm::dokey(Forms::Control*, Forms::KeyPressEventArgs& e) {
  e.Handled = true;
  if (!webBrowser1) return;
  const auto document = webBrowser1->Document();
  if (!document) return;
  const auto active = document->activeElement();
  if (!active || !active->isTextEdit()) return;
  // The character lands at the end of the text, wherever the caret is.
  const auto range = active->createTextRange();
  if (!range) return;
  const auto text = range->text();
  if (!text) return;
  if (!range->setText(*text + KeyCharText(e.KeyChar))) return;
  Forms::Application::DoEvents();
  UpdateBitmap();
}

void BrovisForm::Dispose(bool disposing) { Form::Dispose(disposing); }

}  // namespace Brovis
