#pragma once
// The document object model on top of the page's remote objects.
#include <memory>

#include "browser/engine/chromium/page/page_channel.h"
#include "browser/engine/dom.h"

namespace Brovis::Engine {

// A reference to one remote object; the browser is told to release it when the last reference
// goes.
class RemoteObject {
 public:
  RemoteObject(std::weak_ptr<PageChannel> channel, std::string objectId);
  ~RemoteObject();
  // How many exist now, in the whole process.
  static std::size_t LiveCount();
  RemoteObject(const RemoteObject&) = delete;
  RemoteObject& operator=(const RemoteObject&) = delete;

  // The function's result by value, or none.
  std::optional<Json> value(std::string_view function, Json arguments = Json::array()) const;
  // The function's result as a new remote object; none for null or on failure.
  std::optional<std::string> object(std::string_view function,
                                    Json arguments = Json::array()) const;
  const std::weak_ptr<PageChannel>& channel() const { return channel_; }
  void notePageChange() const;
  void notePilotAction() const;

 private:
  std::weak_ptr<PageChannel> channel_;
  std::string objectId_;
};

class RemoteDocument : public Document {
 public:
  explicit RemoteDocument(std::weak_ptr<PageChannel> channel) : channel_(std::move(channel)) {}

  ElementRef body() override;
  ElementRef documentElement() override;
  ElementRef activeElement() override;
  ElementRef elementFromPoint(int x, int y) override;
  std::optional<PageScroll> readScroll() override;
  std::optional<PageScroll> writeScroll(std::int32_t top, std::int32_t left) override;

 private:
  ElementRef element(std::string_view function, Json arguments = Json::array());

  std::weak_ptr<PageChannel> channel_;
};

// Wraps a remote object id as an element of `channel`'s page.
ElementRef MakeRemoteElement(const std::weak_ptr<PageChannel>& channel, std::string objectId);

}  // namespace Brovis::Engine
