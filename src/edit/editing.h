// Editing an entry in place: a release of any mouse button over an entry label lays the one
// edit box Gettext over it with the label's text; the edit is committed (label, "Insert" button,
// Forms.dat) when the box loses the focus, when another label is clicked, or when the main
// window closes (where a failing save asks Retry or Cancel). A shown Gettext is the whole editing
// state; CurrentSlot names its slot.
#pragma once

#include "core/app.h"
#include "forms/events.h"
#include "forms/form.h"

namespace tw::edit {

// Starts an edit of the label's slot, committing an open edit first (without hiding the box).
void Names_MouseUp(core::App& app, const forms::MouseEvent& e);
// Commits the open edit, hides the edit box and rewrites Forms.dat. A failing save is reported
// and the label keeps the text.
void Gettext_LostFocus(core::App& app);
// Commits the open edit as the main window closes. On a close request a failing save asks Retry
// or Cancel; false when the user cancels: the close is called off and the edit stays open with
// its text. At the end of the session the save is tried once and the close goes on.
bool CommitEditAtClose(core::App& app, forms::CloseReason reason);

// Connects the handlers to the controls' events.
void WireEditing(core::App& app);

}  // namespace tw::edit
