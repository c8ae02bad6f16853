#include "cockpit/script_runner.h"

#include <string>
#include <string_view>

#include "cockpit/host_code_page_text.h"
#include "cockpit/png_file.h"

namespace Cockpit {

namespace {

const char* Bool(bool value) { return value ? "true" : "false"; }

std::string Quoted(const char* text) {
  if (!text) return "-";
  // Appended, not added: GCC 12 warns falsely (-Wrestrict) on "text" + std::string at -O3.
  std::string quoted = "\"";
  quoted.append(text).append("\"");
  return quoted;
}

// The button a pilot presses to load an address: the one the display labels "URL".
int AddressButton(MFD& mfd) {
  for (int b = 0; b < 12; ++b)
    if (const char* label = mfd.ButtonLabel(b); label && std::string_view(label) == "URL") return b;
  throw ScriptError("no button is labelled URL");
}

}  // namespace

ScriptRunner::ScriptRunner(Simulator& simulator, std::filesystem::path outDir, std::ostream& out)
    : simulator_(simulator), outDir_(std::move(outDir)), out_(out) {
  OrbiterHost::SetInputBoxListener([this](const OrbiterHost::InputBox& box) {
    boxOpened_ = true;
    out_ << "inputbox \"" << box.title << "\" len=" << box.visibleLength << std::endl;
  });
}

ScriptRunner::~ScriptRunner() { OrbiterHost::SetInputBoxListener({}); }

Display& ScriptRunner::Current() {
  Display* display = simulator_.Find(current_);
  if (!display) throw ScriptError("display " + std::to_string(current_) + " is not open");
  return *display;
}

void ScriptRunner::Run(const Command& c) try {
  switch (c.op) {
    case Op::Open:
      simulator_.Open(c.display, c.width, c.height);
      break;
    case Op::Close:
      simulator_.Close(c.display);
      break;
    case Op::Select:
      current_ = c.display;
      break;
    case Op::Button:
      PressButton(c.button, c.event);
      break;
    case Op::Key: {
      const bool hadPage = simulator_.HasPage();
      boxOpened_ = false;
      const bool consumed = Current().mfd().ConsumeKeyBuffered(c.key);
      out_ << "key " << c.key << " -> " << Bool(consumed) << std::endl;
      if (consumed) SayIfNoPage(hadPage, "key " + std::to_string(c.key));
      break;
    }
    case Op::Type:
      Type(c.text);
      break;
    case Op::Cancel:
      if (!OrbiterHost::CancelInputBox()) throw ScriptError("no input box is open");
      break;
    case Op::Url:
      PressButton(AddressButton(Current().mfd()), 1);
      Type(c.text);
      break;
    case Op::Wait:
      simulator_.Run(std::chrono::milliseconds(c.milliseconds));
      break;
    case Op::Settle:
      simulator_.Settle(Current(), std::chrono::milliseconds(c.milliseconds));
      break;
    case Op::Loaded:
      simulator_.Loaded(std::chrono::milliseconds(c.milliseconds));
      break;
    case Op::Snap:
      Snap(c.text);
      break;
    case Op::Labels:
      Labels();
      break;
    case Op::Menu:
      Menu();
      break;
  }
} catch (const SimulatorError& e) {
  // A display the line cannot open or close: the line's error.
  throw ScriptError(e.what());
}

void ScriptRunner::PressButton(int button, int event) {
  const bool hadPage = simulator_.HasPage();
  boxOpened_ = false;
  const bool consumed = Current().mfd().ConsumeButton(button, event);
  out_ << "button " << button << " event " << event << " -> " << Bool(consumed) << std::endl;
  if (consumed) SayIfNoPage(hadPage, "button " + std::to_string(button));
}

void ScriptRunner::SayIfNoPage(bool hadPage, const std::string& press) {
  // An input box waits for its text, with or without a page; any other command needed one.
  if (hadPage || boxOpened_) return;
  out_ << "no page: " << press << " reached no page (the browser is starting or restarting)"
       << std::endl;
}

void ScriptRunner::Type(const std::string& text) {
  if (!OrbiterHost::ConfirmInputBox(ToHostCodePage(text)))
    throw ScriptError("no input box is open");
}

void ScriptRunner::Snap(const std::string& file) {
  Display& display = Current();
  display.Redraw(Clock::now());
  const std::filesystem::path path = outDir_ / file;
  try {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    WritePng(display.surface(), path);
  } catch (const std::exception& e) {
    throw ScriptError(e.what());
  }
  out_ << "snap " << path.string() << ' ' << display.width() << 'x' << display.height()
       << std::endl;
}

void ScriptRunner::Labels() {
  MFD& mfd = Current().mfd();
  for (int b = 0; b < 12; ++b) {
    const char* label = mfd.ButtonLabel(b);
    out_ << "label " << b << ' ' << (label ? label : "-") << std::endl;
  }
}

void ScriptRunner::Menu() {
  const MFDBUTTONMENU* menu = nullptr;
  const int count = Current().mfd().ButtonMenu(&menu);
  out_ << "menu " << count << std::endl;
  for (int b = 0; menu && b < count; ++b) {
    const MFDBUTTONMENU entry = menu[b];
    out_ << "menu " << b << ' ' << Quoted(entry.line1) << ' ' << Quoted(entry.line2) << ' ';
    if (entry.selchar)
      out_ << '\'' << entry.selchar << '\'';
    else
      out_ << '-';
    out_ << std::endl;
  }
}

int RunScript(std::istream& in, ScriptRunner& runner, std::ostream& err) {
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    try {
      if (const auto command = ParseLine(line)) runner.Run(*command);
    } catch (const ScriptError& e) {
      err << "line " << number << ": " << e.what() << std::endl;
      return 2;
    }
  }
  return 0;
}

}  // namespace Cockpit
