// Which window a fill goes to: the last window of another program that was in front, as Typewell
// sees the foreground change (and once a second). Typewell itself is in front at the moment of
// the click or the key, so it cannot ask then.
#pragma once

#include <array>

#include "services/desktop.h"

namespace tw::fill {

class TargetTracker {
 public:
  explicit TargetTracker(services::Desktop& desktop) : desktop_(desktop) {}

  // The last window in front that is still shown, or gone since: a window shown only for a
  // moment (the system's task switcher that took the user to Typewell) is passed over. 0 before
  // any other program was in front.
  services::WindowHandle Target() const;
  // Notes the window that came to the front (0: the foreground window now), unless there is none
  // or it is one of Typewell's own windows (its forms, a message box).
  void Sample(services::WindowHandle foreground = 0);

 private:
  services::Desktop& desktop_;
  std::array<services::WindowHandle, 4> recent_{};  // the latest first
};

}  // namespace tw::fill
