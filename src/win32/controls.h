// The controls of Typewell's windows, made from a layout plan at the window's DPI: the system's
// buttons and edit box, and classes of our own for labels (a background colour and a line of
// text), containers and the focus sink. Labels and the buttons that report releases tell their
// window of each press, move and release: a release belongs to the control where the press
// happened, for any mouse button, wherever the pointer is then.
#pragma once

#include <windows.h>

#include "ui/layout.h"

namespace tw::win32 {

// What a control tells its window. Positions are in the control's client pixels.
class ControlEvents {
 public:
  virtual ~ControlEvents() = default;
  virtual void OnControlPressed(HWND control, POINT at) = 0;
  virtual void OnControlMoved(HWND control, POINT at, WPARAM buttons) = 0;
  // The pointer moved over the control with no press of it under way.
  virtual void OnControlHovered(HWND, POINT) {}
  // The last button held since the press went up.
  virtual void OnControlReleased(HWND control) = 0;
  // Another window took the mouse before the release (a message box, another program).
  virtual void OnPressTakenAway(HWND control) = 0;
  virtual void OnEditBoxLostFocus(HWND control) = 0;
};

void RegisterControlClasses(HINSTANCE instance);

// Makes the control of the plan in parent (which stands at container in the window's client
// area) at the DPI; labels, buttons and option buttons report to events. extraStyle adds to the
// kind's styles (WS_DISABLED for a control that starts disabled).
HWND CreateControl(HWND parent, const ui::ControlPlan& plan, const ui::TwipsRect& container,
                   int dpi, ControlEvents& events, DWORD extraStyle = 0);

// Whether the BN_CLICKED being handled comes from a mouse release that the control reported
// already (so that only the keyboard's clicks are handled as such).
bool InMouseRelease();

// A label's background: a colour of its own, or the system's face colour.
void SetLabelColour(HWND label, COLORREF colour);

}  // namespace tw::win32
