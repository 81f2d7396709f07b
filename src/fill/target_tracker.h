// Which window a fill goes to: the last window of another program that was in front when
// Typewell looked, once a second and whenever the user moves between Typewell and another window.
// Typewell itself is in front at the moment of the click, so it cannot ask then.
#pragma once

#include "services/desktop.h"

namespace tw::fill {

class TargetTracker {
 public:
  explicit TargetTracker(services::Desktop& desktop) : desktop_(desktop) {}

  services::WindowHandle Target() const { return target_; }
  // The foreground window becomes the target, unless there is none or it is one of Typewell's
  // own windows (its forms, a message box).
  void Sample();

 private:
  services::Desktop& desktop_;
  services::WindowHandle target_ = 0;
};

}  // namespace tw::fill
