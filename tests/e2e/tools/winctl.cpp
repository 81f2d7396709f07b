// winctl: acts on a top-level window found by its exact title, for the end-to-end tests.
//   winctl.exe restore|minimize|close|foreground "<title>"
// restore and minimize use ShowWindow, close posts WM_CLOSE (as the caption's close box would),
// foreground calls SetForegroundWindow. Exit codes: 0 done, 1 bad arguments or the call failed,
// 2 no window has that title.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tool_support.h"

namespace {

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
  const std::vector<std::wstring> args = tw::tools::CommandLineArguments();
  const int argc = static_cast<int>(args.size());
  if (argc != 3) return Usage();
  const std::wstring action = args[1].c_str();
  HWND window = FindWindowW(nullptr, args[2].c_str());
  if (window == nullptr) {
    std::fputs("winctl: no window with that title\n", stderr);
    return 2;
  }
  return Act(action, window);
}
