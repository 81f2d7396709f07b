// Handlers of editing an entry in place.
#pragma once

#include "app/app.h"

namespace tw::edit {

// Connects the handlers to the controls' events.
void WireEditing(app::App& app);

}  // namespace tw::edit
