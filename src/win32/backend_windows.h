// Inside the Win32 forms backend: the per-form window record and the window classes and
// procedures shared by the backend's source files. Not used outside src/win32.
#pragma once

#include <windows.h>

#include <vector>

#include "forms/form.h"
#include "win32/drag_outline.h"
#include "win32/scoped_handles.h"
#include "win32/win32_backend.h"

namespace tw::win32 {

inline constexpr wchar_t kFormClass[] = L"TypewellForm";
inline constexpr wchar_t kLabelClass[] = L"TypewellLabel";
inline constexpr wchar_t kContainerClass[] = L"TypewellContainer";
inline constexpr wchar_t kFocusSinkClass[] = L"TypewellFocusSink";
// The system's button with one device context for all its windows (see RegisterWindowClasses).
inline constexpr wchar_t kButtonClass[] = L"TypewellButton";

// The native side of one loaded form. Destroyed in reverse order: outline, tool tips, window.
struct FormWindow {
  Win32Backend* backend = nullptr;
  forms::Form* form = nullptr;
  ScopedWindow window;
  ScopedWindow toolTip;
  DragOutline outline;
  // The backend is applying the object's own position, size or state: the window's reports of
  // that change are not fed back.
  bool applying = false;
  // The other forms' windows that this form, shown modally, has disabled.
  std::vector<HWND> disabledWhileModal;
};

// Sets a flag for the life of a scope.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = previous_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool previous_;
};

// The form record of a form (null when not realised) and of one of its windows.
FormWindow* FormWindowOf(const forms::Form& form);
FormWindow* FormWindowOfWindow(HWND formWindow);
// The control whose window this is, while its form is realised; else null.
forms::Control* ControlOfWindow(HWND window);
Win32Backend& BackendOf(const forms::Control& control);

void RegisterWindowClasses(HINSTANCE instance);
// Subclasses a BUTTON or EDIT window so that the toolkit sees its input and focus.
void SubclassControlWindow(HWND window);

LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// Translates and dispatches one message, with Tab and the dialog keys handled first.
void DispatchWithDialogKeys(MSG& msg);

}  // namespace tw::win32
