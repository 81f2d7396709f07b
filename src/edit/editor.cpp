#include "edit/editor.h"

#include <utility>

namespace tw::edit {

void Editor::Store(int slot) {
  entries_.Set(slot, view_.EditBoxText());
  view_.ShowEntry(slot);
}

void Editor::Open(int slot) {
  const std::optional<int> open = std::exchange(slot_, std::nullopt);
  if (open) Store(*open);
  slot_ = slot;
  view_.OpenEditBox(slot, entries_.Text(slot));
  if (open) saver_.SaveChanges();
}

void Editor::Commit(Write write) {
  const auto open = std::exchange(slot_, std::nullopt);
  if (!open) return;
  Store(*open);
  view_.CloseEditBox(*open);
  if (write == Write::Now) saver_.SaveChanges();
}

void Editor::Cancel() {
  if (const auto open = std::exchange(slot_, std::nullopt)) view_.CloseEditBox(*open);
}

}  // namespace tw::edit
