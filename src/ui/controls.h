// What each control of the main window and of the options dialog is, told by its ID (the IDs of
// src/ui/layout.h): an "Insert" button or an entry label of a slot, a page tab, a command button,
// a choice of the dialog... And the name a screen reader announces for it.
#pragma once

#include <optional>
#include <string>

#include "ui/main_view.h"

namespace tw::ui {

enum class Role {
  None,  // no control of ours, or one that does nothing of its own
  EditBox,
  Command,       // index: the ui::Command
  Page,          // a page's container; index: the page
  PageTab,       // index: the page
  InsertButton,  // index: the slot
  EntryLabel,    // index: the slot
  FontChoice,    // index: the font choice
  ColourChoice,  // index: the colour choice
  OkButton,
};

struct Control {
  Role role = Role::None;
  int index = 0;
  bool operator==(const Control&) const = default;
};

Control ControlOf(int id);
// The ID of the control; 0 for none.
int IdOf(Control control);

inline Control InsertButtonOf(int slot) {
  return {Role::InsertButton, slot};
}
inline Control EntryLabelOf(int slot) {
  return {Role::EntryLabel, slot};
}

// The name that says what the control is for: "Insert 4: Smith & Co", "Insert 4, empty", the
// entry's text or "Entry 4, empty", "Page 1", and "Entry 4" for the edit box while it edits that
// entry. entryText is the text of the control's slot. Empty where the system's own name (the
// caption) says it.
std::wstring AccessibleName(Control control, const std::wstring& entryText,
                            std::optional<int> editedSlot);

}  // namespace tw::ui
