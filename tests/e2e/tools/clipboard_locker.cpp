// clipboard_locker: holds the clipboard open, as another program might, for the end-to-end tests.
//   clipboard_locker.exe <milliseconds> <outdir>
// Opens the clipboard with a window of its own (with a null owner Wine would let a second
// program open it too), writes <outdir>/held, keeps it open that long, closes it and writes
// <outdir>/released. Exit codes: 0 done, 1 bad arguments, 2 the clipboard could not be opened.
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

void Touch(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

}  // namespace

int main() {
  int argc = 0;
  std::unique_ptr<LPWSTR, LocalFreeDeleter> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
  if (!argv || argc != 3) {
    std::fputs("usage: clipboard_locker.exe <milliseconds> <outdir>\n", stderr);
    return 1;
  }
  const DWORD milliseconds = static_cast<DWORD>(_wtoi(argv.get()[1]));
  const std::wstring outdir = argv.get()[2];

  const HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
  if (!owner || !OpenClipboard(owner)) {
    std::fputs("clipboard_locker: cannot open the clipboard\n", stderr);
    return 2;
  }
  Touch(outdir + L"\\held");
  Sleep(milliseconds);
  CloseClipboard();
  Touch(outdir + L"\\released");
  DestroyWindow(owner);
  return 0;
}
