// The letters of the edit box that Forms.dat can hold. It keeps each letter in one byte of the
// Windows code page: a letter that the code page cannot hold is refused where it stands, alone,
// whether it was typed whole, arrived in its two UTF-16 halves one change after the other (as an
// edit control may report a letter beyond the first plane), or came in a paste. Every other
// letter keeps its place, and the caret stays after the letters kept before it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tw::ui {

// Whether the code page holds a letter: a single UTF-16 unit, or a pair of them for a letter
// beyond the first plane. It is never asked about a lone half of a pair, which no code page holds.
class CodePage {
 public:
  virtual ~CodePage() = default;
  virtual bool Holds(std::wstring_view letter) const = 0;
};

struct KeptLetters {
  std::wstring text;
  std::size_t caret = 0;
  // The letters refused, each once, in order; empty when nothing was refused.
  std::wstring refused;
};

class LetterFilter {
 public:
  // The box's text after a change, in UTF-16 units (one to a wchar_t), and its caret: the text
  // with the refused letters taken out where they stood, the caret after the letters kept before
  // it, and the letters to name.
  KeptLetters OnChange(std::wstring_view text, std::size_t caret, const CodePage& codePage);

 private:
  // A first half refused just before the caret at the last change: the second half that arrives
  // next is named with it, as the letter typed.
  std::wstring firstHalf_;
};

}  // namespace tw::ui
