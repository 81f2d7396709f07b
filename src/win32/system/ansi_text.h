// Conversion between the program's texts (bytes in the system's ANSI code page) and the UTF-16
// of the window system. Where the ANSI code page is not a single-byte one, Windows-1252 stands in
// for it, since the stored entries are one byte per character.
#pragma once

#include <string>

#include "ui/letters.h"

namespace tw::win32 {

// The code page that the program's byte texts are in.
unsigned TextCodePage();

std::wstring AnsiToWide(const std::string& text);
// Letters that the code page cannot hold become its default character, never a look-alike.
std::string WideToAnsi(const std::wstring& text);
// Whether the code page holds a letter: it comes back from it unchanged.
class TextCodePageLetters final : public ui::CodePage {
 public:
  bool Holds(std::wstring_view letter) const override;
};

}  // namespace tw::win32
