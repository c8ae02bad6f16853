#include "browser/engine/chromium/pipe_transport.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace Brovis::Engine {

namespace {
void MakeNonBlocking(int fd) {
  if (fd < 0) return;
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
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
}

bool PipeTransport::send(std::string_view message, int limitMs) {
  if (closed_) return false;
  std::string framed(message);
  framed.push_back('\0');
  std::string_view rest = framed;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (!rest.empty()) {
    // Sockets get MSG_NOSIGNAL, so that a browser that died takes an error, not the host
    // process with SIGPIPE; plain pipes fall back to write().
    ssize_t n = ::send(writeFd_.get(), rest.data(), rest.size(), MSG_NOSIGNAL);
    if (n < 0 && errno == ENOTSOCK) n = ::write(writeFd_.get(), rest.data(), rest.size());
    if (n > 0) {
      rest.remove_prefix(static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) break;
      pollfd p{writeFd_.get(), POLLOUT, 0};
      ::poll(&p, 1, static_cast<int>(left.count()));
      continue;
    }
    break;
  }
  if (!rest.empty()) {
    // A message cut short cannot be taken back: the stream is unusable from here on.
    close();
    return false;
  }
  return true;
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

bool PipeTransport::waitReadable(int limitMs) const {
  if (closed_) return false;
  pollfd p{readFd_.get(), POLLIN, 0};
  int r;
  do {
    r = ::poll(&p, 1, limitMs);
  } while (r < 0 && errno == EINTR);
  return r > 0;
}

}  // namespace Brovis::Engine
