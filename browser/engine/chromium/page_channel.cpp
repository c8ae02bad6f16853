#include "browser/engine/chromium/page_channel.h"

namespace Brovis::Engine {

std::optional<Json> PageChannel::run(Json params, const char* method) {
  if (!connection_ || (hooks_.answering && !hooks_.answering())) return std::nullopt;
  const CallResult reply = connection_->call(method, std::move(params), sessionId_, limit_);
  if (!reply.result) {
    // Refused or out of budget is an answer; silence is not.
    if (reply.error == CallError::TimedOut && hooks_.timedOut) hooks_.timedOut();
    return std::nullopt;
  }
  const Json& r = *reply.result;
  if (r.contains("exceptionDetails")) return std::nullopt;
  const auto result = r.find("result");
  if (result == r.end() || !result->is_object()) return std::nullopt;
  return *result;
}

std::optional<Json> PageChannel::callOn(const std::string& objectId, std::string_view function,
                                        Json arguments, bool returnByValue, bool userGesture) {
  Json args = Json::array();
  for (auto& a : arguments) args.push_back({{"value", std::move(a)}});
  return run({{"functionDeclaration", function},
              {"objectId", objectId},
              {"arguments", std::move(args)},
              {"returnByValue", returnByValue},
              {"userGesture", userGesture},
              {"silent", true}},
             "Runtime.callFunctionOn");
}

std::optional<Json> PageChannel::evaluate(const std::string& expression, bool returnByValue) {
  return run({{"expression", expression},
              {"returnByValue", returnByValue},
              {"objectGroup", "brovis"},
              {"silent", true}},
             "Runtime.evaluate");
}

void PageChannel::release(const std::string& objectId) {
  if (!connection_ || connection_->closed()) return;
  connection_->post("Runtime.releaseObject", {{"objectId", objectId}}, sessionId_);
}

}  // namespace Brovis::Engine
