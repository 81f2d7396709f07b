// Small pieces shared by the end-to-end test programs: the command line as wide strings, and
// the marker files through which a program tells the test script where it is.
#pragma once

#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include <string>
#include <vector>

namespace tw::tools {

// The program's arguments, the program's own name first.
inline std::vector<std::wstring> CommandLineArguments() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> args;
  if (argv == nullptr) return args;
  args.assign(argv, argv + count);
  LocalFree(argv);
  return args;
}

// Creates (or empties) a marker file.
inline void Touch(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

inline bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Registers a class for a tool's top-level window and creates that window (captioned, with a
// close box, hidden) at the given place; nullptr if either step fails.
inline HWND CreateToolWindow(HINSTANCE instance, WNDPROC procedure, const wchar_t* className,
                             const wchar_t* title, RECT place, void* state) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className;
  if (!RegisterClassExW(&windowClass)) return nullptr;
  return CreateWindowExW(0, className, title, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, place.left,
                         place.top, place.right - place.left, place.bottom - place.top, nullptr,
                         nullptr, instance, state);
}

}  // namespace tw::tools
