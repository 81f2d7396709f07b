#include "fill/target_tracker.h"

#include <algorithm>

namespace tw::fill {

namespace {

// The shell's taskbar, on the main screen and on the others.
bool IsTaskbar(const std::wstring& className) {
  return className == L"Shell_TrayWnd" || className == L"Shell_SecondaryTrayWnd";
}

}  // namespace

services::WindowHandle TargetTracker::Target() const {
  for (const services::WindowHandle window : recent_) {
    if (window == 0) break;
    if (!desktop_.WindowExists(window)) return window;
    if (IsDesktop(window)) return 0;
    if (IsWorkWindow(window)) return window;
  }
  return 0;
}

void TargetTracker::Sample(services::WindowHandle foreground) {
  if (foreground == 0) foreground = desktop_.ForegroundWindow();
  if (foreground == 0 || desktop_.IsOwnWindow(foreground) || foreground == recent_[0]) return;
  if (!IsWorkWindow(foreground) && !IsDesktop(foreground)) return;
  std::shift_right(recent_.begin(), recent_.end(), 1);
  recent_[0] = foreground;
}

// A window that the system's task switcher lists (shown and on the screen, and no tool window
// unless marked as an app window), or an enabled popup of a program: its dialogs and palettes,
// whose owner may be hidden (the usual way to keep a window off the taskbar). Passing over one
// the user clicked into would fill the window before it. A popup that the shell shows on the way
// to Typewell is hidden or cloaked again by the time of the fill.
bool TargetTracker::IsWorkWindow(services::WindowHandle window) const {
  const services::WindowFacts facts = desktop_.Facts(window);
  if (!facts.shown || facts.cloaked || IsTaskbar(facts.className)) return false;
  return facts.owned ? facts.enabled : facts.appWindow || !facts.toolWindow;
}

// The desktop ("Program Manager", whatever its capitals, or a worker window of the shell showing
// it): it is never filled.
bool TargetTracker::IsDesktop(services::WindowHandle window) const {
  std::wstring title = desktop_.WindowTitle(window);
  for (wchar_t& c : title) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  const std::wstring className = desktop_.Facts(window).className;
  return title == L"PROGRAM MANAGER" || className == L"Progman" || className == L"WorkerW";
}

}  // namespace tw::fill
