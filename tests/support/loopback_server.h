#pragma once
// A web server on 127.0.0.1 for tests that must see what the browser asked for. Pages are
// registered by path; every request line is recorded.
#include <httplib.h>

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace BrovisTest {

class LoopbackServer {
 public:
  // On a port of the system's choice, or on `port`.
  explicit LoopbackServer(int port = 0);
  ~LoopbackServer();

  int port() const { return port_; }
  // http://127.0.0.1:PORT + path
  std::string url(const std::string& path) const;
  // `headers` go with every response (a download's Content-Disposition, for example).
  void page(const std::string& path, const std::string& html,
            const std::string& contentType = "text/html; charset=utf-8",
            const httplib::Headers& headers = {});
  // A page whose response starts but never ends, until the server stops.
  void endlessPage(const std::string& path);
  // Request lines such as "GET /next?q=abc", in arrival order.
  std::vector<std::string> requests() const;
  // Waits until a request whose line starts with `prefix` has arrived; false on time-out.
  bool waitForRequest(const std::string& prefix, std::chrono::milliseconds limit) const;

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  bool stopping_ = false;
};

}  // namespace BrovisTest
