// One family of RAII owners for the Win32 handles Typewell makes (windows, GDI objects, kernel
// handles, libraries), and scopes for device contexts and painting. Each owner closes its handle
// once, when it goes out of scope or is reset.
#pragma once

#include <windows.h>

#include <utility>

namespace tw::win32 {

template <class Handle, auto Close>
class Scoped {
 public:
  Scoped() = default;
  explicit Scoped(Handle h) : handle_(h) {}
  ~Scoped() { reset(); }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
  Scoped(Scoped&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }

  Handle get() const { return handle_; }
  // The handle, no longer owned here.
  Handle release() { return std::exchange(handle_, nullptr); }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset(Handle h = nullptr) {
    if (handle_ != nullptr) Close(handle_);
    handle_ = h;
  }

 private:
  Handle handle_ = nullptr;
};

inline void DestroyIfWindow(HWND window) {
  if (IsWindow(window)) DestroyWindow(window);
}
inline void DeleteGdiObject(HGDIOBJ object) {
  DeleteObject(object);
}
inline void CloseKernelHandle(HANDLE handle) {
  CloseHandle(handle);
}
inline void FreeLibraryHandle(HMODULE library) {
  FreeLibrary(library);
}

inline void UnhookEvent(HWINEVENTHOOK hook) {
  UnhookWinEvent(hook);
}

using ScopedWindow = Scoped<HWND, DestroyIfWindow>;
using ScopedWinEventHook = Scoped<HWINEVENTHOOK, UnhookEvent>;
using ScopedFont = Scoped<HFONT, DeleteGdiObject>;
using ScopedHandle = Scoped<HANDLE, CloseKernelHandle>;
using ScopedLibrary = Scoped<HMODULE, FreeLibraryHandle>;

// A device context of a window (the screen's for none), released when done.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDC() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint/EndPaint for one WM_PAINT.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Selects a GDI object into a DC and puts the previous one back.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectScope() { SelectObject(dc_, previous_); }
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace tw::win32
