// Only one Typewell runs: a second start finds the first one's window by its caption, restores
// and activates it, and ends. A lock named after the program folder covers the moment before
// the first one's window exists.
#pragma once

#include <string>

#include "services/desktop.h"

namespace tw::app {

// The folder of an executable path, ending in one separator.
std::wstring ProgramFolderOf(const std::wstring& executablePath);

// The name of the instance lock of a program folder: the same for every spelling of the folder
// that differs only in the case of ASCII letters, and free of backslashes.
std::wstring InstanceLockName(const std::wstring& programFolder);

// Whether another instance runs (its window exists, or it holds the lock of this folder); its
// window, once found, is restored and activated.
bool AnotherInstanceRuns(services::Desktop& desktop, const std::wstring& programFolder);

}  // namespace tw::app
