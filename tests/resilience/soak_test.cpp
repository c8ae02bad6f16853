// Thousands of the pilot's commands over ordinary pages: after a warm-up, the process's memory,
// the page objects the engine holds, its open files and its child processes stay flat.
//
// BROVIS_SOAK_COMMANDS sets the number of commands, warm-up included (its first 1,000, or half
// of a shorter run).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "browser/engine/chromium/page/remote_dom.h"
#include "host/command_table.h"
#include "platform/forms/application.h"
#include "platform/orbiter/orbiter_host.h"
#include "tests/host/processes.h"
#include "tests/resilience/flight.h"
#include "tests/support/loopback_server.h"
#include "tests/support/pump.h"

namespace BrovisTest {
namespace {

using namespace std::chrono_literals;

// 10,000 commands take about four minutes: CI runs fewer, BROVIS_SOAK_COMMANDS=10000 all.
#ifdef BROVIS_SANITIZED_BUILD
constexpr int kDefaultCommands = 1000;
#else
constexpr int kDefaultCommands = 2000;
#endif
constexpr int kWarmUp = 1000;
constexpr long kRssSlackMb = 40;
// The selected element and the few objects a command holds while it runs.
constexpr std::size_t kLiveObjectLimit = 16;
// Loopback connections the browser keeps alive to the server may come and go.
constexpr int kFdSlack = 4;

struct Figures {
  long rssMb = 0;
  std::size_t liveObjects = 0;
  int fds = 0;
  int children = 0;
};

std::ostream& operator<<(std::ostream& out, const Figures& f) {
  return out << "RSS " << f.rssMb << " MB, " << f.liveObjects << " page objects, " << f.fds
             << " open files, " << f.children << " child processes";
}

Figures Measure() {
  Figures f;
  long pages = 0, resident = 0;
  std::ifstream("/proc/self/statm") >> pages >> resident;
  f.rssMb = resident * ::sysconf(_SC_PAGESIZE) / (1024 * 1024);
  f.liveObjects = Brovis::Engine::RemoteObject::LiveCount();
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
    ++f.fds;
  f.children = static_cast<int>(ProcessTree(::getpid()).size()) - 1;
  return f;
}

// The child processes by kind (the browser's --type, or the program), for a failure message.
std::string ChildKinds() {
  std::string kinds;
  for (int pid : ProcessTree(::getpid())) {
    if (pid == ::getpid()) continue;
    const std::string line = CommandLine(pid);
    const auto value = [&](const std::string& flag) {
      const auto at = line.find(flag);
      if (at == std::string::npos) return std::string();
      return line.substr(at + flag.size(), line.find(' ', at) - at - flag.size());
    };
    std::string kind = value("--utility-sub-type=");
    if (kind.empty()) kind = value("--type=");
    if (kind.empty()) kind = line.substr(0, line.find(' '));
    kinds.append(" ").append(std::to_string(pid)).append(":").append(kind);
  }
  return kinds;
}

std::string Page(const std::string& title, const std::string& body) {
  return "<!doctype html><html><head><title>" + title + "</title></head><body><h1>" + title +
         "</h1>" + body + "</body></html>";
}

class SoakTest : public FlightTest {
 protected:
  void SetUp() override {
    const std::string links =
        "<p><a href='/index'>index</a> <a href='/form'>form</a> <a href='/article'>article</a> "
        "<a href='/list'>list</a></p>";
    server.page("/index", Page("Index", links));
    server.page("/form", Page("Form", links + "<form action='/result' method='post'>"
                                              "<input name=a><input name=b type=checkbox>"
                                              "<select name=c><option>x<option>y</select>"
                                              "<textarea name=d rows=4></textarea>"
                                              "<input type=submit></form>"));
    std::string article;
    for (int i = 0; i < 300; ++i)
      article += "<p id=p" + std::to_string(i) + ">Paragraph " + std::to_string(i) +
                 " of a long article about docking ports and orbital mechanics, long enough to "
                 "wrap at every display size. <a href='#p" +
                 std::to_string((i * 7) % 300) + "'>jump</a></p>";
    server.page("/article", Page("Article", links + article));
    std::string list;
    for (int i = 0; i < 100; ++i)
      list += "<li><a href='/article#p" + std::to_string(i * 3) + "'>item " + std::to_string(i) +
              "</a> <input value='" + std::to_string(i) + "'></li>";
    server.page("/list", Page("List", links + "<ul>" + list + "</ul>"));
    server.page("/result", Page("Result", links));
  }

  // One of the pilot's commands, without waiting for what it starts.
  void Command(FlownDisplay& display) {
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); };
    if (OrbiterHost::OpenInputBox()) {
      const bool url = OrbiterHost::OpenInputBox()->title == "Input URL";
      OrbiterHost::ConfirmInputBox(url ? server.url(kPaths[pick(kPaths.size())])
                                       : "docking port " + std::to_string(pick(1000)));
    } else if (pick(20) == 0) {
      display.Load(server.url(kPaths[pick(kPaths.size())]));
    } else {
      display.mode().ConsumeButton(pick(Brovis::kButtonCount), 1);
    }
  }

  // Lets what the commands started finish, so that the figures do not catch it half-way.
  Figures Settled(FlownDisplay& display) {
    OrbiterHost::CancelInputBox();
    PumpFor(1s);
    display.Redraw();
    return Measure();
  }

  const std::vector<std::string> kPaths = {"/index", "/form", "/article", "/list"};
  LoopbackServer server;
  std::mt19937 rng_{2024};
};

TEST_F(SoakTest, ResourcesStayFlatOverThousandsOfCommands) {
  const char* env = std::getenv("BROVIS_SOAK_COMMANDS");
  const int commands = env && *env ? std::atoi(env) : kDefaultCommands;
  const int warmUp = std::min(kWarmUp, commands / 2);
  auto display = std::make_unique<FlownDisplay>(256, 256);
  display->Load(server.url("/index"));
  // The browser starts in the background; the commands begin once its first page has come.
  ASSERT_TRUE(PumpUntil([&] { return server.waitForRequest("GET /index", 10ms); }, 30s));

  const auto started = std::chrono::steady_clock::now();
  Figures warm, peak;
  std::string warmChildren;
  for (int i = 1; i <= commands; ++i) {
    Command(*display);
    Forms::Application::DoEvents();
    if (i % 4 == 0) display->Redraw();
    // Displays come and go; the browser they share stays.
    if (i % 500 == 0) display = std::make_unique<FlownDisplay>(i % 1000 ? 320 : 256, 256);
    if (i == warmUp) {
      warm = peak = Settled(*display);
      warmChildren = ChildKinds();
      std::cout << "after " << i << " commands: " << warm << std::endl;
    } else if (i > warmUp && i % 1000 == 0) {
      const Figures now = Settled(*display);
      std::cout << "after " << i << " commands: " << now << std::endl;
      peak.rssMb = std::max(peak.rssMb, now.rssMb);
      peak.liveObjects = std::max(peak.liveObjects, now.liveObjects);
    }
  }
  const Figures last = Settled(*display);
  const auto seconds =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started);
  std::cout << "after " << commands << " commands (" << seconds.count() << " s, "
            << server.requests().size() << " page requests): " << last << "\n";

#ifndef BROVIS_SANITIZED_BUILD
  // AddressSanitizer holds freed memory back on purpose, so resident memory says nothing there;
  // its leak checker covers that build instead.
  EXPECT_LE(std::max(peak.rssMb, last.rssMb), warm.rssMb + kRssSlackMb);
#endif
  EXPECT_LE(std::max(peak.liveObjects, last.liveObjects), kLiveObjectLimit);
  EXPECT_LE(last.fds, warm.fds + kFdSlack);
  // A helper process the browser starts now and then may still be on its way out.
  EXPECT_TRUE(PumpUntil([&] { return Measure().children <= warm.children; }, 10s))
      << "child processes: " << warm.children << " after the warm-up (" << warmChildren << "), now"
      << ChildKinds();
}

}  // namespace
}  // namespace BrovisTest
