// Handlers of the Options button and its dialog.
#pragma once

#include "app/app.h"

namespace tw::appearance {

// Connects the handlers to the controls' events.
void WireOptions(app::App& app);

}  // namespace tw::appearance
