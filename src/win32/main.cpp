// Typewell's entry point: DPI awareness, the common controls, the Win32 forms backend and
// window-system services, then the start-up sequence and the message loop.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <cstdlib>
#include <memory>

#include "app/startup.h"
#include "forms/toolkit.h"
#include "win32/startup_trace.h"
#include "win32/win32_backend.h"
#include "win32/window_system_win32.h"

namespace {

void BecomeDpiAware() {
  // Also declared in the manifest; failure is fine (Wine starts every process aware already).
  using SetContext = BOOL(WINAPI*)(HANDLE);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return;
  auto set = reinterpret_cast<SetContext>(
      reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
  if (set != nullptr) set(reinterpret_cast<HANDLE>(-4));  // per monitor, version 2
}

}  // namespace

// The runtime's default handler of an escaped exception prints its type's demangled name; the
// demangler alone is a sixth of the program. Window procedures catch everything at their edge,
// so this only runs on a broken invariant, where ending at once is all there is to do.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
  std::abort();
}
}  // namespace __gnu_cxx

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Typewell is a portable exe that users run from any folder, a Downloads folder too: no DLL
  // planted beside it may ever be loaded, so DLLs come from the system folder only. Windows 7
  // has the function only with its DLL-search update: looked up, so that the exe starts without.
  using SetDirectories = BOOL(WINAPI*)(DWORD);
  auto setDirectories = reinterpret_cast<SetDirectories>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDirectories != nullptr) setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  tw::win32::StartupTrace trace;
  trace.mark("winmain");
  BecomeDpiAware();
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  trace.mark("common_controls");

  tw::win32::Win32Backend backend(instance);
  backend.setStartupTrace(&trace);
  tw::forms::Toolkit toolkit(backend);
  tw::win32::Win32WindowSystem windows;
  trace.mark("backend");
  std::unique_ptr<tw::core::App> app;
  const auto code = tw::app::Main(
      toolkit, windows, [](int exitCode) { PostQuitMessage(exitCode); }, app);
  if (code) return *code;
  trace.mark("shown");
  backend.setStartupTrace(nullptr);
  if (trace.enabled()) {
    windows.doEvents();  // the first paint
    trace.mark("painted");
    trace.write();
  }
  return tw::win32::RunMessageLoop();
}
