// Editing an entry in place: the one edit box laid over a label, holding the entry's text. The
// edit is committed when the box loses the focus, when another label is clicked, with Enter, and
// when the window closes; whatever stands in the box then is the new entry, exactly as typed.
// Esc cancels it: the entry stays as it was.
#pragma once

#include <optional>

#include "model/entry_book.h"
#include "model/saver.h"
#include "ui/main_view.h"

namespace tw::edit {

class Editor {
 public:
  Editor(model::EntryBook& entries, model::Saver& saver, ui::MainView& view)
      : entries_(entries), saver_(saver), view_(view) {}

  // The slot of the open edit.
  std::optional<int> Slot() const { return slot_; }
  // Opens the box over the slot's label with its text. An open edit is committed to its own
  // slot first, and the box goes straight to the new label, keeping the focus; the file is
  // written once the new edit is open, so that whatever a report of a failed write lets run
  // finds the edit of the new slot.
  void Open(int slot);
  // The slot's entry becomes the box's text, its "Insert" button follows, the box closes and the
  // file is written (now, or by the caller's own save). Nothing when no edit is open, so that
  // the box's loss of focus as it closes commits nothing more.
  enum class Write { Now, ByCaller };
  void Commit(Write write = Write::Now);
  // Closes the box; the entry keeps its text.
  void Cancel();

 private:
  void Store(int slot);

  model::EntryBook& entries_;
  model::Saver& saver_;
  ui::MainView& view_;
  std::optional<int> slot_;
};

}  // namespace tw::edit
