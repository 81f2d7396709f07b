// Handlers of page switching and drag-and-drop rearrangement.
#pragma once

#include "app/app.h"

namespace tw::edit {

// Connects the handlers to the controls' events.
void WirePagesAndDrag(app::App& app);

}  // namespace tw::edit
