// The controls of Typewell's windows, made from a layout plan at the window's DPI: the system's
// buttons and edit box (subclassed), and classes of our own for labels (a background colour and a
// line of text) and containers. Each control tells its window of each press, move and release of
// the mouse (a release belongs to the control where the press happened, for any mouse button,
// wherever the pointer is then), of the keys it takes for itself, and asks it for the name a
// screen reader hears.
#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "ui/layout.h"
#include "ui/navigation.h"

namespace tw::win32 {

// What a control tells its window, and asks of it. Positions are in the control's client pixels.
class ControlEvents {
 public:
  virtual ~ControlEvents() = default;
  virtual void OnControlPressed(HWND, POINT) {}
  virtual void OnControlMoved(HWND, POINT, WPARAM) {}
  // The pointer moved over the control with no press of it under way.
  virtual void OnControlHovered(HWND, POINT) {}
  // The last button held since the press went up.
  virtual void OnControlReleased(HWND control) = 0;
  // Another window took the mouse before the release (a message box, another program).
  virtual void OnPressTakenAway(HWND) {}
  virtual void OnEditBoxLostFocus(HWND) {}
  // A key that the control takes for itself (ui::TakesKey): Enter on a push button as it goes up,
  // Space on an option button as it goes up, the others as they go down.
  virtual void OnControlKey(HWND control, ui::KeyPress key) = 0;
  // The name that a screen reader announces for the control; empty for the system's own.
  virtual std::wstring AccessibleName(HWND) { return {}; }

  // Whether the BN_CLICKED being handled comes from a mouse release that the control reported
  // already (so that only the keyboard's clicks are handled as such).
  bool InMouseRelease() const { return press_.inRelease; }
  // Whether a press of this control is under way (it holds the mouse capture for it).
  bool PressHeld(HWND control) const;

 private:
  friend struct ControlMessages;
  // The press of this window's controls under way: the mouse has one capture at a time.
  struct Press {
    HWND control = nullptr;
    bool inRelease = false;
  };
  Press press_;
};

// The buttons' class: the system's button with one device context for all its windows (see
// RegisterControlClasses). A screen reader knows such a superclass as a button only through the
// system's accessible proxy of "Button" (accessibility.cpp).
inline constexpr wchar_t kButtonClass[] = L"TypewellButton";

// Registers the classes of the buttons, labels and containers. Throws StartFailure.
void RegisterControlClasses();

// Makes the control of the plan in parent (which stands at container in the window's client
// area) at the DPI; its events go to events. extraStyle adds to the kind's styles (WS_DISABLED
// for a control that starts disabled). Null, with the system's error, when it cannot be made.
HWND CreateControl(HWND parent, const ui::ControlPlan& plan, const ui::TwipsRect& container,
                   int dpi, ControlEvents& events, DWORD extraStyle = 0);

// Makes the controls of the plans in the window (a container before the controls it holds);
// false when one cannot be made. And places them, at another DPI or text size.
bool CreateControls(HWND window, std::span<const ui::ControlPlan> plans,
                    const ui::TwipsRect& clientArea, int dpi, ControlEvents& events);
void PlaceControls(HWND window, std::span<const ui::ControlPlan> plans,
                   const ui::TwipsRect& clientArea, int dpi);

// The control of the ID in the window or in one of its containers (the controls of a plan).
HWND FindControl(HWND window, int id);
// The key of a virtual-key code, as the table of keys knows it.
ui::Key KeyOf(WPARAM virtualKey);
// The role of the control, told by its ID.
ui::Control ControlOf(HWND control);

// A label's chosen background colour (the text colour follows from it, and high contrast takes
// the system's colours); kNoLabelColour for the colours of the window's face.
inline constexpr COLORREF kNoLabelColour = CLR_INVALID;
void SetLabelColour(HWND label, COLORREF colour);

// The option buttons of a group: one is checked and is the group's only Tab stop.
void CheckOption(HWND option, bool checked);

// Sends the message to every control of the window (the system's controls hear of a change of
// the system's colours from their window only).
void ForwardToControls(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Gives every control of the window the font, and again to those that had another.
void SetFontOfChildren(HWND window, HFONT font);

}  // namespace tw::win32
