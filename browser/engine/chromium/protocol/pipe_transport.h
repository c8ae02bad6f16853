#pragma once
// Bytes to and from the browser's debugging pipe, framed by NUL bytes. Framing and nothing else:
// reads never block and keep an unfinished message for the next read; a write waits no longer
// than its caller allows and keeps what the peer has not taken yet for the next chance.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "browser/engine/chromium/protocol/unique_fd.h"

namespace Brovis::Engine {

class PipeTransport {
 public:
  // `readFd` carries the browser's messages, `writeFd` ours. Both become non-blocking.
  PipeTransport(UniqueFd readFd, UniqueFd writeFd);

  // Queues one message and its NUL behind any still unsent, and writes for up to `limitMs`;
  // what the peer does not take by then goes out with later sends, flushes and waits. False once
  // the pipe is closed: broken, or the peer took nothing for kStallLimit while output waited.
  bool send(std::string_view message, int limitMs = 2000);
  // Writes what the peer takes now of the unsent output, without waiting.
  void flush();
  // Reads whatever is available and returns the complete messages in it. Sets closed() at the
  // end of the stream or on an error.
  std::vector<std::string> receive();
  // Waits up to `limitMs` for something to read, writing unsent output meanwhile; false on
  // time-out.
  bool waitReadable(int limitMs);

  bool closed() const { return closed_; }
  int readHandle() const { return readFd_.get(); }
  std::size_t unsentBytes() const { return unsent_.size() - unsentFrom_; }
  void close();

  // Messages larger than this, or more unsent output, end the connection rather than the memory.
  static constexpr std::size_t kMaxMessage = 256u << 20;
  // A peer that takes none of the output waiting for it for this long is not reading any more.
  static constexpr std::chrono::milliseconds kStallLimit{2000};

 private:
  using Clock = std::chrono::steady_clock;
  static constexpr std::size_t kKeptBuffer = 1u << 20;
  // Writes until nothing is unsent, or until `until`, or the stall limit.
  void write(Clock::time_point until);

  UniqueFd readFd_;
  UniqueFd writeFd_;
  std::string partial_;
  std::string unsent_;
  std::size_t unsentFrom_ = 0;
  // When the peer last took output, or output began to wait.
  Clock::time_point lastProgress_{};
  bool closed_ = false;
};

}  // namespace Brovis::Engine
