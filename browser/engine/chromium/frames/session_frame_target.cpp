#include "browser/engine/chromium/frames/session_frame_target.h"

#include <cmath>

namespace Brovis::Engine {

namespace {

Json Metrics(ViewSize size) {
  return {
      {"width", size.width}, {"height", size.height}, {"deviceScaleFactor", 1}, {"mobile", false}};
}

}  // namespace

void SessionFrameTarget::resizeView(ViewSize size, std::chrono::milliseconds limit,
                                    Resized resized) {
  connection_.post("Emulation.setDeviceMetricsOverride", Metrics(size), sessionId_);
  // The renderer answers this once it lays the page out at the size it knows: the new one when
  // the override has reached it.
  connection_.post(
      "Page.getLayoutMetrics", Json::object(), sessionId_,
      [size, resized = std::move(resized)](const CallResult& result) {
        const Json none = Json::object();
        const Json& view = result ? Field(*result.result, "cssVisualViewport", none) : none;
        resized(std::lround(Field(view, "clientWidth", 0.0)) == size.width &&
                std::lround(Field(view, "clientHeight", 0.0)) == size.height);
      },
      limit);
}

void SessionFrameTarget::beginFrame(bool withPicture, std::chrono::milliseconds limit,
                                    Answered answered) {
  Json params = Json::object();
  if (withPicture)
    // Lossless, so that a page's colours (the selection outline's red) arrive exactly.
    params["screenshot"] = {{"format", "png"}, {"optimizeForSpeed", true}};
  connection_.post(
      "HeadlessExperimental.beginFrame", std::move(params), sessionId_,
      [answered = std::move(answered)](const CallResult& result) {
        FrameAnswer answer;
        if (result) {
          answer.damage = Field(*result.result, "hasDamage", false);
          answer.picture = Field(*result.result, "screenshotData", "");
        }
        answered(answer);
      },
      limit);
}

}  // namespace Brovis::Engine
