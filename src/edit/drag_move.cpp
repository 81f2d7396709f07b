#include "edit/drag_move.h"

#include <cstdlib>
#include <utility>

#include "ui/layout.h"

namespace tw::edit {

namespace {

bool BeyondThreshold(int pixels, int dpi) {
  return std::abs(pixels) * ui::kTwipsPerInch > kDragThresholdTwips * dpi;
}

}  // namespace

bool DragMove::ShouldStart(int slot, ui::Point at, bool leftAlone) const {
  const int dpi = view_.Dpi();
  return !source_ && !entries_.IsEmpty(slot) && leftAlone &&
         (BeyondThreshold(at.x - pressedAt_.x, dpi) || BeyondThreshold(at.y - pressedAt_.y, dpi));
}

void DragMove::Start(int slot) {
  source_ = slot;
  if (!view_.BeginDrag(slot)) source_.reset();
}

void DragMove::Drop(std::optional<int> slot) {
  const std::optional<int> source = std::exchange(source_, std::nullopt);
  if (!source || !slot || *slot == *source || !entries_.IsEmpty(*slot)) return;
  saver_.MoveEntry(*source, *slot);
  // The labels change only when the move is done.
  if (entries_.IsEmpty(*slot)) return;
  view_.ShowEntry(*slot);
  view_.ShowEntry(*source);
}

}  // namespace tw::edit
