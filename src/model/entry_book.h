// The 60 entries, the one place that holds them while Typewell runs, and Forms.dat, the file
// that keeps them. The book knows whether the file holds what it holds: every change marks it
// unsaved, and only a successful write clears the mark. It also knows what the file held after
// its last successful write, so that it can name the entries that a failed write would lose.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "store/entry_file.h"

namespace tw::model {

class EntryBook {
 public:
  explicit EntryBook(std::wstring file) : file_(std::move(file)) {}

  const std::wstring& File() const { return file_; }
  const std::string& Text(int slot) const { return texts_.at(static_cast<std::size_t>(slot)); }
  bool IsEmpty(int slot) const { return Text(slot).empty(); }
  bool Unsaved() const { return unsaved_; }
  // The slots whose entries differ from what the file held after the last successful write (or
  // may differ, after a move that failed half way), in order.
  std::vector<int> ChangedSlots() const;

  // Reads the file, creating it with 60 blank records when it is missing or empty. Throws
  // store::FileError.
  void Load();
  // Puts a text of at most 200 bytes into a slot: the file needs writing, also when the text is
  // the same.
  void Set(int slot, std::string text);
  // Rewrites all 60 records. Throws store::FileError; the book stays unsaved then.
  void Save();
  // Moves the entry of one slot into another: the two records are written first and the book
  // changes only when both are on disk. A book with unsaved changes is changed, then written
  // whole. Throws store::FileError, after which the book counts as unsaved (the file may hold
  // the entry in both records).
  void Move(int from, int to);

 private:
  std::wstring file_;
  store::EntryTexts texts_;
  bool unsaved_ = false;
  std::array<std::optional<std::string>, store::kSlotCount> written_;  // nothing: not known
};

}  // namespace tw::model
