// winctl: acts on a top-level window found by its exact title, for the end-to-end tests.
//   winctl.exe restore|minimize|close|foreground "<title>"
// restore and minimize use ShowWindow, close posts WM_CLOSE (as the caption's close box would),
// foreground calls SetForegroundWindow. Exit codes: 0 done, 1 bad arguments or the call failed,
// 2 no window has that title.
#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

struct LocalFreeDeleter {
  void operator()(LPWSTR* p) const { LocalFree(p); }
};

int Usage() {
  std::fputs("usage: winctl.exe restore|minimize|close|foreground \"<window title>\"\n", stderr);
  return 1;
}

int Act(const std::wstring& action, HWND window) {
  if (action == L"restore") {
    ShowWindow(window, SW_RESTORE);
    return 0;
  }
  if (action == L"minimize") {
    ShowWindow(window, SW_MINIMIZE);
    return 0;
  }
  if (action == L"close") return PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
  if (action == L"foreground") return SetForegroundWindow(window) ? 0 : 1;
  return Usage();
}

}  // namespace

int main() {
  int argc = 0;
  std::unique_ptr<LPWSTR, LocalFreeDeleter> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
  if (!argv || argc != 3) return Usage();
  const std::wstring action = argv.get()[1];
  HWND window = FindWindowW(nullptr, argv.get()[2]);
  if (window == nullptr) {
    std::fputs("winctl: no window with that title\n", stderr);
    return 2;
  }
  return Act(action, window);
}
