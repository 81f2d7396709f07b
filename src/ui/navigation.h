// Typewell from the keyboard: what a key does where the focus is (the table of keys that the
// README shows), what a click from the keyboard does, and where the focus goes when the control
// that has it goes away. The windows turn key messages into these intents and carry them out.
#pragma once

#include <functional>

#include "ui/controls.h"

namespace tw::ui {

enum class Key { Other, Enter, Escape, Space, F2, Tab, Left, Right, Up, Down, PageUp, PageDown };

struct KeyPress {
  Key key = Key::Other;
  bool ctrl = false;
  bool shift = false;
};

enum class Act {
  None,
  Fill,      // control: the "Insert" button
  Edit,      // control: the entry label
  Commit,    // the edit box's text becomes the entry
  Cancel,    // the edit box closes, the entry as it was
  Focus,     // control: takes the focus
  ShowPage,  // control: the page tab of the page to show
  Run,       // control: the command button
  Choose,    // control: the choice of the options dialog, which also takes the focus
  Close,     // the options dialog closes
};

struct Intent {
  Act act = Act::None;
  Control control{};
  bool operator==(const Intent&) const = default;
};

// What the window needs to know of itself to resolve a key.
struct KeyContext {
  int shownPage = 0;
  std::function<bool(int slot)> filled;  // the slot's entry is not empty
};

// The key pressed where the focus is (a control of the main window or of the options dialog;
// Role::None for the main window itself). Keys that no control takes are the system's: Tab moves
// the focus, Esc closes the dialog, Enter there clicks its default button "OK".
Intent KeyIntent(Control focus, KeyPress key, const KeyContext& context);
// Whether a control of that role takes the key for itself, rather than leaving it to the
// keyboard handling of the dialog manager.
bool TakesKey(Role role, Key key);
// What a click of the control that the mouse did not make (Space, an access key) does.
Intent ClickIntent(Control clicked);

// Where the focus goes when it is on (or was left on, while Typewell was inactive) a control
// that goes: the edit box of the slot closing goes to the slot's label; an "Insert" button whose
// entry is emptied, to its label; a row of a page that is hidden, to the same row of the page on
// show (its "Insert" button if that had it and can take it, else its label). Any other focus
// stays where it is.
Control FocusWhenEditCloses(Control focus, int slot);
Control FocusWhenEntryEmptied(Control focus, int slot);
Control FocusWhenPageChanges(Control focus, int page, const std::function<bool(int slot)>& filled);
// The control that takes the focus when Typewell becomes active again: the one it was left on,
// if that can take it, else the first entry of the page on show.
Control FocusOnReturn(Control left, bool canTakeIt, int shownPage);

}  // namespace tw::ui
