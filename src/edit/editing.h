// Editing an entry in place: a release of any mouse button over an entry label lays the one
// edit box Gettext over it with the label's text; the edit is committed (label, "Insert" button,
// Forms.dat) when the box loses the focus, when another label is clicked, or when the main
// window closes. A shown Gettext is the whole editing state; CurrentSlot names its slot.
#pragma once

#include "core/app.h"
#include "forms/events.h"

namespace tw::edit {

// Starts an edit of the label's slot, committing an open edit first (without hiding the box).
void Names_MouseUp(core::App& app, const forms::MouseEvent& e);
// Commits the open edit, hides the edit box and rewrites Forms.dat. A failing save is reported
// and the label keeps the text.
void Gettext_LostFocus(core::App& app);

// Connects the handlers to the controls' events.
void WireEditing(core::App& app);

}  // namespace tw::edit
