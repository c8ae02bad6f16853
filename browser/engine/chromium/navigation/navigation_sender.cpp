#include "browser/engine/chromium/navigation/navigation_sender.h"

namespace Brovis::Engine {

void NavigationSender::attach(Connection& connection, std::string sessionId) {
  connection_ = &connection;
  sessionId_ = std::move(sessionId);
  ++attachment_;
}

void NavigationSender::detach() {
  connection_ = nullptr;
  sessionId_.clear();
  ++attachment_;
}

void NavigationSender::navigate(std::string_view method, Json params,
                                Connection::ReplyHandler onAnswer,
                                std::chrono::milliseconds limit) {
  if (!connection_) return;
  load_.navigationSent();
  connection_->post(
      method, std::move(params), sessionId_,
      [this, attachment = attachment_, onAnswer = std::move(onAnswer)](const CallResult& answer) {
        if (attachment != attachment_) return;
        load_.navigationAnswered();
        if (onAnswer) onAnswer(answer);
      },
      limit);
}

void NavigationSender::ask(std::string_view method, Connection::ReplyHandler onAnswer,
                           std::chrono::milliseconds limit) {
  if (!connection_) return;
  connection_->post(
      method, Json::object(), sessionId_,
      [this, attachment = attachment_, onAnswer = std::move(onAnswer)](const CallResult& answer) {
        if (attachment == attachment_ && onAnswer) onAnswer(answer);
      },
      limit);
}

}  // namespace Brovis::Engine
