// The main window's life: load, resize, close request, unload and the "Minimize" button.
#pragma once

#include "core/app.h"
#include "forms/form.h"

namespace tw::app {

// Applies the appearance and the position of the in-memory settings (all zero while the
// start-up has not read them yet) and makes the window topmost.
void Form_Load(core::App& app);
// Shown, minimised, restored or resized: topmost again.
void Form_Resize(core::App& app);
// Another window took the foreground: once it is in front, the window is put back on top.
void Form_Deactivate(core::App& app);
// Commits an open edit. If its save fails on a close request, the user may retry or call the
// close off (cancel); at the end of the session the close always goes on.
void Form_QueryUnload(core::App& app, bool& cancel, forms::CloseReason reason);
// Ends the program; everything is already on disk.
void Form_Unload(core::App& app);
// Gives the focus to the focus sink (committing an open edit) and minimises the window.
void MinimizeBtn_Click(core::App& app);

// Connects the handlers to the form's and the controls' events.
void WireLifecycle(core::App& app);

}  // namespace tw::app
