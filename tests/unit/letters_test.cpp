// The letters of the edit box that Forms.dat can hold, over a code page of the units below
// U+0100 and the euro sign.
#include <gtest/gtest.h>

#include <tuple>

#include "ui/letters.h"

namespace tw {
namespace {

struct FakeCodePage final : ui::CodePage {
  bool Holds(std::wstring_view letter) const override {
    return letter.size() == 1 && (letter[0] < 0x100 || letter[0] == 0x20AC);
  }
};

// Each row is a change of one box, after the row above: 😀 is D83D DE00, Ł and ź are not held.
TEST(Letters, ALetterTheCodePageCannotHoldIsRefusedWhereItStandsAloneAndNamedWhole) {
  const std::tuple<std::wstring, std::size_t, std::wstring, std::size_t, std::wstring> cases[] = {
      {L"Tattoo Smith", 12, L"Tattoo Smith", 12, L""},
      {L"Tattoo \xD83DSmith", 8, L"Tattoo Smith", 7, L"\xD83D"},
      {L"Tattoo \xDE00Smith", 8, L"Tattoo Smith", 7, L"\xD83D\xDE00"},
      {L"Tattoo \xDE00Smith", 8, L"Tattoo Smith", 7, L"\xDE00"},
      {L"\xD83Dxy", 3, L"xy", 2, L"\xD83D"},
      {L"\xDE00xy", 1, L"xy", 0, L"\xDE00"},
      {L"xy\xD83D\xDE00zw", 4, L"xyzw", 2, L"\xD83D\xDE00"},
      {L"Ł\xD83D\xDE00ódź\xD83D\xDE00€", 9, L"ód€", 3, L"Ł\xD83D\xDE00ź"},
      {L"xŁy", 0, L"xy", 0, L"Ł"},
      {L"x\xD83D\xDE00Łz", 3, L"xz", 1, L"\xD83D\xDE00Ł"}};
  ui::LetterFilter filter;
  for (const auto& [text, caret, keptText, keptCaret, refused] : cases) {
    SCOPED_TRACE(testing::PrintToString(text));
    const ui::KeptLetters kept = filter.OnChange(text, caret, FakeCodePage{});
    EXPECT_EQ(std::tie(kept.text, kept.caret, kept.refused),
              std::tie(keptText, keptCaret, refused));
  }
}

}  // namespace
}  // namespace tw
