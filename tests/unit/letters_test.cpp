// The letters of the edit box that Forms.dat can hold, over a code page that holds the units
// below U+0100 and the euro sign.
#include <gtest/gtest.h>

#include "ui/letters.h"

// Each row is a change of one box after the row above: 😀 is D83D DE00, the other pairs' halves
// are the first and last of their ranges; Ł and ź are not held.
TEST(Letters, ALetterTheCodePageCannotHoldIsRefusedWhereItStandsAloneAndNamedWhole) {
  // Asked of single units and of pairs (which begin at U+D800), a letter sorts below L"\x100"
  // exactly when it is one unit below U+0100.
  struct : tw::ui::CodePage {
    bool Holds(std::wstring_view s) const override { return s == L"€" || s < L"\x100"; }
  } codePage;
  const std::tuple<std::wstring, std::size_t, std::wstring, std::size_t, std::wstring> cases[] = {
      {L"Tattoo Smith", 12, L"Tattoo Smith", 12, L""},
      {L"Tattoo \xD83DSmith", 8, L"Tattoo Smith", 7, L"\xD83D"},
      {L"Tattoo \xDE00Smith", 8, L"Tattoo Smith", 7, L"\xD83D\xDE00"},
      {L"\xD800\xDFFFó\xD800źy\xD800\xDFFF€", 9, L"óy€", 3, L"\xD800\xDFFF\xD800ź"},
      {L"\xDC00xŁy\xDBFF\xDC00", 3, L"xy", 1, L"\xDC00Ł\xDBFF\xDC00"}};
  tw::ui::LetterFilter filter;
  for (const auto& [text, caret, kept, keptCaret, refused] : cases) {
    SCOPED_TRACE(testing::PrintToString(text));
    const tw::ui::KeptLetters k = filter.OnChange(text, caret, codePage);
    EXPECT_EQ(std::tie(k.text, k.caret, k.refused), std::tie(kept, keptCaret, refused));
  }
}
