// Handlers of the main window's life: load, resize, close, Minimize, KeepOnTop.
#pragma once

#include "app/app.h"

namespace tw::app {

// Connects the handlers to the controls' events.
void WireLifecycle(app::App& app);

}  // namespace tw::app
