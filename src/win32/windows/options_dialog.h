// The options dialog: four colours for the entry labels and a normal or bold weight for all
// text, each taking effect the moment it is chosen; "OK" (the default button), the close box and
// Esc close it. A dialog of the system's (its keyboard navigation and modal loop), with controls
// made from the layout at its own DPI.
#pragma once

#include <windows.h>

#include "ui/main_view.h"

namespace tw::win32 {

// Shows the dialog modally at the owner's top-left corner; returns when it is closed. False, with
// the system's error, when it cannot be opened.
bool RunOptionsDialog(HINSTANCE instance, HWND owner, ui::OptionsEvents& events);

}  // namespace tw::win32
