// Conversion between the program's texts (bytes in the system's ANSI code page) and the UTF-16
// of the window system. Where the ANSI code page is not a single-byte one, Windows-1252 stands in
// for it, since the stored entries are one byte per character.
#pragma once

#include <string>

namespace tw::win32 {

// The code page that the program's byte texts are in.
unsigned TextCodePage();

std::wstring AnsiToWide(const std::string& text);
// Letters that the code page cannot hold become its default character, never a look-alike.
std::string WideToAnsi(const std::wstring& text);
// The letters of the text that the code page cannot hold (each once, in order).
std::wstring UnstorableLetters(const std::wstring& text);

}  // namespace tw::win32
