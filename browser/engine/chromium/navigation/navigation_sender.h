#pragma once
// Sends the page's own navigations (the pilot's loads and history steps) and the questions that go
// with them: a navigation counts as requested in the page's load until the browser answers it.
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "browser/engine/chromium/navigation/page_load.h"
#include "browser/engine/chromium/protocol/connection.h"

namespace Brovis::Engine {

class NavigationSender {
 public:
  explicit NavigationSender(PageLoad& load) : load_(load) {}

  // A browser's page is attached: what is sent goes to it.
  void attach(Connection& connection, std::string sessionId);
  // The browser goes; answers meant for it are not handed on.
  void detach();
  bool attached() const { return connection_ != nullptr; }

  // Sends what brings the top document new content (a navigation, or the notice written into a
  // failed load's document); `onAnswer` runs with the browser's answer.
  // A navigation waits for its answer as long as the browser takes; other commands have `limit`.
  void navigate(std::string_view method, Json params, Connection::ReplyHandler onAnswer = {},
                std::chrono::milliseconds limit = std::chrono::milliseconds::max());
  // Asks the page's session something else; `onAnswer` runs with the answer, unless the browser
  // went meanwhile.
  void ask(std::string_view method, Connection::ReplyHandler onAnswer,
           std::chrono::milliseconds limit);

 private:
  PageLoad& load_;
  Connection* connection_ = nullptr;
  std::string sessionId_;
  // Tells an answer meant for a page already gone from one for the attached page.
  std::uint64_t attachment_ = 0;
};

}  // namespace Brovis::Engine
