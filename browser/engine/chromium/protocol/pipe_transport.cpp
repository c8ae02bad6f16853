#include "browser/engine/chromium/protocol/pipe_transport.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace Brovis::Engine {

namespace {
void MakeNonBlocking(int fd) {
  if (fd < 0) return;
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

// Milliseconds from now until `until`, rounded up so that a wait does not end just before it.
int MillisecondsUntil(std::chrono::steady_clock::time_point until) {
  const auto left =
      std::chrono::ceil<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
  return static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(left.count(), 0, 1 << 30));
}
}  // namespace

PipeTransport::PipeTransport(UniqueFd readFd, UniqueFd writeFd)
    : readFd_(std::move(readFd)), writeFd_(std::move(writeFd)) {
  MakeNonBlocking(readFd_.get());
  MakeNonBlocking(writeFd_.get());
  closed_ = !readFd_ || !writeFd_;
}

void PipeTransport::close() {
  closed_ = true;
  readFd_.reset();
  writeFd_.reset();
  partial_.clear();
  unsent_.clear();
  unsentFrom_ = 0;
}

bool PipeTransport::send(std::string_view message, int limitMs) {
  if (closed_) return false;
  if (unsentBytes() == 0) {
    unsent_.clear();
    unsentFrom_ = 0;
    lastProgress_ = Clock::now();
  }
  if (unsentBytes() + message.size() >= kMaxMessage) {
    close();
    return false;
  }
  unsent_.append(message);
  unsent_.push_back('\0');
  write(Clock::now() + std::chrono::milliseconds(std::max(limitMs, 0)));
  return !closed_;
}

void PipeTransport::flush() { write(Clock::now()); }

void PipeTransport::write(Clock::time_point until) {
  while (!closed_ && unsentBytes() > 0) {
    const char* rest = unsent_.data() + unsentFrom_;
    // Sockets get MSG_NOSIGNAL, so that a browser that died takes an error, not the host
    // process with SIGPIPE; plain pipes fall back to write().
    ssize_t n = ::send(writeFd_.get(), rest, unsentBytes(), MSG_NOSIGNAL);
    if (n < 0 && errno == ENOTSOCK) n = ::write(writeFd_.get(), rest, unsentBytes());
    if (n > 0) {
      unsentFrom_ += static_cast<std::size_t>(n);
      lastProgress_ = Clock::now();
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      const auto stalled = lastProgress_ + kStallLimit;
      if (Clock::now() >= stalled) break;
      const int wait = MillisecondsUntil(std::min(until, stalled));
      if (wait <= 0) return;
      pollfd p{writeFd_.get(), POLLOUT, 0};
      ::poll(&p, 1, wait);
      continue;
    }
    break;
  }
  if (closed_) return;
  if (unsentBytes() > 0) {
    // Broken, or not read for too long. Part of a message cannot be taken back either: the
    // stream is unusable from here on.
    close();
    return;
  }
  // A large message's buffer is not kept for the rest of the flight.
  if (unsent_.capacity() > kKeptBuffer) unsent_ = std::string();
  unsent_.clear();
  unsentFrom_ = 0;
}

std::vector<std::string> PipeTransport::receive() {
  std::vector<std::string> messages;
  if (closed_) return messages;
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t n = ::read(readFd_.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    if (n <= 0) {
      close();
      break;
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
      if (buffer[i] != '\0') continue;
      partial_.append(buffer + start, i - start);
      messages.push_back(std::move(partial_));
      partial_.clear();
      start = i + 1;
    }
    partial_.append(buffer + start, static_cast<std::size_t>(n) - start);
    if (partial_.size() > kMaxMessage) {
      close();
      break;
    }
  }
  return messages;
}

bool PipeTransport::waitReadable(int limitMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(limitMs, 0));
  for (;;) {
    if (closed_) return false;
    const bool writing = unsentBytes() > 0;
    pollfd p[2] = {{readFd_.get(), POLLIN, 0}, {writeFd_.get(), POLLOUT, 0}};
    int wait = MillisecondsUntil(deadline);
    if (writing) wait = std::min(wait, MillisecondsUntil(lastProgress_ + kStallLimit));
    const int r = ::poll(p, writing ? 2 : 1, wait);
    if (r < 0 && errno != EINTR) return false;
    if (writing) flush();
    if (r > 0 && p[0].revents != 0) return true;
    if (Clock::now() >= deadline) return false;
  }
}

}  // namespace Brovis::Engine
