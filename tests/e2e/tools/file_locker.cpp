// file_locker: holds a file open without sharing, as another program might, for the end-to-end
// tests.
//   file_locker.exe <file> <outdir>
// Opens the file with no sharing (any other open of it fails until this program ends), writes
// <outdir>/locked, and keeps the file open until <outdir>/unlock appears (or ten minutes pass);
// then closes it and writes <outdir>/unlocked. Exit codes: 0 done, 1 bad arguments, 2 the file
// could not be opened.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tool_support.h"

int main() {
  const std::vector<std::wstring> args = tw::tools::CommandLineArguments();
  const int argc = static_cast<int>(args.size());
  if (argc != 3) {
    std::fputs("usage: file_locker.exe <file> <outdir>\n", stderr);
    return 1;
  }
  const std::wstring outdir = args[2].c_str();
  const HANDLE file = CreateFileW(args[1].c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::fputs("file_locker: cannot open the file\n", stderr);
    return 2;
  }
  tw::tools::Touch(outdir + L"\\locked");
  constexpr int kPollMs = 50;
  for (int waited = 0; waited < 10 * 60 * 1000 && !tw::tools::Exists(outdir + L"\\unlock");
       waited += kPollMs) {
    Sleep(kPollMs);
  }
  CloseHandle(file);
  tw::tools::Touch(outdir + L"\\unlocked");
  return 0;
}
