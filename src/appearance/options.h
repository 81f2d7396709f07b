// The main window's "Options" button: opens the options dialog modally, a new one each time.
#pragma once

#include "core/app.h"

namespace tw::appearance {

// Creates and wires the dialog, shows it modally and, once it has been closed, gives the focus
// to the main window's focus sink and releases the dialog.
void OptionsBtn_Click(core::App& app);

// Connects the handlers to the controls' events.
void WireOptions(core::App& app);

}  // namespace tw::appearance
