// Moving entries between Forms.dat and the main window: the caption of Names(s) is the entry of
// slot s, and FillBtn(s) is enabled exactly when that caption is not empty.
#pragma once

#include "core/app.h"

namespace tw::core {

// Loads the 60 entries into the labels and sets the "Insert" buttons (creating the file of 60
// blank records when it is missing or empty). Throws store::FileError.
void LoadEntries(App& app);
// Rewrites all 60 records from the labels. Throws store::FileError.
void SaveEntries(App& app);
// Enables FillBtn(slot) exactly when Names(slot) holds text.
void UpdateFillButton(App& app, int slot);

}  // namespace tw::core
