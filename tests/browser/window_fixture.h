#pragma once
// A browser window on a local page, with helpers to wait for loads and to look at the page.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "browser/brovis_form.h"
#include "tests/browser/form_access.h"
#include "tests/support/loopback_server.h"
#include "tests/support/pump.h"

namespace BrovisTest {

Brovis::BrowserText Text(const std::string& s);
std::string Str(const Brovis::BrowserText& s);

class WindowTest : public ::testing::Test {
 protected:
  // Opens the window on `address` and waits until the page has loaded and been captured.
  void Open(const std::string& address);
  // Takes a window constructed by the test, shows it and waits for its first load.
  void Attach(std::unique_ptr<Brovis::BrovisForm> window);
  // Navigates and waits for the load to complete.
  void Load(const std::string& address);
  // Waits until no load is in progress and the completion has been handled.
  void Settle();
  // Evaluates `expression` in the page; its value as text (JSON for objects), none on failure.
  std::optional<std::string> Eval(const std::string& expression);
  int EvalInt(const std::string& expression);
  // Prints the whole window into a w x h surface, as a display's redraw does.
  Win32::Surface Print(int w, int h);

  Brovis::BrovisFormTestAccess& access() { return *access_; }

  LoopbackServer server;
  std::unique_ptr<Brovis::BrovisForm> form;
  std::unique_ptr<Brovis::BrovisFormTestAccess> access_;
  int completions = 0;
};

}  // namespace BrovisTest
