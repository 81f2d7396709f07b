// The native build's file attributes: only the write permission, which a read-only Windows file
// lacks too. Dot files stand in for hidden ones.
#include <sys/stat.h>

#include <filesystem>

#include "store/binary_file.h"

namespace tw::store {

void ResetOrdinaryFileAttributes(const std::wstring& path) {
  const std::filesystem::path file(path);
  struct stat st {};
  if (stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
  if (file.filename().string().starts_with('.')) return;
  chmod(file.c_str(), st.st_mode | S_IWUSR);
}

}  // namespace tw::store
