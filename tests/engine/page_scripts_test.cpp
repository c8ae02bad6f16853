// Every script the module runs in the page compiles in the browser; a failure names its file.
#include "browser/engine/chromium/page/page_scripts.h"

#include <gtest/gtest.h>

#include "browser/engine/chromium/process/browser_session.h"

namespace Brovis::Engine {
namespace {

using namespace std::chrono_literals;

TEST(PageScripts, EachFileCompilesAsAFunctionInThePage) {
  std::string error;
  auto session = BrowserSession::Start([](const ProtocolEvent&) {}, 0, 0, true, error);
  ASSERT_TRUE(session) << error;
  const auto end = std::chrono::steady_clock::now() + BrowserSession::kStartLimit;
  while (session->state() == BrowserSession::State::Attaching &&
         std::chrono::steady_clock::now() < end)
    session->connection().waitAndPoll(50ms);
  ASSERT_EQ(session->state(), BrowserSession::State::Ready) << session->failure();

  ASSERT_FALSE(Scripts::AllPageScripts().empty());
  for (const auto& script : Scripts::AllPageScripts()) {
    // The module hands each one to the page as a function expression.
    const CallResult compiled =
        session->connection().call("Runtime.compileScript",
                                   {{"expression", "(" + std::string(script.text) + ")"},
                                    {"sourceURL", std::string(script.file)},
                                    {"persistScript", false}},
                                   session->sessionId(), 10s);
    ASSERT_TRUE(compiled) << script.file << ": " << compiled.message;
    EXPECT_FALSE(compiled.result->contains("exceptionDetails"))
        << script.file << ": " << compiled.result->dump();
  }
}

}  // namespace
}  // namespace Brovis::Engine
