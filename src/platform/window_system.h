// The operations that Typewell asks of the Windows window system, shell and input system. The
// Win32 implementation lives in src/win32; RecordingWindowSystem records calls for tests.
// Strings are bytes in the system's ANSI code page.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tw::platform {

using WindowHandle = std::uintptr_t;  // 0: none

struct PixelRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool operator==(const PixelRect&) const = default;
};

enum class KeyWait { No, Yes };

enum class SendResult {
  Delivered,  // sent, and (when waiting) processed by the target's thread within the bound
  TimedOut,   // the target did not process the keys within the bound (hung or slow)
  Failed,     // the system refused the input
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // --- top-level windows ---------------------------------------------------------------------
  // FindWindowA(NULL, title): a top-level window with exactly that title, else 0.
  virtual WindowHandle findWindow(const std::string& title) = 0;
  // ShowWindow(h, SW_SHOWNORMAL).
  virtual void showWindowNormal(WindowHandle window) = 0;
  virtual void setForegroundWindow(WindowHandle window) = 0;
  virtual WindowHandle foregroundWindow() = 0;
  // The window belongs to this process: a form, a message box, any window of Typewell's own.
  virtual bool isOwnProcessWindow(WindowHandle window) = 0;
  // GetWindowTextLengthA + GetWindowTextA; a vanished window gives "".
  virtual std::string windowTitle(WindowHandle window) = 0;
  virtual PixelRect windowRect(WindowHandle window) = 0;
  // SetWindowPos(h, HWND_TOPMOST, rect, SWP_NOACTIVATE).
  virtual void setWindowTopmost(WindowHandle window, const PixelRect& rect) = 0;
  // Puts a topmost window at the top of the topmost band again, also on the screen, without
  // activating it: it leaves the band and rejoins it (under Wine a window already in the band
  // is not restacked on the screen by a plain request).
  virtual void raiseTopmost(WindowHandle window) = 0;

  // --- checks before typing into another program ---------------------------------------------
  virtual bool windowExists(WindowHandle window) = 0;
  virtual bool windowHung(WindowHandle window) = 0;
  // The foreground window belongs to the same thread as window.
  virtual bool foregroundIsThreadOf(WindowHandle window) = 0;

  // --- clipboard and keys --------------------------------------------------------------------
  // Empties the clipboard and puts text on it; false while another program holds it open.
  [[nodiscard]] virtual bool setClipboardText(const std::string& text) = 0;
  // Releases every modifier key that is down (Shift, Ctrl, Alt, Win) with synthesised key-ups.
  virtual void releaseHeldModifiers() = 0;
  // Sends a key string ("{HOME}", "+{END}", ...) to the foreground window. With KeyWait::Yes the
  // call returns once the thread of target has processed the keys, or when the bound runs out.
  [[nodiscard]] virtual SendResult sendKeys(const std::string& keys, KeyWait wait,
                                            WindowHandle target) = 0;
  // One pass over this thread's queued messages, dispatching each.
  virtual void doEvents() = 0;

  // --- shell ---------------------------------------------------------------------------------
  // FindExecutableA(file, directory): the program registered for the file's type; nullopt when
  // the lookup returns 32 or less.
  virtual std::optional<std::string> findExecutable(const std::string& file,
                                                    const std::string& directory) = 0;
  // Starts a program with a command line, shown normally.
  virtual void startProgram(const std::string& commandLine) = 0;

  // --- monitors, process -------------------------------------------------------------------
  // The rectangle overlaps at least one monitor of the desktop.
  virtual bool onAnyMonitor(const PixelRect& rect) = 0;
  // The full path of the running executable.
  virtual std::string executablePath() = 0;
  // Takes a named lock for the life of the process; false if another process holds it.
  virtual bool acquireInstanceLock(const std::string& name) = 0;
  virtual void sleep(int milliseconds) = 0;

  // --- user messages -------------------------------------------------------------------------
  // A message box with an error, owned by the given window (0: none).
  virtual void reportError(const std::string& message, WindowHandle owner) = 0;
  // A message box with an error and the buttons Retry and Cancel, owned by the given window
  // (0: none); true when the user chose Retry.
  [[nodiscard]] virtual bool askRetry(const std::string& message, WindowHandle owner) = 0;
};

}  // namespace tw::platform
