#include "win32/system/system.h"

#include <algorithm>

namespace tw::win32 {

// Windows 7 without its DLL-search update knows no LOAD_LIBRARY_SEARCH_SYSTEM32; the full path of
// the system folder's copy serves there.
HMODULE LoadSystemLibrary(const wchar_t* fileName) {
  if (HMODULE library = LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    return library;
  }
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  return LoadLibraryW((std::wstring(folder, length) + L"\\" + fileName).c_str());
}

FARPROC SystemProcedure(const wchar_t* dll, const char* name) {
  HMODULE module = GetModuleHandleW(dll);
  if (module == nullptr) module = LoadSystemLibrary(dll);
  return module != nullptr ? GetProcAddress(module, name) : nullptr;
}

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(std::max(GetWindowTextW(window, text.data(), length + 1), 0)));
  return text;
}

bool RunningUnderWine() {
  return SystemProcedure(L"ntdll.dll", "wine_get_version") != nullptr;
}

}  // namespace tw::win32
