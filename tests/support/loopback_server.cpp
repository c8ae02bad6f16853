#include "tests/support/loopback_server.h"

namespace BrovisTest {

LoopbackServer::LoopbackServer(int port) {
  server_.set_logger([this](const httplib::Request& req, const httplib::Response&) {
    std::string line = req.method + " " + req.path;
    std::string query;
    for (const auto& [k, v] : req.params) query += (query.empty() ? "" : "&") + k + "=" + v;
    if (!query.empty()) line += "?" + query;
    std::lock_guard lock(mutex_);
    requests_.push_back(line);
  });
  port_ = port <= 0 ? server_.bind_to_any_port("127.0.0.1")
                    : (server_.bind_to_port("127.0.0.1", port) ? port : -1);
  // Without a port it does not listen: port() is -1.
  if (port_ < 0) return;
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LoopbackServer::~LoopbackServer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  server_.stop();
  if (thread_.joinable()) thread_.join();
}

std::string LoopbackServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void LoopbackServer::page(const std::string& path, const std::string& html,
                          const std::string& contentType, const httplib::Headers& headers) {
  const auto respond = [html, contentType, headers](const httplib::Request&,
                                                    httplib::Response& res) {
    res.set_content(html, contentType);
    for (const auto& [name, value] : headers) res.set_header(name, value);
  };
  server_.Get(path, respond);
  server_.Post(path, respond);
}

void LoopbackServer::endlessPage(const std::string& path) {
  server_.Get(path, [this](const httplib::Request&, httplib::Response& res) {
    res.set_chunked_content_provider("text/html", [this](size_t, httplib::DataSink& sink) {
      static const std::string start = "<html><body><p>loading for ever";
      sink.write(start.data(), start.size());
      for (;;) {
        {
          std::lock_guard lock(mutex_);
          if (stopping_) return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (!sink.is_writable()) return false;
      }
    });
  });
}

std::vector<std::string> LoopbackServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

bool LoopbackServer::waitForRequest(const std::string& prefix,
                                    std::chrono::milliseconds limit) const {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  do {
    for (const auto& line : requests())
      if (line.rfind(prefix, 0) == 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  } while (std::chrono::steady_clock::now() < deadline);
  return false;
}

}  // namespace BrovisTest
