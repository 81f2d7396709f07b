// Small RAII owners for the Win32 handles that the forms backend creates: windows and GDI
// objects. Each owner destroys its handle once, when it goes out of scope or is reset.
#pragma once

#include <windows.h>

#include <utility>

namespace tw::win32 {

template <class Handle, class Traits>
class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(Handle h) : handle_(h) {}
  ~ScopedHandle() { reset(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset(Handle h = nullptr) {
    if (handle_ != nullptr) Traits::Close(handle_);
    handle_ = h;
  }
  Handle release() { return std::exchange(handle_, nullptr); }

 private:
  Handle handle_ = nullptr;
};

struct WindowTraits {
  static void Close(HWND h) {
    if (IsWindow(h)) DestroyWindow(h);
  }
};
struct FontTraits {
  static void Close(HFONT h) { DeleteObject(h); }
};
struct BrushTraits {
  static void Close(HBRUSH h) { DeleteObject(h); }
};
struct IconTraits {
  static void Close(HICON h) { DestroyIcon(h); }
};

struct FileTraits {
  static void Close(HANDLE h) { CloseHandle(h); }
};

using ScopedWindow = ScopedHandle<HWND, WindowTraits>;
using ScopedFont = ScopedHandle<HFONT, FontTraits>;
using ScopedBrush = ScopedHandle<HBRUSH, BrushTraits>;
using ScopedFile = ScopedHandle<HANDLE, FileTraits>;

// A file handle from CreateFileW, which reports failure as INVALID_HANDLE_VALUE, not null.
inline ScopedFile OwnFile(HANDLE h) {
  return ScopedFile(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// A device context of a window, released when done.
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
  explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  ~PaintScope() { EndPaint(window_, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_ = nullptr;
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
