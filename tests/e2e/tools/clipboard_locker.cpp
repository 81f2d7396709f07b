// clipboard_locker: holds the clipboard open, as another program might, for the end-to-end tests.
//   clipboard_locker.exe <milliseconds> <outdir>
// Opens the clipboard with a window of its own (with a null owner Wine would let a second
// program open it too), writes <outdir>/held, keeps it open that long, closes it and writes
// <outdir>/released. Exit codes: 0 done, 1 bad arguments, 2 the clipboard could not be opened.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tool_support.h"

int main() {
  const std::vector<std::wstring> args = tw::tools::CommandLineArguments();
  const int argc = static_cast<int>(args.size());
  if (argc != 3) {
    std::fputs("usage: clipboard_locker.exe <milliseconds> <outdir>\n", stderr);
    return 1;
  }
  const DWORD milliseconds = static_cast<DWORD>(_wtoi(args[1].c_str()));
  const std::wstring outdir = args[2].c_str();

  const HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
  if (!owner || !OpenClipboard(owner)) {
    std::fputs("clipboard_locker: cannot open the clipboard\n", stderr);
    return 2;
  }
  tw::tools::Touch(outdir + L"\\held");
  Sleep(milliseconds);
  CloseClipboard();
  tw::tools::Touch(outdir + L"\\released");
  DestroyWindow(owner);
  return 0;
}
