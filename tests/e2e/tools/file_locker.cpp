// file_locker: holds a file open without sharing, as another program might, for the end-to-end
// tests.
//   file_locker.exe <file> <outdir>
// Opens the file with no sharing (any other open of it fails until this program ends), writes
// <outdir>/locked, and keeps the file open until <outdir>/unlock appears (or ten minutes pass);
// then closes it and writes <outdir>/unlocked. Exit codes: 0 done, 1 bad arguments, 2 the file
// could not be opened.
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

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int main() {
  int argc = 0;
  std::unique_ptr<LPWSTR, LocalFreeDeleter> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
  if (!argv || argc != 3) {
    std::fputs("usage: file_locker.exe <file> <outdir>\n", stderr);
    return 1;
  }
  const std::wstring outdir = argv.get()[2];
  const HANDLE file = CreateFileW(argv.get()[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::fputs("file_locker: cannot open the file\n", stderr);
    return 2;
  }
  Touch(outdir + L"\\locked");
  constexpr int kPollMs = 50;
  for (int waited = 0; waited < 10 * 60 * 1000 && !Exists(outdir + L"\\unlock");
       waited += kPollMs) {
    Sleep(kPollMs);
  }
  CloseHandle(file);
  Touch(outdir + L"\\unlocked");
  return 0;
}
