// The desktop as Typewell sees it: the windows of other programs (which one is in front, its
// title, whether it answers), making one of them the foreground window, the screen, and the
// running instance of Typewell. src/win32 implements it; tests use a fake.
#pragma once

#include <cstdint>
#include <string>

namespace tw::services {

using WindowHandle = std::uintptr_t;  // 0: none

// What a window is, as far as the choice of a window to fill goes. The defaults are those of a
// shown, enabled top-level window of no special kind.
struct WindowFacts {
  bool shown = true;     // visible (minimised counts as shown)
  bool cloaked = false;  // visible, yet kept off the screen by the system
  bool toolWindow = false;
  bool appWindow = false;  // has a taskbar button whatever its other styles
  bool enabled = true;
  bool owned = false;  // a popup of another window (kept off the taskbar, unless an app window)
  std::wstring className{};
};

struct PixelSize {
  int width = 0;
  int height = 0;
};

struct PixelRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const PixelRect&) const = default;
};

class Desktop {
 public:
  virtual ~Desktop() = default;

  virtual WindowHandle ForegroundWindow() = 0;
  // A window of Typewell's own process: its windows, a message box.
  virtual bool IsOwnWindow(WindowHandle window) = 0;
  // "" for a window that no longer exists.
  virtual std::wstring WindowTitle(WindowHandle window) = 0;
  // False for 0.
  virtual bool WindowExists(WindowHandle window) = 0;
  // Those of a window that does not exist are not shown.
  virtual WindowFacts Facts(WindowHandle window) = 0;
  // The integrity level of the process of window, or of Typewell's own for 0 (the last part of
  // its mandatory label: 0x2000 medium, 0x3000 high); the highest for one that cannot be asked.
  virtual std::uint32_t IntegrityLevel(WindowHandle window) = 0;
  virtual bool WindowHung(WindowHandle window) = 0;
  // Makes the window the foreground window and waits, within a bound, until its thread has taken
  // the activation; false when it did not.
  virtual bool Activate(WindowHandle window) = 0;
  // The foreground window belongs to the same thread as window.
  virtual bool ForegroundIsThreadOf(WindowHandle window) = 0;

  // Dots per inch of the system (the primary monitor at sign-in); the settings file keeps the
  // window's place in twips at this DPI.
  virtual int SystemDpi() = 0;
  // The primary screen's size in pixels.
  virtual PixelSize PrimaryScreen() = 0;
  virtual bool OnAnyMonitor(const PixelRect& rect) = 0;

  // The top-level window with exactly this title, else 0; and restoring and activating it.
  virtual WindowHandle FindWindowTitled(const std::wstring& title) = 0;
  virtual void RestoreAndActivate(WindowHandle window) = 0;
  // Takes a named lock for the life of the process; false while another process holds it.
  virtual bool AcquireInstanceLock(const std::wstring& name) = 0;
  virtual void Sleep(int milliseconds) = 0;
};

}  // namespace tw::services
