// Shared set-up of the Win32 backend tests: the real main window realised with the Win32
// backend, and a bounded message pump that waits for a condition.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>

#include "core/main_window.h"
#include "forms/toolkit.h"
#include "win32/win32_backend.h"

namespace tw::win32::testing {

// Dispatches messages until condition() holds or the bound runs out; returns condition().
inline bool PumpUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds bound = std::chrono::milliseconds(5000)) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

inline HWND Hwnd(const forms::Control& c) {
  return Win32Backend::WindowOf(c);
}

// The main window's layout over the Win32 backend, loaded (and shown on request).
struct RealMainWindow {
  Win32Backend backend{GetModuleHandleW(nullptr)};
  forms::Toolkit toolkit{backend};
  core::MainWindow main{toolkit};

  RealMainWindow() {
    main.form.setCaption(" Typewell backend test");
    main.form.load();
  }
  void show() {
    main.form.setWindowState(forms::WindowState::Normal);
    main.form.show();
  }
};

}  // namespace tw::win32::testing
