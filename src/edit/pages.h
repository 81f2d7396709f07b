// Page switching: the main window shows one of its four page containers at a time. The page on
// show is the one container that is visible; there is no page number besides it.
#pragma once

#include "core/app.h"
#include "forms/events.h"

namespace tw::edit {

// Shows page p: Frame(p) moves to the left edge of Frame(0) and is shown, the others are hidden.
void ShowPage(core::App& app, int page);

// The release of any button over tab Page(Index): the focus goes to the focus sink (which
// commits an open edit), then that page is shown and its tab selected, also when the release
// was outside the tab.
void Page_MouseUp(core::App& app, const forms::MouseEvent& e);
// A drag passes over tab Page(Index): shows that page, if it is not on show, and selects the tab.
void Page_DragOver(core::App& app, const forms::DragEvent& e);

}  // namespace tw::edit
