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

  // The last window in front that the user works in now, or that is gone since (a fill reports
  // it closed: an older window never stands in for it); 0 before any, or when it is the desktop.
  services::WindowHandle Target() const;
  // Notes the window that came to the front (0: the foreground window now), unless there is none,
  // it is one of Typewell's own windows (its forms, a message box), or no window the user works
  // in: the system's windows that come to the front on the way to Typewell (the taskbar when the
  // user restores Typewell from its button, Alt+Tab's switcher, the Start menu) are passed over.
  void Sample(services::WindowHandle foreground = 0);

 private:
  bool IsWorkWindow(services::WindowHandle window) const;
  bool IsDesktop(services::WindowHandle window) const;

  services::Desktop& desktop_;
  std::array<services::WindowHandle, 4> recent_{};  // the latest first
};

}  // namespace tw::fill
