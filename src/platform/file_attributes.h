// File attributes: the one file operation that differs between Windows and the native build.
#pragma once

#include <string>

namespace tw::platform {

// If path names an existing ordinary file (not hidden, not system, not a directory), clears its
// read-only, hidden, system and archive attributes. A hidden or system file keeps them.
void ResetOrdinaryFileAttributes(const std::string& path);

}  // namespace tw::platform
