#include "edit/editor.h"

#include <utility>

namespace tw::edit {

void Editor::Store(int slot) {
  entries_.Set(slot, view_.EditBoxText());
  view_.ShowEntry(slot, entries_.Text(slot), !entries_.IsEmpty(slot));
}

void Editor::Open(int slot) {
  if (const auto open = std::exchange(slot_, slot)) {
    Store(*open);
    saver_.SaveChanges();
  }
  view_.OpenEditBox(slot, entries_.Text(slot));
}

void Editor::Commit(Write write) {
  const auto open = std::exchange(slot_, std::nullopt);
  if (!open) return;
  Store(*open);
  view_.CloseEditBox();
  if (write == Write::Now) saver_.SaveChanges();
}

}  // namespace tw::edit
