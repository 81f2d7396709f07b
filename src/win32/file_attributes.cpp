// Windows file attributes: an ordinary file is one that a directory search for normal files
// finds, that is neither hidden, nor system, nor a directory.
#include <windows.h>

#include "platform/file_attributes.h"

namespace tw::platform {

void ResetOrdinaryFileAttributes(const std::string& path) {
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  FindClose(search);
  constexpr DWORD kNotOrdinary =
      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
  if ((found.dwFileAttributes & kNotOrdinary) != 0) return;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace tw::platform
