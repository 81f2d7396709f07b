// Typewell's entry point: a safe DLL search, DPI awareness and the common controls; then a
// second start hands over to the first, and otherwise the main window and the services are made,
// the program starts in them and runs the message loop.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <stdexcept>
#include <string>

#include "app/app.h"
#include "app/instance.h"
#include "win32/services/services_win32.h"
#include "win32/system/system.h"
#include "win32/windows/main_window.h"

namespace {

// Typewell is a portable exe that users run from any folder, a Downloads folder too: no DLL
// planted beside it may ever be loaded, so DLLs come from the system folder only. Windows 7
// without its DLL-search update lacks the function; Typewell loads no DLL by name there but
// shell32, which comes from the system folder all the same.
void RestrictDllSearch() {
  using SetDirectoriesFn = BOOL(WINAPI*)(DWORD);
  if (const auto set = tw::win32::SystemFunction<SetDirectoriesFn>(L"kernel32.dll",
                                                                   "SetDefaultDllDirectories")) {
    set(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
}

void BecomeDpiAware() {
  // Also declared in the manifest; failure is fine (Wine starts every process aware already).
  using SetContextFn = BOOL(WINAPI*)(HANDLE);
  if (const auto set =
          tw::win32::SystemFunction<SetContextFn>(L"user32.dll", "SetProcessDpiAwarenessContext")) {
    set(reinterpret_cast<HANDLE>(-4));  // per monitor, version 2
  }
}

}  // namespace

namespace {

// Typewell from its start to the end of its message loop; throws StartFailure when a
// window cannot be made.
int Run(HINSTANCE instance) {
  RestrictDllSearch();
  BecomeDpiAware();
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  tw::win32::Win32Desktop desktop;
  const std::wstring programFolder = tw::app::ProgramFolderOf(tw::win32::ExecutablePath());
  if (tw::app::AnotherInstanceRuns(desktop, programFolder)) return 0;

  tw::win32::MainWindow window(instance);
  tw::win32::Win32Typing typing;
  tw::win32::Win32Shell shell;
  tw::win32::Win32Messages messages(window.Handle());
  tw::app::App app({desktop, typing, shell, messages}, window, programFolder);
  window.SetEvents(app);
  if (const auto failure = app.Start()) {
    // The window goes before the report: while the message is open, a second start must not
    // find it.
    window.Destroy();
    MessageBoxW(nullptr, failure->c_str(), tw::ui::kMessageTitle, MB_ICONERROR | MB_OK);
    return 1;
  }
  return window.RunMessageLoop();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  try {
    return Run(instance);
  } catch (const std::exception& e) {
    // What failed is said in our own words, in ASCII, with the system's error number.
    const std::string what = e.what();
    OutputDebugStringA(("Typewell cannot start: " + what + "\n").c_str());
    const std::wstring message =
        L"Typewell cannot start: " + std::wstring(what.begin(), what.end());
    MessageBoxW(nullptr, message.c_str(), tw::ui::kMessageTitle, MB_ICONERROR | MB_OK);
    return 1;
  }
}
