// The main window's life: load, resize, close request, unload, the "Minimize" button, and
// KeepOnTop, which puts a window into the topmost band without activating it.
#pragma once

#include "app/app.h"
#include "platform/window_system.h"

namespace tw::app {

// Puts the window into the topmost band at its place and size, without activating it.
void KeepOnTop(App& app, platform::WindowHandle window);

// Applies the appearance and the position of the in-memory settings (all zero while the
// start-up has not read them yet) and makes the window topmost.
void Form_Load(App& app);
// Shown, minimised, restored or resized: topmost again.
void Form_Resize(App& app);
// Commits an open edit; the close is never cancelled.
void Form_QueryUnload(App& app);
// Ends the program; everything is already on disk.
void Form_Unload(App& app);
// Gives the focus to the focus sink (committing an open edit) and minimises the window.
void MinimizeBtn_Click(App& app);

// Connects the handlers to the form's and the controls' events.
void WireLifecycle(App& app);

}  // namespace tw::app
