// The native build's file attributes: only the write permission, which a read-only Windows file
// lacks too. Dot files stand in for hidden ones. Its reasons are the C library's.
#include <cstring>
#include <filesystem>

#include "store/binary_file.h"

namespace tw::store {

void ResetOrdinaryFileAttributes(const std::wstring& path) {
  const std::filesystem::path file(path);
  if (file.filename().string().starts_with('.')) return;
  std::error_code ignored;
  std::filesystem::permissions(file, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add, ignored);
}

std::wstring FileErrorReason(int error) {
  const std::string reason = std::strerror(error);
  return {reason.begin(), reason.end()};
}

}  // namespace tw::store
