// The native build's file attributes: a read-only file is one without write permission, and
// a name beginning with a dot stands for a hidden file.
#include <sys/stat.h>

#include "platform/file_attributes.h"

namespace tw::platform {

void ResetOrdinaryFileAttributes(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  if (!base.empty() && base[0] == '.') return;
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
  chmod(path.c_str(), st.st_mode | S_IWUSR);
}

}  // namespace tw::platform
