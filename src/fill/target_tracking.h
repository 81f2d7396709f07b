// Target-window tracking: the main window's once-a-second tick keeps the saved window position
// up to date and remembers the last foreground window that is not one of the program's own
// windows (the TargetWindow, the window that the fill action types into). The same sampling also
// runs when the main window loses activation and when a press reaches it while it is inactive,
// so that the TargetWindow is the last foreign window the user worked in before the click.
#pragma once

#include "core/app.h"

namespace tw::fill {

// The tick of Timer1: the position step, the sampling step, and once after the window lost the
// activation to another program, its place on top again (core::KeepInFrontIfDue).
void Timer1_Timer(core::App& app);

// Saves the main window's position when it moved since the last save (normal state only).
void KeepSavedPosition(core::App& app);

// TargetWindow := the foreground window, unless it is 0, a loaded form of the program or any
// other window of the program's process.
void SampleForegroundWindow(core::App& app);

}  // namespace tw::fill
