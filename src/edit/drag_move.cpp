#include "edit/drag_move.h"

#include <cstdlib>

namespace tw::edit {

namespace {

constexpr int kTwipsPerInch = 1440;

bool BeyondThreshold(int pixels, int dpi) {
  return std::abs(pixels) * kTwipsPerInch > kDragThresholdTwips * dpi;
}

}  // namespace

bool DragMove::ShouldStart(int slot, ui::Point at, bool leftAlone) const {
  const int dpi = view_.Dpi();
  return !entries_.IsEmpty(slot) && leftAlone &&
         (BeyondThreshold(at.x - pressedAt_.x, dpi) || BeyondThreshold(at.y - pressedAt_.y, dpi));
}

void DragMove::Start(int slot) {
  source_ = slot;
  view_.BeginDrag(slot);
}

void DragMove::Drop(int slot) {
  if (slot == source_ || !entries_.IsEmpty(slot)) return;
  const int source = source_;
  saver_.MoveEntry(source, slot);
  // The labels change only when the move is done.
  if (entries_.IsEmpty(slot)) return;
  view_.ShowEntry(slot, entries_.Text(slot), true);
  view_.ShowEntry(source, entries_.Text(source), !entries_.IsEmpty(source));
}

}  // namespace tw::edit
