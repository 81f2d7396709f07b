// One way to bind a window to the object that handles its messages, for every window class of
// Typewell's own (the main window, the labels, the containers, the drag outline, the clipboard's
// owner) and every window of the system's classes that Typewell subclasses (the buttons, the edit
// box, the options dialog): the object is given at creation (CreateWindowExW's last parameter, or
// SetWindowSubclass's reference data) and stays bound until WM_NCDESTROY. Handle is a member
// function of the object, or a function taking it first, called as
//   LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
// which leaves what it does not handle to DefWindowProcW (a class of our own) or to
// DefSubclassProc (a subclass). An exception that a handler lets escape stops at one edge, which
// logs it with the system's last error; the message then counts as handled.
#pragma once

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <exception>
#include <functional>

namespace tw::win32 {

// Writes "Typewell: <what> (system error <GetLastError()>)" to the debug output.
void LogFailure(const char* what) noexcept;

template <class Handler>
LRESULT AtTheEdge(const Handler& handle) noexcept {
  try {
    return handle();
  } catch (const std::exception& e) {
    LogFailure(e.what());
  } catch (...) {
    LogFailure("an event handler failed");
  }
  return 0;
}

template <class T, auto Handle>
LRESULT CALLBACK BoundWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* object = reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  if (object == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return AtTheEdge([&] { return std::invoke(Handle, *object, window, message, wParam, lParam); });
}

template <class T, auto Handle>
LRESULT CALLBACK BoundSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR object) noexcept {
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, BoundSubclassProc<T, Handle>, id);
    return DefSubclassProc(window, message, wParam, lParam);
  }
  return AtTheEdge([&] {
    return std::invoke(Handle, *reinterpret_cast<T*>(object), window, message, wParam, lParam);
  });
}

// Binds a window of a system's class to the object for the rest of its life; false when the
// system cannot.
template <class T, auto Handle>
bool Subclass(HWND window, T& object) {
  return SetWindowSubclass(window, BoundSubclassProc<T, Handle>, 1,
                           reinterpret_cast<DWORD_PTR>(&object)) != FALSE;
}

// A window class of Typewell's own, registered once per process (a class registered already
// counts as registered). Throws StartFailure when the system refuses it.
struct WindowClass {
  const wchar_t* name;
  WNDPROC procedure;
  UINT style = 0;
  int extraBytes = 0;
  int systemBrush = -1;  // a COLOR_ index for the background; -1: none
  bool programIcon = false;
  // A system's class that this one takes its procedure and its other traits from (a superclass).
  const wchar_t* base = nullptr;
};
void Register(const WindowClass& windowClass);

}  // namespace tw::win32
