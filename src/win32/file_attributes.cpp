// Windows file attributes: an ordinary file is one that a directory search for normal files
// finds, that is neither hidden, nor system, nor a directory.
#include <windows.h>

#include "store/binary_file.h"

namespace tw::store {

void ResetOrdinaryFileAttributes(const std::wstring& path) {
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  FindClose(search);
  constexpr DWORD kNotOrdinary =
      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
  if ((found.dwFileAttributes & kNotOrdinary) != 0) return;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace tw::store
