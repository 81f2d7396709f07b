// The shell and message boxes on real Win32; see services_win32.h.
#include "win32/services/services_win32.h"

#include "ui/layout.h"
#include "win32/system/system.h"
#include "win32/windows/accessibility.h"
#include "win32/windows/close_question.h"

namespace tw::win32 {

std::optional<std::wstring> Win32Shell::FindExecutable(const std::wstring& fileName,
                                                       const std::wstring& folder) {
  // The shell is loaded on the first use only, and only from the system folder: it pulls in much
  // that the start-up does not need, and a DLL of that name planted beside the exe (a Downloads
  // folder) must never be loaded.
  const auto find = SystemFunction<HINSTANCE(WINAPI*)(LPCWSTR, LPCWSTR, LPWSTR)>(L"shell32.dll",
                                                                                 "FindExecutableW");
  if (find == nullptr) return std::nullopt;
  wchar_t result[MAX_PATH + 1] = {};
  const auto code = reinterpret_cast<INT_PTR>(find(fileName.c_str(), folder.c_str(), result));
  if (code <= 32) return std::nullopt;
  result[MAX_PATH] = L'\0';
  return std::wstring(result);
}

void Win32Shell::StartProgram(const std::wstring& commandLine) {
  std::wstring line = commandLine;  // CreateProcessW may write into its command line
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

namespace {

HWND Owner(HWND mainWindow) {
  HWND active = GetActiveWindow();  // of this thread: Typewell's own, if any
  if (active != nullptr && IsWindowEnabled(active)) return active;
  return IsWindow(mainWindow) ? mainWindow : nullptr;
}

}  // namespace

void ShowReport(HWND mainWindow, const std::wstring& message) {
  MessageBoxW(Owner(mainWindow), message.c_str(), ui::kMessageTitle, MB_ICONERROR | MB_OK);
}

services::CloseAnswer Win32Messages::AskAtClose(const std::wstring& message) {
  return AskCloseQuestion(Owner(mainWindow_), message);
}

void Win32Messages::Notify(const std::wstring& message) {
  Announce(mainWindow_, message);
}

std::wstring ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace tw::win32
