#include "fill/target_tracker.h"

namespace tw::fill {

void TargetTracker::Sample() {
  const services::WindowHandle foreground = desktop_.ForegroundWindow();
  if (foreground != 0 && !desktop_.IsOwnWindow(foreground)) target_ = foreground;
}

}  // namespace tw::fill
