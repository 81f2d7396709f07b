// Connects the handlers of every subsystem to the events of the main window's controls.
#pragma once

#include "core/app.h"

namespace tw::app {

void WireEvents(core::App& app);

}  // namespace tw::app
