// Saves after start-up never end the program: a failing save (file locked by another program,
// read-only folder, disk full) is reported in a message box naming the file and the system's
// reason, the in-memory state stays as it is, and the next save tries again. Only the save of an
// open edit as the program closes has no next save: it asks the user to retry or to cancel.
#pragma once

#include <functional>

#include "core/app.h"

namespace tw::core {

enum class SaveKind {
  Entries,         // Forms.dat after an edit or a drop
  Settings,        // Typewell.ini after a choice of the user
  WindowPosition,  // Typewell.ini from the timer: reported once until a save succeeds again
};

// Runs save; returns false (after reporting) if it threw store::FileError.
bool GuardedSave(App& app, SaveKind kind, const std::function<void()>& save);

// For a save that no later change will repeat (the program is about to end): runs save until it
// succeeds or the user gives up. Each failure says that the text is not saved, naming the file
// and the system's reason, and asks Retry or Cancel. Returns false when the user cancels.
bool SaveOrAskRetry(App& app, const std::function<void()>& save);

}  // namespace tw::core
