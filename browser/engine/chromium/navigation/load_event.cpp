#include "browser/engine/chromium/navigation/load_event.h"

namespace Brovis::Engine {

std::optional<LoadEvent> ParseLoadEvent(std::string_view method, const Json& params) {
  using Kind = LoadEvent::Kind;
  LoadEvent event;
  event.documentId = Field(params, "frameId", "");
  if (method == "Page.frameAttached") {
    event.kind = Kind::Attached;
    event.child = true;
  } else if (method == "Page.frameStartedLoading") {
    event.kind = Kind::StartedLoading;
  } else if (method == "Page.frameStoppedLoading") {
    event.kind = Kind::StoppedLoading;
  } else if (method == "Page.domContentEventFired") {
    event.kind = Kind::Parsed;
  } else if (method == "Page.loadEventFired") {
    event.kind = Kind::Loaded;
  } else if (method == "Page.frameStartedNavigating") {
    const std::string type = Field(params, "navigationType", "");
    if (type == "sameDocument" || type == "historySameDocument") return std::nullopt;
    event.kind = Kind::StartedNavigating;
    event.loaderId = Field(params, "loaderId", "");
    event.toNewAddress = type == "differentDocument";
  } else if (method == "Page.frameNavigated") {
    const Json frame = Field(params, "frame", Json::object());
    event.kind = Kind::Committed;
    event.documentId = Field(frame, "id", "");
    if (event.documentId.empty()) return std::nullopt;
    event.child = frame.contains("parentId");
    event.loaderId = Field(frame, "loaderId", "");
    const std::string unreachable = Field(frame, "unreachableUrl", "");
    event.failed = !unreachable.empty();
    event.url =
        event.failed ? unreachable : Field(frame, "url", "") + Field(frame, "urlFragment", "");
    event.restored = Field(params, "type", "") == "BackForwardCacheRestore";
  } else if (method == "Page.navigatedWithinDocument") {
    event.kind = Kind::MovedWithinDocument;
    event.url = Field(params, "url", "");
  } else if (method == "Page.frameDetached") {
    event.kind = Kind::Detached;
  } else {
    return std::nullopt;
  }
  return event;
}

}  // namespace Brovis::Engine
