// How the controls of Typewell's windows take the mouse, the keys and a screen reader's
// questions, shared by their window procedures (controls.cpp, label.cpp).
#pragma once

#include <windows.h>

#include <optional>

#include "win32/windows/controls.h"

namespace tw::win32 {

// A message of a control, and the processing that the control leaves what it does not take
// to: DefSubclassProc for the system's controls, DefWindowProcW for ours.
struct ControlMessage {
  HWND control;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT(CALLBACK* byDefault)(HWND, UINT, WPARAM, LPARAM);
  LRESULT RunDefault() const { return byDefault(control, message, wParam, lParam); }
};

struct ControlMessages {
  // The press tracking, the keys and the accessible name of a control: the answer to the
  // message, or nullopt for the messages it leaves to the control's own processing (which has
  // not run then). The press of a left button runs it too, so that a button still looks
  // pressed, captures the mouse and reports its click.
  static std::optional<LRESULT> OnMessage(ControlEvents& events, const ControlMessage& m);

 private:
  // Presses, moves and releases; nullopt for other messages.
  static std::optional<LRESULT> OnPress(ControlEvents& events, const ControlMessage& m);
};

// Whether the window has a non-client area to paint. A control without one skips the default
// WM_NCPAINT, which would take a device context of the window frame only to paint nothing (and
// under Wine keeps one more cached device context, with its bitmap and region, per window).
bool HasFrame(HWND window);

// The labels' procedure (label.cpp) and the extra bytes each label keeps.
LRESULT LabelMessage(ControlEvents& events, HWND label, UINT message, WPARAM wParam, LPARAM lParam);
inline constexpr int kLabelExtraBytes = 2 * sizeof(LONG_PTR);

}  // namespace tw::win32
