#pragma once
// Bytes to and from the browser's debugging pipe, framed by NUL bytes. Framing and nothing else:
// reads never block and keep an unfinished message for the next read.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "browser/engine/chromium/unique_fd.h"

namespace Brovis::Engine {

class PipeTransport {
 public:
  // `readFd` carries the browser's messages, `writeFd` ours. Both become non-blocking.
  PipeTransport(UniqueFd readFd, UniqueFd writeFd);

  // Sends one message and its NUL. False once the pipe is broken or the peer stops reading for
  // longer than `limitMs`.
  bool send(std::string_view message, int limitMs = 2000);
  // Reads whatever is available and returns the complete messages in it. Sets closed() at the
  // end of the stream or on an error.
  std::vector<std::string> receive();
  // Waits up to `limitMs` for something to read; false on time-out.
  bool waitReadable(int limitMs) const;

  bool closed() const { return closed_; }
  int readHandle() const { return readFd_.get(); }
  void close();

  // Messages larger than this end the connection rather than the memory.
  static constexpr std::size_t kMaxMessage = 256u << 20;

 private:
  UniqueFd readFd_;
  UniqueFd writeFd_;
  std::string partial_;
  bool closed_ = false;
};

}  // namespace Brovis::Engine
