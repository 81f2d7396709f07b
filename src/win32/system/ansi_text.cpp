// Conversion between ANSI byte texts and UTF-16; see ansi_text.h.
#include "win32/system/ansi_text.h"

#include <windows.h>

namespace tw::win32 {

namespace {
constexpr unsigned kWindows1252 = 1252;
}

unsigned TextCodePage() {
  CPINFO info{};
  if (GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1) return GetACP();
  return kWindows1252;
}

std::wstring AnsiToWide(const std::string& text) {
  if (text.empty()) return {};
  const unsigned codePage = TextCodePage();
  const int size = static_cast<int>(text.size());
  const int needed = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), needed);
  return wide;
}

std::string WideToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  const unsigned codePage = TextCodePage();
  const int size = static_cast<int>(text.size());
  const int needed = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr,
                                         0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), size, bytes.data(), needed,
                      nullptr, nullptr);
  return bytes;
}

bool TextCodePageLetters::Holds(std::wstring_view letter) const {
  const std::wstring wide(letter);
  return AnsiToWide(WideToAnsi(wide)) == wide;
}

}  // namespace tw::win32
