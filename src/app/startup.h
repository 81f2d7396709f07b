// The start-up sequence: program folder, single instance, the main window with its settings,
// entries and appearance, shown and topmost.
#pragma once

#include <memory>
#include <optional>

#include "core/app.h"

namespace tw::app {

inline constexpr const char* kInstanceCaption = " Typewell";
inline constexpr const char* kHintToolTip = " Click to add or edit text ";

// The program folder of an executable path: its folder with one trailing separator.
std::string ProgramFolderOf(const std::string& executablePath);

// The name of the instance lock of a program folder: the same for every spelling of the folder
// that differs only in the case of ASCII letters, and free of backslashes.
std::string InstanceLockName(const std::string& programFolder);

// Loads and checks the settings into app.settings for a screen and a window of the given sizes
// (twips); a position on no monitor is re-centred. An empty settings file switches the main
// window to the normal state. Throws store::FileError.
void LoadSettings(core::App& app, double screenWidth, double screenHeight, double windowWidth,
                  double windowHeight);

// Runs the start-up sequence. Returns nothing when the program goes on to its message loop with
// app built and shown; otherwise the exit code to end with (another instance runs, or a file
// could not be used, which has been reported).
std::optional<int> Main(forms::Toolkit& toolkit, platform::WindowSystem& windows,
                        std::function<void(int)> requestExit, std::unique_ptr<core::App>& app);

}  // namespace tw::app
