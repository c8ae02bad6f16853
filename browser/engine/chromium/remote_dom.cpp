#include "browser/engine/chromium/remote_dom.h"

#include <limits>

#include "browser/engine/chromium/page_scripts.h"

namespace Brovis::Engine {

namespace {

std::optional<BrowserText> AsText(const std::optional<Json>& value) {
  if (!value || !value->is_string()) return std::nullopt;
  return FromUtf8Bytes(value->get_ref<const std::string&>());
}

// Page values are doubles; the DOM's integer properties truncate toward zero into 32 bits.
std::int32_t ToInt32(const Json& value) {
  if (!value.is_number()) return 0;
  const double d = value.get<double>();
  if (!(d == d)) return 0;
  if (d >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  if (d <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(d);
}

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

std::optional<PageScroll> ParseScroll(const Json& pair) {
  if (!pair.is_array() || pair.size() != 2) return std::nullopt;
  PageScroll scroll;
  ScrollMetrics* targets[2] = {&scroll.root, &scroll.body};
  for (int i = 0; i < 2; ++i) {
    const Json& m = pair[i];
    if (!m.is_array() || m.size() != 4) return std::nullopt;
    *targets[i] = {ToInt32(m[0]), ToInt32(m[1]), ToInt32(m[2]), ToInt32(m[3])};
  }
  return scroll;
}

// [kinds, entries] as kFacts gives it; see there.
std::optional<std::vector<ElementFacts>> ParseFacts(const Json& answer) {
  if (!answer.is_array() || answer.size() != 2) return std::nullopt;
  const Json& kinds = answer[0];
  const Json& entries = answer[1];
  if (!kinds.is_array() || !entries.is_array()) return std::nullopt;
  std::vector<ElementFacts> decoded;
  decoded.reserve(kinds.size());
  for (const Json& kind : kinds) {
    if (!kind.is_array() || kind.size() != 2 || !kind[0].is_string() ||
        !(kind[1].is_string() || kind[1].is_null()))
      return std::nullopt;
    ElementFacts facts;
    facts.tagName = FromUtf8Bytes(kind[0].get_ref<const std::string&>());
    if (kind[1].is_string()) facts.type = FromUtf8Bytes(kind[1].get_ref<const std::string&>());
    decoded.push_back(std::move(facts));
  }
  std::vector<ElementFacts> out;
  out.reserve(entries.size());
  for (const Json& entry : entries) {
    if (!entry.is_number_unsigned()) return std::nullopt;
    const std::uint64_t n = entry.get<std::uint64_t>();
    if (n / 2 >= decoded.size()) return std::nullopt;
    out.push_back(decoded[n / 2]);
    out.back().shown = n % 2 == 1;
  }
  return out;
}

class RemoteTextRange : public TextRange {
 public:
  explicit RemoteTextRange(std::shared_ptr<RemoteObject> input) : input_(std::move(input)) {}
  std::optional<BrowserText> text() override { return AsText(input_->value(Scripts::kGetValue)); }
  bool setText(BrowserTextView text) override {
    const auto changed = input_->value(Scripts::kSetValue, Json::array({StringOf(text)}));
    if (!changed) return false;
    if (changed->is_boolean() && changed->get<bool>()) input_->notePageChange();
    return true;
  }

 private:
  std::shared_ptr<RemoteObject> input_;
};

class RemoteCollection : public ElementCollection {
 public:
  explicit RemoteCollection(std::unique_ptr<RemoteObject> list) : list_(std::move(list)) {}

  std::optional<int> length() override {
    const auto value = list_->value(Scripts::kLength);
    if (!value || !value->is_number()) return std::nullopt;
    return ToInt32(*value);
  }

  ElementRef item(int index) override {
    if (index < 0) return nullptr;
    auto id = list_->object(Scripts::kItem, Json::array({index}));
    return id ? MakeRemoteElement(list_->channel(), std::move(*id)) : nullptr;
  }

  std::optional<std::vector<ElementFacts>> facts(int first, int step, int count) override {
    const auto answer =
        list_->value(Scripts::kFacts, Json::array({first, step < 0 ? -1 : 1, count}));
    return answer ? ParseFacts(*answer) : std::nullopt;
  }

 private:
  std::unique_ptr<RemoteObject> list_;
};

class RemoteElement : public Element {
 public:
  explicit RemoteElement(std::shared_ptr<RemoteObject> object) : object_(std::move(object)) {}

  std::optional<BrowserText> tagName() override {
    // An element's tag name never changes, so one read serves for its whole life.
    if (!tagName_) tagName_ = AsText(object_->value(Scripts::kTagName));
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
    const auto value = object_->value(Scripts::kIsTextField, Json::array({false}));
    return value && value->is_boolean() && value->get<bool>();
  }

  bool click() override {
    const bool clicked = object_->value(Scripts::kClick).has_value();
    // Anything may follow a click: the picture is expected to change.
    object_->notePageChange();
    return clicked;
  }

  bool scrollIntoView(bool alignToTop) override {
    const bool scrolled =
        object_->value(Scripts::kScrollIntoView, Json::array({alignToTop})).has_value();
    object_->notePageChange();
    return scrolled;
  }

  std::optional<BrowserText> getAttribute(BrowserTextView name) override {
    return AsText(object_->value(Scripts::kGetAttribute, Json::array({StringOf(name)})));
  }

  std::optional<std::int32_t> scroll(ScrollProperty property) override {
    const auto value = object_->value(Scripts::kGetScroll, Json::array({ScrollName(property)}));
    if (!value || !value->is_number()) return std::nullopt;
    return ToInt32(*value);
  }

  bool setScroll(ScrollProperty property, std::int32_t v) override {
    if (property != ScrollProperty::Top && property != ScrollProperty::Left) return false;
    return changing(object_->value(Scripts::kSetScroll, Json::array({ScrollName(property), v})));
  }

  std::optional<BrowserText> style(BorderProperty property) override {
    return AsText(object_->value(Scripts::kGetStyle, Json::array({BorderName(property)})));
  }

  bool setStyle(BorderProperty property, BrowserTextView v) override {
    const std::pair<BorderProperty, BrowserTextView> one[] = {{property, v}};
    return setStyles(one);
  }

  bool setStyles(std::span<const std::pair<BorderProperty, BrowserTextView>> values) override {
    Json list = Json::array();
    for (const auto& [property, v] : values) list.push_back({BorderName(property), StringOf(v)});
    return changing(object_->value(Scripts::kSetStyles, Json::array({std::move(list)})));
  }

  std::optional<BrowserText> currentStyle(ComputedProperty property) override {
    return AsText(object_->value(Scripts::kCurrentStyle, Json::array({ComputedName(property)})));
  }

  std::optional<BrowserText> value() override { return AsText(object_->value(Scripts::kGetValue)); }

  bool setValue(BrowserTextView v) override {
    return changing(object_->value(Scripts::kSetValue, Json::array({StringOf(v)})));
  }

  std::unique_ptr<TextRange> createTextRange() override {
    const auto can = object_->value(Scripts::kIsTextField, Json::array({true}));
    if (!can || !can->is_boolean() || !can->get<bool>()) return nullptr;
    return std::make_unique<RemoteTextRange>(object_);
  }

 private:
  // A write succeeded when its script ran; it changed the picture when the script says so.
  bool changing(const std::optional<Json>& result) {
    if (!result) return false;
    if (!result->is_boolean() || result->get<bool>()) object_->notePageChange();
    return true;
  }

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
  const auto answer = channel->value(PageChannel::kGlobal, Scripts::kReadScroll);
  return answer ? ParseScroll(*answer) : std::nullopt;
}

std::optional<PageScroll> RemoteDocument::writeScroll(std::int32_t top, std::int32_t left) {
  auto channel = channel_.lock();
  if (!channel) return std::nullopt;
  const auto answer =
      channel->value(PageChannel::kGlobal, Scripts::kWriteScroll, Json::array({top, left}));
  if (!answer || !answer->is_array() || answer->size() != 2) return std::nullopt;
  if (!(*answer)[1].is_boolean() || (*answer)[1].get<bool>()) channel->notePageChange();
  return ParseScroll((*answer)[0]);
}

}  // namespace Brovis::Engine
