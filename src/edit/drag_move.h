// Moving an entry onto an empty slot by dragging its label, on the same page or, by passing over
// a page tab, on another one. A press on a filled label followed by a move of more than ten
// twips with the left button alone starts the drag, while that press is still held; the release
// over an empty label moves the entry there, writing only the two records concerned. Entries are
// never swapped. A drag whose press is taken away (a message box opens) ends, moving nothing.
#pragma once

#include <optional>

#include "model/entry_book.h"
#include "model/saver.h"
#include "ui/main_view.h"

namespace tw::edit {

// A move of more than this, on either axis, starts a drag: at 96 DPI one pixel is 15 twips.
inline constexpr int kDragThresholdTwips = 10;

class DragMove {
 public:
  DragMove(model::EntryBook& entries, model::Saver& saver, ui::MainView& view)
      : entries_(entries), saver_(saver), view_(view) {}

  // The slot whose entry is being dragged.
  std::optional<int> Source() const { return source_; }
  // A press of any button on any label: the point that a drag is measured from.
  void Press(ui::Point at) { pressedAt_ = at; }
  // Whether a move after a press on the slot's label starts a drag.
  bool ShouldStart(int slot, ui::Point at, bool leftAlone) const;
  // The drag of the slot's entry begins, if its press is still held (an open edit must be
  // committed before).
  void Start(int slot);
  // The release that ends the drag: over a label, the entry moves there if it is another slot
  // and empty; elsewhere nothing moves.
  void Drop(std::optional<int> slot);
  // The drag ends without a drop.
  void Cancel() { source_.reset(); }

 private:
  model::EntryBook& entries_;
  model::Saver& saver_;
  ui::MainView& view_;
  ui::Point pressedAt_;
  std::optional<int> source_;
};

}  // namespace tw::edit
