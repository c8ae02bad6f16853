// The pipe's framing and writes, and the connection's replies, time limits, close and reading of
// messages, over a socket pair with this test playing the browser.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <string>
#include <thread>

#include "browser/engine/call_budget.h"
#include "browser/engine/chromium/protocol/connection.h"
#include "browser/engine/chromium/protocol/pipe_transport.h"

namespace Brovis::Engine {
namespace {

using namespace std::chrono_literals;

struct Pair {
  UniqueFd ours, theirs;
};

Pair MakePair() {
  int fds[2];
  EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
  return {UniqueFd(fds[0]), UniqueFd(fds[1])};
}

void Write(const UniqueFd& fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
    ASSERT_GT(n, 0);
    done += static_cast<std::size_t>(n);
  }
}

std::string ReadAll(const UniqueFd& fd) {
  char buffer[4096];
  const ssize_t n = ::recv(fd.get(), buffer, sizeof buffer, MSG_DONTWAIT);
  return n > 0 ? std::string(buffer, n) : std::string();
}

TEST(PipeTransport, SplitsOnNulAndCarriesAnUnfinishedTail) {
  auto in = MakePair(), out = MakePair();
  PipeTransport pipe(std::move(in.ours), std::move(out.ours));
  Write(in.theirs, std::string("one\0two\0thr", 11));
  EXPECT_EQ(pipe.receive(), (std::vector<std::string>{"one", "two"}));
  EXPECT_TRUE(pipe.receive().empty());
  Write(in.theirs, std::string("ee\0", 3));
  EXPECT_EQ(pipe.receive(), (std::vector<std::string>{"three"}));
  EXPECT_FALSE(pipe.closed());

  ASSERT_TRUE(pipe.send("hello"));
  EXPECT_EQ(ReadAll(out.theirs), std::string("hello\0", 6));
}

TEST(PipeTransport, AWriteTheBrowserDoesNotTakeWaitsNoLongerThanAllowed) {
  auto in = MakePair(), out = MakePair();
  PipeTransport pipe(std::move(in.ours), std::move(out.ours));
  // Far more than the socket holds: with no time allowed, the rest is kept for later.
  const std::string big(4 << 20, 'x');
  ASSERT_TRUE(pipe.send(big, 0));
  ASSERT_TRUE(pipe.send("next", 0));
  EXPECT_GT(pipe.unsentBytes(), 0u);
  std::string arrived;
  while (arrived.size() < big.size() + 6 && !pipe.closed()) {
    pipe.flush();
    arrived += ReadAll(out.theirs);
  }
  EXPECT_FALSE(pipe.closed());
  EXPECT_EQ(pipe.unsentBytes(), 0u);
  EXPECT_TRUE(arrived == big + '\0' + "next" + '\0');

  // A browser that takes nothing at all is given up for lost, however long it is waited for.
  ASSERT_TRUE(pipe.send(big, 0));
  while (!pipe.closed()) pipe.waitReadable(5000);
}

TEST(PipeTransport, PeerGoneClosesWithoutSignal) {
  auto in = MakePair(), out = MakePair();
  PipeTransport pipe(std::move(in.ours), std::move(out.ours));
  in.theirs.reset();
  out.theirs.reset();
  EXPECT_TRUE(pipe.receive().empty());
  EXPECT_TRUE(pipe.closed());
  EXPECT_FALSE(pipe.send("late"));  // no SIGPIPE: the test process is still here
}

class ConnectionTest : public ::testing::Test {
 protected:
  ConnectionTest() {
    auto in = MakePair(), out = MakePair();
    browserWrites = std::move(in.theirs);
    browserReads = std::move(out.theirs);
    connection =
        std::make_unique<Connection>(PipeTransport(std::move(in.ours), std::move(out.ours)));
    connection->setEventHandler([this](const ProtocolEvent& e) {
      events.push_back(std::string(e.method) + "@" + std::string(e.sessionId));
      eventParams.push_back(e.params);
    });
  }
  // Writes the messages as the browser would, from a thread of its own: large ones do not fit
  // into the socket while nobody reads.
  std::jthread Browse(std::vector<std::string> messages) {
    return std::jthread([this, messages = std::move(messages)] {
      for (const std::string& m : messages) Write(browserWrites, m + '\0');
    });
  }
  UniqueFd browserWrites, browserReads;
  std::unique_ptr<Connection> connection;
  std::vector<std::string> events;
  std::vector<nlohmann::json> eventParams;
};

TEST_F(ConnectionTest, CallWaitsForItsOwnReplyAndRoutesEventsMeanwhile) {
  // The browser's answers are already on their way: an unrelated reply, an event, then ours.
  Write(browserWrites, std::string(R"({"id":99,"result":{}})") + '\0' +
                           R"({"method":"Page.loadEventFired","params":{},"sessionId":"S"})" +
                           '\0' + R"({"id":1,"result":{"answer":42}})" + '\0');
  const CallResult r = connection->call("Test.method", {{"x", 1}}, "S", 1000ms);
  ASSERT_TRUE(r) << r.message;
  EXPECT_EQ((*r.result)["answer"], 42);
  EXPECT_EQ(events, (std::vector<std::string>{"Page.loadEventFired@S"}));
  const auto sent = nlohmann::json::parse(ReadAll(browserReads).c_str());
  EXPECT_EQ(sent["method"], "Test.method");
  EXPECT_EQ(sent["sessionId"], "S");
  EXPECT_EQ(sent["id"], 1);
}

TEST_F(ConnectionTest, FailuresHaveTypesAndOneMessageFormat) {
  std::vector<CallResult> replies;
  for (const char* method : {"DOM.thing", "DOM.other", "Odd.result", "Cut.short"})
    connection->post(
        method, {}, "", [&](CallResult r) { replies.push_back(std::move(r)); }, 1000ms);
  Write(browserWrites, std::string(R"({"id":1,"error":{"code":-32000,"message":"No node"}})") +
                           '\0' + R"({"id":2,"error":{"message":42}})" + '\0' +
                           R"({"id":3,"result":7})" + '\0' + R"({"id":4,"result":{"cut":)" + '\0');
  while (replies.size() < 4 && connection->waitAndPoll(1000ms)) {
  }
  ASSERT_EQ(replies.size(), 4u);
  EXPECT_EQ(replies[0].error, CallError::Refused);
  EXPECT_EQ(replies[0].message, "DOM.thing refused (limit 1000 ms): No node");
  // Fields of unexpected types and replies not of the protocol's shape throw nothing; a reply
  // that is not JSON fails its own command at once rather than leaving it to time out.
  EXPECT_EQ(replies[1].error, CallError::Refused);
  EXPECT_EQ(replies[1].message, "DOM.other refused (limit 1000 ms)");
  EXPECT_EQ(replies[2].error, CallError::Malformed);
  EXPECT_EQ(replies[3].error, CallError::Malformed);

  CallResult r;
  r = connection->call("Runtime.evaluate", {}, "", 30ms);
  EXPECT_EQ(r.error, CallError::TimedOut);
  EXPECT_EQ(r.message, "Runtime.evaluate timed out (limit 30 ms)");
  {
    const CallBudget spent(0ms);
    EXPECT_EQ(connection->call("Page.spent", {}, "", 1000ms).error, CallError::OutOfBudget);
  }
  {
    const CallBudget shorter(30ms);
    EXPECT_EQ(connection->call("Page.cut", {}, "", 1000ms).error, CallError::OutOfBudget);
  }
  EXPECT_EQ(connection->waitingCommands(), 0u);

  // The replies to the calls that gave up arrive late and are dropped; the connection stays
  // usable.
  Write(browserWrites, std::string(R"({"id":5,"result":{}})") + '\0' + R"({"id":6,"result":{}})" +
                           '\0' + R"({"id":7,"result":{"ok":true}})" + '\0' + "not json" + '\0');
  r = connection->call("Next.call", {}, "", 1000ms);
  ASSERT_TRUE(r) << r.message;
  EXPECT_EQ((*r.result)["ok"], true);
}

// The sanitized build makes each command some forty times dearer.
#ifdef BROVIS_SANITIZED_BUILD
constexpr int kManyCommands = 20000;
#else
constexpr int kManyCommands = 100000;
#endif

TEST_F(ConnectionTest, EntriesLiveUntilTheirReplyExpiryOrClose) {
  // Many commands, half of them without a reply handler, every one answered.
  int answered = 0;
  for (int id = 1; id <= kManyCommands; ++id) {
    if (id % 2)
      connection->post("Page.screencastFrameAck", {}, "");
    else
      connection->post("Runtime.releaseObject", {}, "",
                       [&](const CallResult& r) { answered += r ? 1 : 0; });
    if (id % 100 == 0) {
      while (!ReadAll(browserReads).empty()) {
      }
      std::string replies;
      for (int done = id - 99; done <= id; ++done)
        replies += R"({"id":)" + std::to_string(done) + R"(,"result":{}})" + '\0';
      Write(browserWrites, replies);
      while (connection->waitingCommands() > 0 && connection->waitAndPoll(1000ms)) {
      }
    }
  }
  EXPECT_EQ(answered, kManyCommands / 2);
  EXPECT_EQ(connection->waitingCommands(), 0u);

  std::vector<CallError> failures;
  const auto note = [&](const CallResult& r) { failures.push_back(r.error); };
  connection->post("Slow.one", {}, "", note, 20ms);
  connection->post("Slow.two", {}, "", note, 10ms);
  connection->post("Never.answered", {}, "", note);
  EXPECT_EQ(connection->waitingCommands(), 3u);
  while (failures.size() < 2) connection->waitAndPoll(1000ms);
  EXPECT_EQ(failures, (std::vector<CallError>{CallError::TimedOut, CallError::TimedOut}));
  EXPECT_EQ(connection->waitingCommands(), 1u);
  connection->close();
  EXPECT_EQ(failures.back(), CallError::Closed);
  EXPECT_EQ(connection->waitingCommands(), 0u);
}

TEST_F(ConnectionTest, NoMessageIsLostForItsTextOrSize) {
  connection->dropEvents({"Runtime.consoleAPICalled"});
  std::vector<CallResult> replies;
  for (const char* method : {"Runtime.evaluate", "Runtime.callFunctionOn"})
    connection->post(method, {}, "", [&](CallResult r) { replies.push_back(std::move(r)); });
  const std::string huge(9 << 20, 'a');
  auto browser = Browse({
      // Nobody waits for these: skipped, however large.
      R"({"id":99,"result":{"text":")" + huge + R"("}})",
      R"({"method":"Runtime.consoleAPICalled","params":{"text":")" + huge + R"("}})",
      "[" + huge + "]",
      // Half of a surrogate pair, alone or not, a whole pair, and an escaped backslash.
      R"({"method":"Page.frameNavigated","params":{"name":"\ud800|\udc00x|\ud83d\ude00|\\ud800"}})",
      R"({"method":"Runtime.consoleAPICalled","params":{}})",
      R"({"method":"Page.odd","params":[1],"sessionId":5})",
      // Ours: too large to read, then one holding a lone surrogate.
      R"({"id":1,"result":{"text":")" + huge + R"("}})",
      R"({"id":2,"result":{"value":"a\udbffb"}})",
  });
  while (replies.size() < 2 && connection->waitAndPoll(10000ms)) {
  }
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(replies[0].error, CallError::Malformed);
  ASSERT_TRUE(replies[1]) << replies[1].message;
  EXPECT_EQ((*replies[1].result)["value"], "a\uFFFDb");
  EXPECT_EQ(events, (std::vector<std::string>{"Page.frameNavigated@", "Page.odd@"}));
  EXPECT_EQ(eventParams[0]["name"], "\uFFFD|\uFFFDx|\U0001F600|\\ud800");
  EXPECT_EQ(eventParams[1], nlohmann::json::object());
  EXPECT_FALSE(connection->closed());
}

TEST_F(ConnectionTest, CloseFailsWaitingCommandsAndLaterSends) {
  int failures = 0;
  connection->post("A.b", {}, "", [&](const CallResult& r) { failures += !r; });
  browserWrites.reset();
  const CallResult r = connection->call("C.d", {}, "", 5000ms);
  EXPECT_EQ(r.error, CallError::Closed);
  EXPECT_EQ(r.message, "C.d closed (limit 5000 ms)");
  EXPECT_EQ(failures, 1);
  EXPECT_TRUE(connection->closed());
  connection->post("E.f", {}, "", [&](const CallResult& r) { failures += !r; });
  EXPECT_EQ(failures, 2);
}

}  // namespace
}  // namespace Brovis::Engine
