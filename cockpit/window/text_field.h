#pragma once
// The text of an input box as the pilot edits it: characters, a caret between them, and the part
// that shows in a field a given number of characters wide. Text comes and goes as UTF-8; the caret
// counts characters, not bytes.
#include <string>
#include <string_view>

namespace Cockpit {

class TextField {
 public:
  // The caret goes to the end of `utf8`.
  explicit TextField(std::string_view utf8 = {});

  // At the caret, which moves past it. Line breaks and other control characters become spaces
  // (a pasted paragraph stays one line); invalid bytes are dropped.
  void Insert(std::string_view utf8);
  void Left();
  void Right();
  void Home();
  void End();
  // Removes the character before the caret.
  void Backspace();
  // Removes the character after the caret.
  void Delete();

  std::string Text() const;
  std::size_t Length() const { return text_.size(); }
  // Characters before the caret.
  std::size_t Caret() const { return caret_; }

  // The part of the text shown in a field `visible` characters wide, scrolled as little as needed
  // to keep the caret in view; `caretColumn` is where the caret shows in it.
  struct View {
    std::string text;  // UTF-8
    std::size_t caretColumn = 0;
  };
  View Visible(std::size_t visible);

 private:
  std::u32string text_;
  std::size_t caret_ = 0;
  std::size_t first_ = 0;  // the first character shown
};

}  // namespace Cockpit
