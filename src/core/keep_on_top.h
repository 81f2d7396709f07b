// KeepOnTop: puts a window of the program into the topmost band without activating it.
#pragma once

#include "core/app.h"
#include "platform/window_system.h"

namespace tw::core {

// Puts the window into the topmost band at its place and size, without activating it.
void KeepOnTop(App& app, platform::WindowHandle window);

}  // namespace tw::core
