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

// [length, tag names, [visibility, display] pairs, entries] as kFacts gives it; see there.
std::optional<std::vector<ElementFacts>> ParseFacts(const Json& answer) {
  if (!answer.is_array() || answer.size() != 4) return std::nullopt;
  const Json& tags = answer[1];
  const Json& pairs = answer[2];
  const Json& entries = answer[3];
  if (!tags.is_array() || !pairs.is_array() || !entries.is_array()) return std::nullopt;
  for (const Json& tag : tags)
    if (!tag.is_string()) return std::nullopt;
  for (const Json& pair : pairs)
    if (!pair.is_array() || pair.size() != 2 || !pair[0].is_string() || !pair[1].is_string())
      return std::nullopt;
  const auto index = [](const Json& n, const Json& table) -> std::optional<std::size_t> {
    if (!n.is_number_unsigned() || n.get<std::size_t>() >= table.size()) return std::nullopt;
    return n.get<std::size_t>();
  };
  std::vector<ElementFacts> out;
  out.reserve(entries.size());
  for (const Json& entry : entries) {
    ElementFacts facts;
    const Json& tag = entry.is_array() && !entry.empty() ? entry[0] : entry;
    const auto t = index(tag, tags);
    if (!t) return std::nullopt;
    facts.tagName = FromUtf8Bytes(tags[*t].get_ref<const std::string&>());
    if (entry.is_array()) {
      if (entry.size() > 1 && entry[1].is_string())
        facts.type = FromUtf8Bytes(entry[1].get_ref<const std::string&>());
      if (entry.size() > 2 && entry[2].is_array()) {
        for (const Json& n : entry[2]) {
          const auto p = index(n, pairs);
          if (!p) return std::nullopt;
          facts.styles.emplace_back(FromUtf8Bytes(pairs[*p][0].get_ref<const std::string&>()),
                                    FromUtf8Bytes(pairs[*p][1].get_ref<const std::string&>()));
        }
      }
    }
    out.push_back(std::move(facts));
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
    input_->notePilotAction();
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
    const auto text = list_->value(Scripts::kFacts, Json::array({first, step < 0 ? -1 : 1, count}));
    if (!text || !text->is_string()) return std::nullopt;
    return ParseFacts(Json::parse(text->get_ref<const std::string&>(), nullptr, false));
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
    const auto value = object_->value(Scripts::kIsTextEdit);
    return value && value->is_boolean() && value->get<bool>();
  }

  bool click() override {
    // Without a user gesture, so that the browser's popup blocker refuses every new window the
    // click asks for. With one, a link to a new window opens a second page that loads its
    // address; no switch of this headless browser prevents that.
    const bool clicked =
        object_->value(Scripts::kClick, Json::array(), /*userGesture=*/false).has_value();
    // Anything may follow a click: the picture is expected to change.
    object_->notePageChange();
    object_->notePilotAction();
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
    const bool set = changing(object_->value(Scripts::kSetValue, Json::array({StringOf(v)})));
    object_->notePilotAction();
    return set;
  }

  std::unique_ptr<TextRange> createTextRange() override {
    const auto can = object_->value(Scripts::kCanHaveTextRange);
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

std::optional<Json> RemoteObject::value(std::string_view function, Json arguments,
                                        bool userGesture) const {
  auto channel = channel_.lock();
  if (!channel) return std::nullopt;
  auto result = channel->callOn(objectId_, function, std::move(arguments), true, userGesture);
  if (!result) return std::nullopt;
  const auto v = result->find("value");
  if (v == result->end()) return Json();  // undefined
  return *v;
}

std::optional<std::string> RemoteObject::object(std::string_view function, Json arguments) const {
  auto channel = channel_.lock();
  if (!channel) return std::nullopt;
  auto result = channel->callOn(objectId_, function, std::move(arguments), false);
  if (!result) return std::nullopt;
  const auto id = result->find("objectId");
  if (id == result->end() || !id->is_string()) return std::nullopt;
  return id->get<std::string>();
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

ElementRef RemoteDocument::element(const std::string& expression) {
  auto channel = channel_.lock();
  if (!channel) return nullptr;
  auto result = channel->evaluate(expression, false);
  if (!result) return nullptr;
  const auto id = result->find("objectId");
  if (id == result->end() || !id->is_string()) return nullptr;
  return MakeRemoteElement(channel_, id->get<std::string>());
}

ElementRef RemoteDocument::body() { return element(Scripts::kBody); }
ElementRef RemoteDocument::documentElement() { return element(Scripts::kDocumentElement); }
ElementRef RemoteDocument::activeElement() { return element(Scripts::kActiveElement); }

ElementRef RemoteDocument::elementFromPoint(int x, int y) {
  return element("(" + std::string(Scripts::kElementFromPoint) + ")(" + std::to_string(x) + ", " +
                 std::to_string(y) + ")");
}

std::optional<PageScroll> RemoteDocument::readScroll() {
  auto channel = channel_.lock();
  if (!channel) return std::nullopt;
  auto result = channel->evaluate(std::string(Scripts::kReadScroll) + "()", true);
  if (!result) return std::nullopt;
  const auto v = result->find("value");
  if (v == result->end()) return std::nullopt;
  return ParseScroll(*v);
}

std::optional<PageScroll> RemoteDocument::writeScroll(std::int32_t top, std::int32_t left) {
  auto channel = channel_.lock();
  if (!channel) return std::nullopt;
  auto result = channel->evaluate(std::string(Scripts::kWriteScroll) + "(" + std::to_string(top) +
                                      ", " + std::to_string(left) + ")",
                                  true);
  if (!result) return std::nullopt;
  const auto v = result->find("value");
  if (v == result->end() || !v->is_array() || v->size() != 2) return std::nullopt;
  if (!(*v)[1].is_boolean() || (*v)[1].get<bool>()) channel->notePageChange();
  return ParseScroll((*v)[0]);
}

}  // namespace Brovis::Engine
