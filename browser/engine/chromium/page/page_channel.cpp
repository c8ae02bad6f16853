#include "browser/engine/chromium/page/page_channel.h"

#include "browser/engine/chromium/page/page_scripts.h"

namespace Brovis::Engine {

namespace {
// The name the world is made under; the browser gives back the same world for the same name
// as long as the document stands.
constexpr const char* kWorldName = "brovis";
}  // namespace

std::optional<Json> PageChannel::send(const char* method, Json params) {
  if (!connection_ || (hooks_.answering && !hooks_.answering())) return std::nullopt;
  CallResult reply = connection_->call(method, std::move(params), sessionId_, limit_);
  if (!reply.result) {
    // Refused or out of budget is an answer; silence is not.
    if (reply.error == CallError::TimedOut && hooks_.timedOut) hooks_.timedOut();
    return std::nullopt;
  }
  return std::move(reply.result);
}

std::optional<Json> PageChannel::run(const char* method, Json params) {
  auto reply = send(method, std::move(params));
  if (!reply || !reply->is_object() || reply->contains("exceptionDetails")) return std::nullopt;
  const auto result = reply->find("result");
  if (result == reply->end() || !result->is_object()) return std::nullopt;
  return std::move(*result);
}

std::optional<int> PageChannel::world() {
  if (world_) return world_;
  const std::uint64_t left = documentsLeft_;
  if (topDocumentId_.empty()) {
    const auto tree = send("Page.getFrameTree", Json::object());
    if (!tree) return std::nullopt;
    const Json* id = &*tree;
    for (const char* key : {"frameTree", "frame", "id"}) {
      const auto next = id->find(key);
      if (next == id->end()) return std::nullopt;
      id = &*next;
    }
    if (!id->is_string()) return std::nullopt;
    topDocumentId_ = id->get<std::string>();
  }
  const auto made =
      send("Page.createIsolatedWorld", {{"frameId", topDocumentId_}, {"worldName", kWorldName}});
  if (!made) {
    // The top document may have been replaced: it is looked up again next time.
    topDocumentId_.clear();
    return std::nullopt;
  }
  const auto id = made->find("executionContextId");
  if (id == made->end() || !id->is_number_integer()) return std::nullopt;
  // A document that went while the world was being made took it along.
  if (documentsLeft_ != left) return std::nullopt;
  world_ = id->get<int>();
  return world_;
}

std::optional<Json> PageChannel::call(std::string_view on, std::string_view function,
                                      Json arguments, bool returnByValue) {
  Json args = Json::array();
  for (auto& a : arguments) args.push_back({{"value", std::move(a)}});
  // Without a user gesture, so that the browser's popup blocker refuses every new window a
  // click asks for. With one, a link to a new window opens a second page that loads its
  // address; no switch of this headless browser prevents that.
  Json params = {{"functionDeclaration", function},
                 {"arguments", std::move(args)},
                 {"returnByValue", returnByValue},
                 {"userGesture", false},
                 {"silent", true}};
  if (on.empty()) {
    const auto context = world();
    if (!context) return std::nullopt;
    params["executionContextId"] = *context;
  } else {
    // An object's calls run in the world the object belongs to.
    params["objectId"] = on;
  }
  return run("Runtime.callFunctionOn", std::move(params));
}

std::optional<Json> PageChannel::value(std::string_view on, std::string_view function,
                                       Json arguments) {
  auto result = call(on, function, std::move(arguments), true);
  if (!result) return std::nullopt;
  const auto v = result->find("value");
  if (v == result->end()) return Json();  // undefined
  return std::move(*v);
}

std::optional<std::string> PageChannel::object(std::string_view on, std::string_view function,
                                               Json arguments) {
  const auto result = call(on, function, std::move(arguments), false);
  if (!result) return std::nullopt;
  const auto id = result->find("objectId");
  if (id == result->end() || !id->is_string()) return std::nullopt;
  return id->get<std::string>();
}

std::optional<Json> PageChannel::evaluate(const std::string& expression, bool returnByValue) {
  return run("Runtime.evaluate", {{"expression", expression},
                                  {"returnByValue", returnByValue},
                                  {"objectGroup", "brovis"},
                                  {"silent", true}});
}

void PageChannel::release(const std::string& objectId) {
  if (!connection_ || connection_->closed()) return;
  connection_->post("Runtime.releaseObject", {{"objectId", objectId}}, sessionId_);
}

void PageChannel::onContextEvent(std::string_view method, const Json& params) {
  if (method == "Runtime.executionContextsCleared") {
    ++documentsLeft_;
    world_.reset();
  } else if (method == "Runtime.executionContextDestroyed" && world_ && params.is_object()) {
    const auto id = params.find("executionContextId");
    if (id != params.end() && id->is_number_integer() && id->get<int>() == *world_) world_.reset();
  }
}

}  // namespace Brovis::Engine
