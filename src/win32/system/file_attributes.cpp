// Windows file attributes: an ordinary file is one that a directory search for normal files
// finds, that is neither hidden, nor system, nor a directory. And the system's reason for a file
// error, which the C runtime keeps in _doserrno.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "store/binary_file.h"

namespace tw::store {

void ResetOrdinaryFileAttributes(const std::wstring& path) {
  _doserrno = 0;
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  FindClose(search);
  constexpr DWORD kNotOrdinary =
      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
  if ((found.dwFileAttributes & kNotOrdinary) != 0) return;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

std::wstring FileErrorReason(int error) {
  wchar_t* text = nullptr;
  const auto code = static_cast<DWORD>(_doserrno);
  const DWORD length =
      code == 0 ? 0
                : FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring reason(text, length);
  if (text != nullptr) LocalFree(text);
  if (reason.empty()) {
    const std::string runtime = std::strerror(error);  // the C runtime's own words, in ASCII
    reason.assign(runtime.begin(), runtime.end());
  }
  while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r')) reason.pop_back();
  return reason;
}

}  // namespace tw::store
