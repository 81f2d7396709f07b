// The 60 entries, the one place that holds them while Typewell runs, and Forms.dat, the file
// that keeps them. The book knows which of its entries the file does not hold yet: every change
// marks its slots unsaved, and only a successful write clears the marks.
#pragma once

#include <bitset>
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
  bool Unsaved() const { return unsaved_.any(); }
  // The slots whose entries the file does not hold yet, in order.
  std::vector<int> UnsavedSlots() const;

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
  std::bitset<store::kSlotCount> unsaved_;
};

}  // namespace tw::model
