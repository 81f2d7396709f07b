// The one application context: the program folder, the settings record, the TargetWindow, the
// editing and drag state, the forms and the services. Handlers of every subsystem take it; a
// test builds a fresh App over a temporary folder, a headless backend and a recording services
// fake.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/main_window.h"
#include "forms/toolkit.h"
#include "platform/window_system.h"
#include "store/file_error.h"
#include "store/settings_file.h"

namespace tw::core {

class App {
 public:
  App(forms::Toolkit& toolkit, platform::WindowSystem& windows, std::string programFolder);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  forms::Toolkit& toolkit;
  platform::WindowSystem& windows;
  const std::string programFolder;  // ends in a backslash (or a slash in the native build)

  store::SettingsRecord settings{};
  platform::WindowHandle targetWindow = 0;
  std::int16_t currentSlot = 0;  // the slot of the open edit, and the source of a drag
  float dragStartX = 0;          // the last press on an entry label, twips, relative to it
  float dragStartY = 0;
  bool fillRunning = false;          // a fill is under way (it may be yielding to pending events)
  bool positionSaveFailing = false;  // the timer's last position save failed and was reported
  bool committingEdit = false;       // an edit's commit runs: focus losses it causes commit nothing
  bool inFrontDue = false;  // the window lost the activation: it goes on top again (KeepOnTop)

  MainWindow main;  // DoIt

  // A window of the program: one of its loaded forms, or any other window of its process (a
  // message box).
  bool ownsWindow(platform::WindowHandle window) const;

  // The full path of one of the program's files.
  std::string pathOf(const std::string& fileName) const { return programFolder + fileName; }

  // Ends the process's message loop (the main window was unloaded).
  std::function<void(int exitCode)> requestExit;
};

}  // namespace tw::core
