#include "browser/engine/chromium/page_channel.h"

namespace Brovis::Engine {

std::optional<Json> PageChannel::unwrap(const CallResult& reply) {
  if (!reply.result) return std::nullopt;
  const Json& r = *reply.result;
  if (r.contains("exceptionDetails")) return std::nullopt;
  const auto result = r.find("result");
  if (result == r.end() || !result->is_object()) return std::nullopt;
  return *result;
}

std::optional<Json> PageChannel::callOn(const std::string& objectId, std::string_view function,
                                        Json arguments, bool returnByValue, bool userGesture) {
  if (!connection_) return std::nullopt;
  Json args = Json::array();
  for (auto& a : arguments) args.push_back({{"value", std::move(a)}});
  return unwrap(connection_->call("Runtime.callFunctionOn",
                                  {{"functionDeclaration", function},
                                   {"objectId", objectId},
                                   {"arguments", std::move(args)},
                                   {"returnByValue", returnByValue},
                                   {"userGesture", userGesture},
                                   {"silent", true}},
                                  sessionId_, limit_));
}

std::optional<Json> PageChannel::evaluate(const std::string& expression, bool returnByValue) {
  if (!connection_) return std::nullopt;
  return unwrap(connection_->call("Runtime.evaluate",
                                  {{"expression", expression},
                                   {"returnByValue", returnByValue},
                                   {"objectGroup", "brovis"},
                                   {"silent", true}},
                                  sessionId_, limit_));
}

void PageChannel::release(const std::string& objectId) {
  if (!connection_ || connection_->closed()) return;
  connection_->post("Runtime.releaseObject", {{"objectId", objectId}}, sessionId_);
}

}  // namespace Brovis::Engine
