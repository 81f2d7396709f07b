#include "win32/system/window_binding.h"

#include <cstdio>
#include <string>

#include "win32/system/icons.h"
#include "win32/system/start_failure.h"

namespace tw::win32 {

void LogFailure(const char* what) noexcept {
  char line[256];
  std::snprintf(line, sizeof line, "Typewell: %s (system error %lu)\n", what, GetLastError());
  OutputDebugStringA(line);
}

void Register(const WindowClass& windowClass) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (windowClass.base != nullptr && !GetClassInfoExW(nullptr, windowClass.base, &wc)) {
    throw StartFailure("a class of the system's is missing");
  }
  wc.style |= windowClass.style;
  if (windowClass.base == nullptr) {
    wc.lpfnWndProc = windowClass.procedure;
    wc.cbWndExtra = windowClass.extraBytes;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  }
  wc.hInstance = GetModuleHandleW(nullptr);
  if (windowClass.systemBrush >= 0) {
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(windowClass.systemBrush + 1));
  }
  if (windowClass.programIcon) SetClassIcons(wc);
  wc.lpszClassName = windowClass.name;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    std::string what = "the window class ";
    for (const wchar_t* c = windowClass.name; *c != L'\0'; ++c) what += static_cast<char>(*c);
    throw StartFailure((what + " cannot be registered").c_str());
  }
}

}  // namespace tw::win32
