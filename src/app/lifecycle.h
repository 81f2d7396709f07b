// Handlers of the main window's life: load, resize, close, Minimize, and KeepOnTop.
#pragma once

#include "app/app.h"
#include "platform/window_system.h"

namespace tw::app {

// Puts the window into the topmost band at its place and size, without activating it.
void KeepOnTop(App& app, platform::WindowHandle window);

// Connects the handlers to the controls' events.
void WireLifecycle(App& app);

}  // namespace tw::app
