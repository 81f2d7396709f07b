#include "model/entry_book.h"

#include <algorithm>
#include <utility>

#include "store/binary_file.h"

namespace tw::model {

void EntryBook::Load() {
  store::BinaryFile file(file_);
  texts_ = store::ReadEntries(file);
  file.Close();
  std::copy(texts_.begin(), texts_.end(), written_.begin());
  unsaved_ = false;
}

void EntryBook::Set(int slot, std::string text) {
  text.resize(std::min(text.size(), store::kEntryRecordSize));
  texts_.at(static_cast<std::size_t>(slot)) = std::move(text);
  unsaved_ = true;
}

void EntryBook::Save() {
  store::BinaryFile file(file_);
  store::WriteEntries(file, texts_);
  file.Close();
  std::copy(texts_.begin(), texts_.end(), written_.begin());
  unsaved_ = false;
}

std::vector<int> EntryBook::ChangedSlots() const {
  std::vector<int> slots;
  for (int slot = 0; slot < store::kSlotCount; ++slot) {
    if (written_[slot] != texts_[slot]) slots.push_back(slot);
  }
  return slots;
}

void EntryBook::Move(int from, int to) {
  std::string& source = texts_.at(static_cast<std::size_t>(from));
  std::string& target = texts_.at(static_cast<std::size_t>(to));
  if (unsaved_) {
    target = std::exchange(source, std::string());
    Save();
    return;
  }
  try {
    // The target first: a failure in between leaves the entry in both records, never in none.
    store::BinaryFile file(file_);
    store::WriteEntryRecord(file, to, source);
    store::WriteEntryRecord(file, from, "");
    file.Close();
  } catch (const store::FileError&) {
    unsaved_ = true;
    written_[from].reset();
    written_[to].reset();
    throw;
  }
  written_[to] = source;
  written_[from] = "";
  target = std::exchange(source, std::string());
}

}  // namespace tw::model
