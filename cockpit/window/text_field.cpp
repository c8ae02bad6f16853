#include "cockpit/window/text_field.h"

#include <algorithm>

namespace Cockpit {

namespace {

bool Continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::u32string DecodeUtf8(std::string_view utf8) {
  std::u32string out;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    std::size_t length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
      length = 1;
      c = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2;
      c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      c = lead & 0x07;
    }
    bool valid = length > 0 && i + length <= utf8.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto byte = static_cast<unsigned char>(utf8[i + k]);
      valid = Continuation(byte);
      c = (c << 6) | (byte & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode's range are not characters.
    constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    valid = valid && c >= kLeast[length] && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
    if (valid) {
      out.push_back(c);
      i += length;
    } else {
      ++i;
    }
  }
  return out;
}

std::string EncodeUtf8(std::u32string_view text) {
  std::string out;
  for (char32_t c : text) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

TextField::TextField(std::string_view utf8) {
  Insert(utf8);
  first_ = 0;
}

void TextField::Insert(std::string_view utf8) {
  std::u32string typed = DecodeUtf8(utf8);
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

std::string TextField::Text() const { return EncodeUtf8(text_); }

TextField::View TextField::Visible(std::size_t visible) {
  visible = std::max<std::size_t>(visible, 1);
  // The caret may stand after the last character, so a full field keeps one column for it.
  if (caret_ < first_) first_ = caret_;
  if (caret_ >= first_ + visible) first_ = caret_ - visible + 1;
  // Deleting from the end lets hidden text at the start come back into view.
  if (first_ > 0 && text_.size() - first_ < visible)
    first_ = text_.size() >= visible ? text_.size() - visible + 1 : 0;
  first_ = std::min(first_, caret_);
  return {EncodeUtf8(std::u32string_view(text_).substr(first_, visible)), caret_ - first_};
}

}  // namespace Cockpit
