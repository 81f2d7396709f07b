// The letters that Forms.dat can hold; see letters.h.
#include "ui/letters.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tw::ui {

namespace {

bool FirstHalf(wchar_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool SecondHalf(wchar_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

KeptLetters LetterFilter::OnChange(std::wstring_view text, std::size_t caret,
                                   const CodePage& codePage) {
  KeptLetters kept;
  std::vector<std::wstring> refused;
  const std::wstring firstHalf = std::exchange(firstHalf_, {});
  for (std::size_t i = 0; i < text.size();) {
    const bool pair = FirstHalf(text[i]) && i + 1 < text.size() && SecondHalf(text[i + 1]);
    const std::wstring_view letter = text.substr(i, pair ? 2 : 1);
    const bool lone = !pair && (FirstHalf(text[i]) || SecondHalf(text[i]));
    if (!lone && codePage.Holds(letter)) {
      kept.text += letter;
      if (i < caret) kept.caret = kept.text.size();
    } else {
      std::wstring named(letter);
      if (lone && FirstHalf(text[i]) && i + 1 == caret) {
        firstHalf_ = named;
      } else if (SecondHalf(text[i])) {  // alone: a pair begins with its first half
        named.insert(0, firstHalf);
      }
      if (std::find(refused.begin(), refused.end(), named) == refused.end()) {
        refused.push_back(named);
        kept.refused += named;
      }
    }
    i += letter.size();
  }
  return kept;
}

}  // namespace tw::ui
