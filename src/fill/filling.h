// Handlers of target-window tracking and the fill action.
#pragma once

#include "core/app.h"

namespace tw::fill {

// Connects the handlers to the controls' events.
void WireFilling(core::App& app);

}  // namespace tw::fill
