// The start-up sequence: program folder, single instance, the main window with its settings,
// entries and appearance, shown and topmost.
#pragma once

#include <memory>
#include <optional>

#include "app/app.h"

namespace tw::app {

// The program folder of an executable path: its folder with one trailing separator.
std::string ProgramFolderOf(const std::string& executablePath);

// Runs the start-up sequence. Returns nothing when the program goes on to its message loop with
// app built and shown; otherwise the exit code to end with (another instance runs, or a file
// could not be used, which has been reported).
std::optional<int> Main(forms::Toolkit& toolkit, platform::WindowSystem& windows,
                        std::function<void(int)> requestExit, std::unique_ptr<App>& app);

}  // namespace tw::app
