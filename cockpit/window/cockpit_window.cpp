#include "cockpit/window/cockpit_window.h"

#include <cstdio>
#include <stdexcept>

#include "cockpit/host_code_page_text.h"
#include "cockpit/window/input_box_view.h"
#include "cockpit/window/painter.h"
#include "cockpit/window/sdl_keys.h"
#include "cockpit/window/sdl_surfaces.h"

namespace Cockpit {

namespace {

constexpr char kWindowTitle[] = "Brovis cockpit";

struct SdlTextDeleter {
  void operator()(char* text) const { SDL_free(text); }
};

std::string ModeEntry(const OrbiterHost::RegisteredMode& mode) {
  const std::string key = KeyName(mode.key);
  const std::string name = FromHostCodePage(mode.name);
  return key.empty() ? name : name + " (" + key + ")";
}

}  // namespace

int MouseEventBits(Uint8 sdlButton) {
  switch (sdlButton) {
    case SDL_BUTTON_LEFT:
      return 1;
    case SDL_BUTTON_RIGHT:
      return 2;
    case SDL_BUTTON_MIDDLE:
      return 4;
    default:
      return 0;
  }
}

CockpitWindow::SdlVideo::SdlVideo() {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    throw std::runtime_error(std::string("cannot open a window: ") + SDL_GetError());
}

CockpitWindow::SdlVideo::~SdlVideo() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

CockpitWindow::CockpitWindow(Simulator& simulator, const WindowSettings& settings)
    : simulator_(simulator),
      settings_(settings),
      layout_(LayoutFor(settings)),
      picture_(layout_.windowWidth(), layout_.windowHeight(), MfdFrame::kBackground) {
  for (int i = 0; i < settings.displays; ++i)
    slots_.emplace_back(simulator, i + 1, settings.width, settings.height);
  seenRedraws_.resize(slots_.size());
  window_.reset(SDL_CreateWindow(kWindowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                 layout_.windowWidth(), layout_.windowHeight(), SDL_WINDOW_SHOWN));
  if (!window_) {
    simulator_.CloseAll();
    throw std::runtime_error(std::string("cannot open a window: ") + SDL_GetError());
  }
  // Typed characters matter only in an input box; keys go to the displays as scan codes.
  SDL_StopTextInput();
  OrbiterHost::SetInputBoxListener([this](const OrbiterHost::InputBox& box) {
    boxOpened_ = true;
    openedBox_ = box;
  });
}

CockpitWindow::~CockpitWindow() {
  OrbiterHost::SetInputBoxListener({});
  // The box's callback would reach a display object that is about to go.
  OrbiterHost::CancelInputBox();
  SDL_StopTextInput();
  // The displays go while the module is still loaded: their code is in it.
  simulator_.CloseAll();
}

ButtonLayout CockpitWindow::LayoutFor(const WindowSettings& settings) {
  // Wide enough for the module's input boxes, whose field shows sixty characters.
  return ButtonLayout(settings.displays, settings.width, settings.height,
                      InputBoxView::BoxWidth(60) + 16);
}

Uint32 CockpitWindow::windowId() const { return SDL_GetWindowID(window_.get()); }

void CockpitWindow::Run() {
  simulator_.RunUntil([this] {
    Tick();
    return closed_;
  });
}

bool CockpitWindow::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  bool met = false;
  simulator_.Run(limit, [&] {
    Tick();
    met = done();
    return met || closed_;
  });
  return met;
}

void CockpitWindow::Tick() {
  SDL_Event event;
  while (!closed_ && SDL_PollEvent(&event)) {
    HandleEvent(event);
    // A press may have opened a box: the events queued behind it belong to the box.
    FollowInputBox();
  }
  FollowInputBox();
  NoteRedraws();
  if (dirty_ && !closed_) {
    Compose();
    Present();
    dirty_ = false;
  }
}

void CockpitWindow::HandleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      closed_ = true;
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) closed_ = true;
      dirty_ = true;
      break;
    case SDL_MOUSEBUTTONDOWN:
      MouseDown(event.button);
      break;
    case SDL_MOUSEBUTTONUP:
      pressedDisplay_ = pressedSide_ = -1;
      pressedBottom_.reset();
      dirty_ = true;
      break;
    case SDL_KEYDOWN:
      if (box_)
        BoxKeyDown(event.key);
      else
        KeyDown(event.key);
      break;
    case SDL_TEXTINPUT:
      if (box_) {
        box_->field.Insert(event.text.text);
        dirty_ = true;
      }
      break;
    default:
      break;
  }
}

void CockpitWindow::MouseDown(const SDL_MouseButtonEvent& event) {
  // The input box is modal: the displays wait until it is confirmed or cancelled.
  if (box_) return;
  const Hit hit = layout_.HitTest(event.x, event.y);
  if (hit.kind == Hit::Kind::Nothing) return;
  dirty_ = true;
  keyboard_ = hit.display;
  DisplaySlot& slot = slots_[hit.display];
  if (hit.kind == Hit::Kind::SideButton) {
    pressedDisplay_ = hit.display;
    pressedSide_ = hit.button;
    slot.PressSide(hit.button, MouseEventBits(event.button));
  } else if (hit.kind == Hit::Kind::BottomButton && event.button == SDL_BUTTON_LEFT) {
    pressedDisplay_ = hit.display;
    pressedBottom_ = hit.bottom;
    switch (hit.bottom) {
      case BottomButton::Power:
        return slot.Power();
      case BottomButton::Select:
        return slot.Select();
      case BottomButton::Menu:
        return slot.Menu();
    }
  }
}

void CockpitWindow::KeyDown(const SDL_KeyboardEvent& event) {
  const SDL_Scancode scancode = event.keysym.scancode;
  if (IsModifierKey(scancode)) return;
  const std::optional<DWORD> code = DirectInputScanCode(scancode);
  if (!code) return;
  dirty_ = true;
  // Shift with an arrow key, as the mode's menu tells the pilot, reaches the display as the
  // arrow's own code: the modifiers are the simulator's business, not the display's.
  slots_[keyboard_].PressKey(*code);
}

void CockpitWindow::BoxKeyDown(const SDL_KeyboardEvent& event) {
  TextField& field = box_->field;
  const bool control = (event.keysym.mod & KMOD_CTRL) != 0;
  const bool shift = (event.keysym.mod & KMOD_SHIFT) != 0;
  dirty_ = true;
  switch (event.keysym.scancode) {
    case SDL_SCANCODE_LEFT:
      return field.Left();
    case SDL_SCANCODE_RIGHT:
      return field.Right();
    case SDL_SCANCODE_HOME:
      return field.Home();
    case SDL_SCANCODE_END:
      return field.End();
    case SDL_SCANCODE_BACKSPACE:
      return field.Backspace();
    case SDL_SCANCODE_DELETE:
      return field.Delete();
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_KP_ENTER: {
      const std::string typed = ToHostCodePage(field.Text());
      // A callback that refuses the text leaves the box open, text and all.
      OrbiterHost::ConfirmInputBox(typed);
      return;
    }
    case SDL_SCANCODE_ESCAPE:
      OrbiterHost::CancelInputBox();
      return;
    default:
      break;
  }
  const bool paste = (control && event.keysym.scancode == SDL_SCANCODE_V) ||
                     (shift && event.keysym.scancode == SDL_SCANCODE_INSERT);
  if (paste && SDL_HasClipboardText()) {
    const std::unique_ptr<char, SdlTextDeleter> text(SDL_GetClipboardText());
    if (text) field.Insert(text.get());
  }
}

void CockpitWindow::FollowInputBox() {
  if (boxOpened_) {
    boxOpened_ = false;
    if (openedBox_) {
      box_ = Box{FromHostCodePage(openedBox_->title), openedBox_->visibleLength,
                 TextField(FromHostCodePage(openedBox_->initialText))};
      SDL_StartTextInput();
      dirty_ = true;
    }
  }
  if (box_ && !OrbiterHost::OpenInputBox()) {
    box_.reset();
    SDL_StopTextInput();
    dirty_ = true;
  }
}

void CockpitWindow::NoteRedraws() {
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    const Display* display = simulator_.Find(slots_[i].number());
    if (!display || display->lastRedraw() == seenRedraws_[i]) continue;
    seenRedraws_[i] = display->lastRedraw();
    lastUpdated_ = slots_[i].number();
    lastUpdateTime_ = display->lastUpdateTime();
    dirty_ = true;
  }
}

std::string CockpitWindow::Status() const {
  char text[160];
  const double refresh = static_cast<double>(simulator_.refresh().count());
  const double update = std::chrono::duration<double, std::milli>(lastUpdateTime_).count();
  if (lastUpdated_)
    std::snprintf(text, sizeof text,
                  "refresh %.0f ms (%.1f Hz)   last Update %.2f ms (MFD %d)   keyboard: MFD %d",
                  refresh, 1000.0 / refresh, update, lastUpdated_, slots_[keyboard_].number());
  else
    std::snprintf(text, sizeof text, "refresh %.0f ms (%.1f Hz)   keyboard: MFD %d", refresh,
                  1000.0 / refresh, slots_[keyboard_].number());
  return text;
}

FrameContent CockpitWindow::Content(int index) {
  const DisplaySlot& slot = slots_[index];
  FrameContent c;
  c.screen = slot.screen();
  c.name = "MFD " + std::to_string(slot.number());
  c.keyboard = index == keyboard_;
  if (pressedDisplay_ == index) {
    c.pressedSide = pressedSide_;
    c.pressedBottom = pressedBottom_;
  }
  if (slot.screen() == FrameContent::Screen::ModeList)
    for (const auto& mode : OrbiterHost::RegisteredModes()) c.modes.push_back(ModeEntry(mode));
  Display* display = slot.display();
  if (!display) return c;
  c.surface = &display->surface();
  MFD& mfd = display->mfd();
  for (int b = 0; b < 12; ++b)
    if (const char* label = mfd.ButtonLabel(b)) c.labels[b] = FromHostCodePage(label);
  if (slot.menuShown()) {
    const MFDBUTTONMENU* table = nullptr;
    const int count = mfd.ButtonMenu(&table);
    c.menu.emplace();
    for (int b = 0; table && b < count && b < 12; ++b) {
      // Copied out: the records are packed.
      const MFDBUTTONMENU entry = table[b];
      c.menu->push_back({entry.line1 ? FromHostCodePage(entry.line1) : std::string(),
                         entry.line2 ? FromHostCodePage(entry.line2) : std::string(),
                         entry.selchar});
    }
  }
  return c;
}

void CockpitWindow::Compose() {
  Painter painter(picture_);
  painter.Fill({0, 0, picture_.width(), picture_.height()}, MfdFrame::kBackground);
  for (int i = 0; i < static_cast<int>(slots_.size()); ++i)
    MfdFrame::Draw(painter, layout_.frames()[i], Content(i));
  const Win32::Rect status = layout_.statusLine();
  painter.Fill(status, 0xFF15171A);
  painter.Text({status.left + 8, status.top, status.right - 8, status.bottom}, Status(),
               Font::Plain, 11, 0xFFA8B0B8);
  if (box_)
    InputBoxView::Draw(painter, picture_.width(), picture_.height(), box_->title,
                       box_->visibleLength, box_->field);
}

void CockpitWindow::Present() { Cockpit::Present(window_.get(), picture_); }

Win32::Surface CockpitWindow::Screenshot() const { return Cockpit::Screenshot(window_.get()); }

}  // namespace Cockpit
