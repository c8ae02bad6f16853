#pragma once
// The frames and view of a browser's page, asked of its session over the protocol.
#include <string>

#include "browser/engine/chromium/frames/frame_target.h"
#include "browser/engine/chromium/protocol/connection.h"

namespace Brovis::Engine {

class SessionFrameTarget : public FrameTarget {
 public:
  SessionFrameTarget(Connection& connection, std::string sessionId)
      : connection_(connection), sessionId_(std::move(sessionId)) {}

  void resizeView(ViewSize size, std::chrono::milliseconds limit, Resized resized) override;
  void beginFrame(bool withPicture, std::chrono::milliseconds limit, Answered answered) override;
  void waitAndPoll(std::chrono::milliseconds limit) override { connection_.waitAndPoll(limit); }
  bool closed() const override { return connection_.closed(); }

 private:
  Connection& connection_;
  std::string sessionId_;
};

}  // namespace Brovis::Engine
