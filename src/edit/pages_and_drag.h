// Page switching and drag-and-drop rearrangement: the handlers of the page tabs and of the entry
// labels' press, move and drop.
#pragma once

#include "core/app.h"
#include "edit/drag_drop.h"
#include "edit/pages.h"

namespace tw::edit {

// Connects the handlers to the controls' events.
void WirePagesAndDrag(core::App& app);

}  // namespace tw::edit
