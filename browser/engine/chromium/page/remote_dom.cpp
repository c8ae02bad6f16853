#include "browser/engine/chromium/page/remote_dom.h"

#include <algorithm>

#include "browser/engine/chromium/page/page_answers.h"
#include "browser/engine/chromium/page/page_scripts.h"

namespace Brovis::Engine {

namespace {

std::string StringOf(BrowserTextView text) { return std::string(AsUtf8Bytes(text)); }

const char* ScrollName(ScrollProperty p) {
  switch (p) {
    case ScrollProperty::Top:
      return "scrollTop";
    case ScrollProperty::Left:
      return "scrollLeft";
    case ScrollProperty::Height:
      return "scrollHeight";
    case ScrollProperty::Width:
      return "scrollWidth";
  }
  return "scrollTop";
}

const char* BorderName(BorderProperty p) {
  switch (p) {
    case BorderProperty::Color:
      return "borderColor";
    case BorderProperty::Width:
      return "borderWidth";
    case BorderProperty::Style:
      return "borderStyle";
  }
  return "borderStyle";
}

const char* ComputedName(ComputedProperty p) {
  return p == ComputedProperty::Visibility ? "visibility" : "display";
}

// A write succeeded when its function ran; it changed the picture unless the function says not.
bool Changing(const RemoteObject& object, const std::optional<Json>& answer) {
  if (!answer) return false;
  if (DecodeChange(*answer)) object.notePageChange();
  return true;
}

std::optional<BrowserText> ShortText(const RemoteObject& element, const char* what,
                                     Json name = nullptr) {
  return DecodeText(element.value(Scripts::kShortText,
                                  Json::array({what, std::move(name), Scripts::kShortTextLimit})));
}

class RemoteTextRange : public TextRange {
 public:
  explicit RemoteTextRange(std::shared_ptr<RemoteObject> input) : input_(std::move(input)) {}
  std::optional<BrowserText> text() override {
    return DecodeText(input_->value(Scripts::kGetValue));
  }
  bool setText(BrowserTextView text) override {
    const bool set = Changing(
        *input_, input_->value(Scripts::kSetValue, Json::array({StringOf(text), false, false})));
    input_->notePilotAction();
    return set;
  }

 private:
  std::shared_ptr<RemoteObject> input_;
};

class RemoteCollection : public ElementCollection {
 public:
  explicit RemoteCollection(std::unique_ptr<RemoteObject> list) : list_(std::move(list)) {}

  std::optional<int> length() override { return DecodeInt32(list_->value(Scripts::kLength)); }

  ElementRef item(int index) override {
    if (index < 0) return nullptr;
    auto id = list_->object(Scripts::kItem, Json::array({index}));
    return id ? MakeRemoteElement(list_->channel(), std::move(*id)) : nullptr;
  }

  std::optional<std::vector<ElementFacts>> facts(int first, int step, int count) override {
    return DecodeFacts(list_->value(Scripts::kFacts, Json::array({first, step < 0 ? -1 : 1, count,
                                                                  Scripts::kShortTextLimit})),
                       static_cast<std::size_t>(std::max(count, 0)));
  }

 private:
  std::unique_ptr<RemoteObject> list_;
};

class RemoteElement : public Element {
 public:
  explicit RemoteElement(std::shared_ptr<RemoteObject> object) : object_(std::move(object)) {}

  std::optional<BrowserText> tagName() override {
    // An element's tag name never changes, so one read serves for its whole life.
    if (!tagName_) tagName_ = ShortText(*object_, "tag");
    return tagName_;
  }

  ElementRef parentElement() override {
    auto id = object_->object(Scripts::kParentElement);
    return id ? MakeRemoteElement(object_->channel(), std::move(*id)) : nullptr;
  }

  std::shared_ptr<ElementCollection> all() override {
    auto id = object_->object(Scripts::kAll);
    if (!id) return nullptr;
    return std::make_shared<RemoteCollection>(
        std::make_unique<RemoteObject>(object_->channel(), std::move(*id)));
  }

  bool isTextEdit() override {
    return DecodeTrue(object_->value(Scripts::kIsTextField, Json::array({false})));
  }

  bool click() override {
    const bool clicked = object_->value(Scripts::kClick).has_value();
    // Anything may follow a click: the picture is expected to change.
    object_->notePageChange();
    object_->notePilotAction();
    return clicked;
  }

  bool scrollIntoView(bool alignToTop) override {
    return Changing(*object_, object_->value(Scripts::kScrollIntoView, Json::array({alignToTop})));
  }

  std::optional<BrowserText> getAttribute(BrowserTextView name) override {
    return ShortText(*object_, "attribute", StringOf(name));
  }

  std::optional<std::int32_t> scroll(ScrollProperty property) override {
    return DecodeInt32(object_->value(Scripts::kGetScroll, Json::array({ScrollName(property)})));
  }

  bool setScroll(ScrollProperty property, std::int32_t v) override {
    if (property != ScrollProperty::Top && property != ScrollProperty::Left) return false;
    return Changing(*object_,
                    object_->value(Scripts::kSetScroll, Json::array({ScrollName(property), v})));
  }

  std::optional<BrowserText> style(BorderProperty property) override {
    return ShortText(*object_, "style", BorderName(property));
  }

  bool setStyle(BorderProperty property, BrowserTextView v) override {
    const std::pair<BorderProperty, BrowserTextView> one[] = {{property, v}};
    return setStyles(one);
  }

  bool setStyles(std::span<const std::pair<BorderProperty, BrowserTextView>> values) override {
    Json list = Json::array();
    for (const auto& [property, v] : values) list.push_back({BorderName(property), StringOf(v)});
    return Changing(*object_, object_->value(Scripts::kSetStyles, Json::array({std::move(list)})));
  }

  std::optional<BrowserText> currentStyle(ComputedProperty property) override {
    return ShortText(*object_, "computed", ComputedName(property));
  }

  std::optional<BrowserText> value() override {
    return DecodeText(object_->value(Scripts::kGetValue));
  }

  bool setValue(BrowserTextView v) override {
    const bool set = Changing(
        *object_, object_->value(Scripts::kSetValue, Json::array({StringOf(v), false, false})));
    object_->notePilotAction();
    return set;
  }

  bool enterText(BrowserTextView text, TextEntry entry) override {
    const bool set = Changing(
        *object_, object_->value(Scripts::kSetValue,
                                 Json::array({StringOf(text), entry == TextEntry::Append, true})));
    object_->notePilotAction();
    return set;
  }

  std::unique_ptr<TextRange> createTextRange() override {
    if (!DecodeTrue(object_->value(Scripts::kIsTextField, Json::array({true})))) return nullptr;
    return std::make_unique<RemoteTextRange>(object_);
  }

 private:
  std::shared_ptr<RemoteObject> object_;
  std::optional<BrowserText> tagName_;
};

}  // namespace

namespace {
std::size_t liveRemoteObjects = 0;
}  // namespace

RemoteObject::RemoteObject(std::weak_ptr<PageChannel> channel, std::string objectId)
    : channel_(std::move(channel)), objectId_(std::move(objectId)) {
  ++liveRemoteObjects;
}

std::size_t RemoteObject::LiveCount() { return liveRemoteObjects; }

RemoteObject::~RemoteObject() {
  --liveRemoteObjects;
  if (auto channel = channel_.lock()) channel->release(objectId_);
}

std::optional<Json> RemoteObject::value(std::string_view function, Json arguments) const {
  auto channel = channel_.lock();
  if (!channel) return std::nullopt;
  return channel->value(objectId_, function, std::move(arguments));
}

std::optional<std::string> RemoteObject::object(std::string_view function, Json arguments) const {
  auto channel = channel_.lock();
  if (!channel) return std::nullopt;
  return channel->object(objectId_, function, std::move(arguments));
}

void RemoteObject::notePageChange() const {
  if (auto channel = channel_.lock()) channel->notePageChange();
}

void RemoteObject::notePilotAction() const {
  if (auto channel = channel_.lock()) channel->notePilotAction();
}

ElementRef MakeRemoteElement(const std::weak_ptr<PageChannel>& channel, std::string objectId) {
  return std::make_shared<RemoteElement>(
      std::make_shared<RemoteObject>(channel, std::move(objectId)));
}

ElementRef RemoteDocument::element(std::string_view function, Json arguments) {
  auto channel = channel_.lock();
  if (!channel) return nullptr;
  auto id = channel->object(PageChannel::kGlobal, function, std::move(arguments));
  return id ? MakeRemoteElement(channel_, std::move(*id)) : nullptr;
}

ElementRef RemoteDocument::body() { return element(Scripts::kBody); }
ElementRef RemoteDocument::documentElement() { return element(Scripts::kDocumentElement); }
ElementRef RemoteDocument::activeElement() { return element(Scripts::kActiveElement); }

ElementRef RemoteDocument::elementFromPoint(int x, int y) {
  return element(Scripts::kElementFromPoint, Json::array({x, y}));
}

std::optional<PageScroll> RemoteDocument::readScroll() {
  auto channel = channel_.lock();
  if (!channel) return std::nullopt;
  return DecodeScroll(channel->value(PageChannel::kGlobal, Scripts::kReadScroll));
}

std::optional<PageScroll> RemoteDocument::writeScroll(std::int32_t top, std::int32_t left) {
  auto channel = channel_.lock();
  if (!channel) return std::nullopt;
  const auto written = DecodeWrittenScroll(
      channel->value(PageChannel::kGlobal, Scripts::kWriteScroll, Json::array({top, left})));
  if (!written) return std::nullopt;
  if (written->changed) channel->notePageChange();
  return written->before;
}

}  // namespace Brovis::Engine
