#include "tests/browser/window_fixture.h"

#include <nlohmann/json.hpp>

#include "platform/win32/win32.h"

namespace BrovisTest {

Brovis::BrowserText Text(const std::string& s) { return Brovis::FromUtf8Bytes(s); }
std::string Str(const Brovis::BrowserText& s) { return std::string(Brovis::AsUtf8Bytes(s)); }

void WindowTest::Open(const std::string& address) {
  Attach(std::make_unique<Brovis::BrovisForm>(Text(address)));
}

void WindowTest::Attach(std::unique_ptr<Brovis::BrovisForm> window) {
  form = std::move(window);
  access_ = std::make_unique<Brovis::BrovisFormTestAccess>(*form);
  ASSERT_NE(access().browser().engine(), nullptr) << "no browser";
  access().browser().DocumentCompleted +=
      [this](Forms::Control*, Brovis::WebBrowserDocumentCompletedEventArgs&) { ++completions; };
  form->Show();
  form->SendToBack();
  Settle();
}

void WindowTest::Settle() {
  // A load that was started is complete once nothing loads any more, the window has handled its
  // completion, and it was captured.
  ASSERT_TRUE(PumpUntil([&] {
    return !access().browser().IsBusy() && form->Progress() == Brovis::PageProgress::Loaded &&
           access().bm();
  }));
  PumpFor(std::chrono::milliseconds{50});
}

void WindowTest::Load(const std::string& address) {
  const int before = completions;
  form->Navigate(Text(address));
  ASSERT_TRUE(PumpUntil([&] { return completions > before && !access().browser().IsBusy(); }));
  PumpFor(std::chrono::milliseconds{50});
}

std::optional<std::string> WindowTest::Eval(const std::string& expression) {
  auto* engine = access().diagnostics();
  if (!engine) return std::nullopt;
  auto json = engine->evaluate(expression);
  if (!json) return std::nullopt;
  // Strings come back quoted; tests compare the plain text.
  const auto value = nlohmann::json::parse(*json, nullptr, false);
  if (value.is_string()) return value.get<std::string>();
  return json;
}

int WindowTest::EvalInt(const std::string& expression) {
  const auto v = Eval(expression);
  return v ? std::stoi(*v) : -1;
}

Win32::Surface WindowTest::Print(int w, int h) {
  form->SetSize(w, h);
  Win32::Surface surface(w, h, 0xFF000000);
  Win32::SurfaceDC dc(surface);
  PrintWindow(form->GetHandle(), dc.get(), 0);
  return surface;
}

}  // namespace BrovisTest
