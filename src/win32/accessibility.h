// What a screen reader hears (a stand-in until the accessible names are in place).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tw::win32 {

inline std::optional<LRESULT> AnswerGetObject(HWND, WPARAM, LPARAM, const std::wstring&) {
  return std::nullopt;
}
inline void NotifyNameChanged(HWND) {}
inline void Announce(HWND, const std::wstring&) {
  MessageBeep(MB_ICONWARNING);
}

}  // namespace tw::win32
