// Helpers over the system: the functions that a DLL of the system folder has (looked up, so that
// Typewell still starts on a Windows that lacks them), a window's text, and whether Wine runs us.
#pragma once

#include <windows.h>

#include <string>

namespace tw::win32 {

// The DLL of the system folder, loaded once; never a DLL of that name from anywhere else (one
// planted beside the exe in a Downloads folder). Null where it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* fileName);

// A function of a DLL of the system folder: of the copy this process has loaded already (the
// common controls of the manifest's version among them), else of the one loaded from the system
// folder, which then stays loaded. Null where the DLL or the function is missing.
FARPROC SystemProcedure(const wchar_t* dll, const char* name);
template <class Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(SystemProcedure(dll, name)));
}

// The window's text; "" for none or no window.
std::wstring WindowText(HWND window);

bool RunningUnderWine();

}  // namespace tw::win32
