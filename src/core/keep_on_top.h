// KeepOnTop: puts a window of the program into the topmost band without activating it.
#pragma once

#include "core/app.h"
#include "platform/window_system.h"

namespace tw::core {

// Puts the window into the topmost band at its place and size, without activating it.
void KeepOnTop(App& app, platform::WindowHandle window);

// The main window lost the activation: once a window of another program is in front (see
// KeepInFrontIfDue), the main window goes back to the top of the topmost band.
void KeepInFrontLater(App& app);
// Raises the main window to the top of the topmost band if it lost the activation since and a
// window of another program is now in front. Under Wine a window without a window manager that
// another program activates is stacked above ours on the screen, although ours stays topmost;
// that program may do so a moment after ours saw the loss, so this runs on the next tick.
void KeepInFrontIfDue(App& app);

}  // namespace tw::core
