#include "platform/forms/application.h"

#include <poll.h>

#include <algorithm>

namespace Forms {

std::vector<MessageSource*>& Application::Sources() {
  static std::vector<MessageSource*> sources;
  return sources;
}

void Application::DoEvents() {
  // A copy: a handler may add or remove sources; removed ones are skipped.
  const auto sources = Sources();
  for (MessageSource* source : sources) {
    const auto& live = Sources();
    if (std::find(live.begin(), live.end(), source) == live.end()) continue;
    source->Poll();
    source->DispatchPending();
  }
}

void Application::WaitForMessages(std::chrono::milliseconds limit) {
  std::vector<pollfd> fds;
  for (MessageSource* source : Sources())
    if (source->WaitHandle() >= 0) fds.push_back({source->WaitHandle(), POLLIN, 0});
  const int timeout = static_cast<int>(std::max<long long>(0, limit.count()));
  if (fds.empty()) {
    ::poll(nullptr, 0, timeout);
    return;
  }
  ::poll(fds.data(), fds.size(), timeout);
}

void Application::AddMessageSource(MessageSource& source) { Sources().push_back(&source); }

void Application::RemoveMessageSource(MessageSource& source) {
  auto& sources = Sources();
  sources.erase(std::remove(sources.begin(), sources.end(), &source), sources.end());
}

}  // namespace Forms
