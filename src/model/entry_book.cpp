#include "model/entry_book.h"

#include <algorithm>
#include <utility>

#include "store/binary_file.h"

namespace tw::model {

void EntryBook::Load() {
  store::BinaryFile file(file_);
  texts_ = store::ReadEntries(file);
  file.Close();
  unsaved_.reset();
}

void EntryBook::Set(int slot, std::string text) {
  text.resize(std::min(text.size(), store::kEntryRecordSize));
  texts_.at(static_cast<std::size_t>(slot)) = std::move(text);
  unsaved_.set(static_cast<std::size_t>(slot));
}

void EntryBook::Save() {
  store::BinaryFile file(file_);
  store::WriteEntries(file, texts_);
  file.Close();
  unsaved_.reset();
}

std::vector<int> EntryBook::UnsavedSlots() const {
  std::vector<int> slots;
  for (int slot = 0; slot < store::kSlotCount; ++slot) {
    if (unsaved_.test(static_cast<std::size_t>(slot))) slots.push_back(slot);
  }
  return slots;
}

void EntryBook::Move(int from, int to) {
  std::string& source = texts_.at(static_cast<std::size_t>(from));
  std::string& target = texts_.at(static_cast<std::size_t>(to));
  if (Unsaved()) {
    target = std::exchange(source, std::string());
    unsaved_.set(static_cast<std::size_t>(from)).set(static_cast<std::size_t>(to));
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
    // The file may hold the entry in both records now: both are written again at the next chance.
    unsaved_.set(static_cast<std::size_t>(from)).set(static_cast<std::size_t>(to));
    throw;
  }
  target = std::exchange(source, std::string());
}

}  // namespace tw::model
