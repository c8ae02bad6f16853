#include "cockpit/window/text_field.h"

#include <algorithm>

#include "platform/text/utf8.h"

namespace Cockpit {

TextField::TextField(std::string_view utf8) {
  Insert(utf8);
  first_ = 0;
}

void TextField::Insert(std::string_view utf8) {
  std::u32string typed = Text::DecodeUtf8(utf8);
  // A Windows line break pasted from the clipboard is one space, not two.
  typed.erase(std::unique(typed.begin(), typed.end(),
                          [](char32_t a, char32_t b) { return a == U'\r' && b == U'\n'; }),
              typed.end());
  for (char32_t& c : typed)
    if (c < 0x20 || c == 0x7F) c = U' ';
  text_.insert(caret_, typed);
  caret_ += typed.size();
}

void TextField::Left() {
  if (caret_ > 0) --caret_;
}

void TextField::Right() {
  if (caret_ < text_.size()) ++caret_;
}

void TextField::Home() { caret_ = 0; }

void TextField::End() { caret_ = text_.size(); }

void TextField::Backspace() {
  if (caret_ == 0) return;
  text_.erase(--caret_, 1);
}

void TextField::Delete() {
  if (caret_ < text_.size()) text_.erase(caret_, 1);
}

std::string TextField::Text() const { return Text::EncodeUtf8(text_); }

TextField::View TextField::Visible(std::size_t visible) {
  visible = std::max<std::size_t>(visible, 1);
  // The caret may stand after the last character, so a full field keeps one column for it.
  if (caret_ < first_) first_ = caret_;
  if (caret_ >= first_ + visible) first_ = caret_ - visible + 1;
  // Deleting from the end lets hidden text at the start come back into view.
  if (first_ > 0 && text_.size() - first_ < visible)
    first_ = text_.size() >= visible ? text_.size() - visible + 1 : 0;
  first_ = std::min(first_, caret_);
  return {Text::EncodeUtf8(std::u32string_view(text_).substr(first_, visible)), caret_ - first_};
}

}  // namespace Cockpit
