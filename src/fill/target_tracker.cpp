#include "fill/target_tracker.h"

#include <algorithm>

namespace tw::fill {

services::WindowHandle TargetTracker::Target() const {
  for (const services::WindowHandle window : recent_) {
    if (window != 0 && (!desktop_.WindowExists(window) || desktop_.WindowShown(window))) {
      return window;
    }
  }
  return 0;
}

void TargetTracker::Sample(services::WindowHandle foreground) {
  if (foreground == 0) foreground = desktop_.ForegroundWindow();
  if (foreground == 0 || desktop_.IsOwnWindow(foreground) || foreground == recent_[0]) return;
  std::shift_right(recent_.begin(), recent_.end(), 1);
  recent_[0] = foreground;
}

}  // namespace tw::fill
