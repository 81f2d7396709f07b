// The services on real Win32: the desktop (other programs' windows, activation, the screen, the
// running instance), typing (the clipboard and SendInput), the shell and message boxes.
#pragma once

#include <windows.h>

#include <chrono>
#include <memory>
#include <span>
#include <vector>

#include "services/desktop.h"
#include "services/messages.h"
#include "services/shell.h"
#include "services/typing.h"
#include "win32/system/scoped_handles.h"

namespace tw::win32 {

inline HWND ToHwnd(services::WindowHandle window) {
  return reinterpret_cast<HWND>(window);
}
inline services::WindowHandle FromHwnd(HWND window) {
  return reinterpret_cast<services::WindowHandle>(window);
}

// Waits until the thread of window has returned to its message loop (it answers a sent message
// only when it next retrieves messages, after the handling of the last one it took), within the
// deadline. Messages sent to this thread meanwhile are answered (no SMTO_BLOCK).
bool RoundTrip(HWND window, std::chrono::steady_clock::time_point deadline);

// A pause that answers the messages sent to this thread meanwhile, and hands our own pending
// requests to the window system (under Wine a focus change of our window at the mouse press can
// still wait in its output buffer); one of no time only yields.
void Pause(DWORD milliseconds);
// The foreground window belongs to the thread.
bool ForegroundIsThread(DWORD thread);
// The thread's own idea of its active and its focused window; none once it has read the loss of
// the foreground, or when it cannot be asked.
GUITHREADINFO ThreadInput(DWORD thread);

// Sends the strokes in one SendInput, waiting for nothing; false when the system refused them.
bool SendStrokes(std::span<const services::KeyStroke> strokes);

class Win32Desktop final : public services::Desktop {
 public:
  services::WindowHandle ForegroundWindow() override;
  bool IsOwnWindow(services::WindowHandle window) override;
  std::wstring WindowTitle(services::WindowHandle window) override;
  bool WindowExists(services::WindowHandle window) override;
  services::WindowFacts Facts(services::WindowHandle window) override;
  std::uint32_t IntegrityLevel(services::WindowHandle window) override;
  bool WindowHung(services::WindowHandle window) override;
  bool Activate(services::WindowHandle window) override;
  bool ForegroundIsThreadOf(services::WindowHandle window) override;
  int SystemDpi() override;
  services::PixelSize PrimaryScreen() override;
  bool OnAnyMonitor(const services::PixelRect& rect) override;
  services::WindowHandle FindWindowTitled(const std::wstring& title) override;
  void RestoreAndActivate(services::WindowHandle window) override;
  bool AcquireInstanceLock(const std::wstring& name) override;
  void Sleep(int milliseconds) override;

 private:
  static bool Cloaked(HWND window);

  std::vector<ScopedHandle> instanceLocks_;
};

// The keys of one Send, on a thread of their own (typing_keys_win32.cpp).
class Typist;

class Win32Typing final : public services::Typing {
 public:
  Win32Typing();
  ~Win32Typing() override;
  Win32Typing(const Win32Typing&) = delete;
  Win32Typing& operator=(const Win32Typing&) = delete;
  bool PutOnClipboard(const std::string& text) override;
  void ReleaseHeldModifiers() override;
  services::KeysSent Send(std::span<const services::KeyStroke> strokes,
                          services::WindowHandle target) override;
  services::KeysSent AwaitTaken(services::WindowHandle target) override;

 private:
  // The hidden message-only window that owns the clipboard while we write it: with a null owner
  // two programs could open the clipboard at the same time. Made at start-up (a failure ends it).
  ScopedWindow clipboardOwner_;
  // The Typists of the Sends whose keys a target did not take in time, for as long as a key they
  // sent may still reach it (at most one for each thread of a target): AwaitTaken waits for them.
  std::vector<std::unique_ptr<Typist>> typists_;

  ScopedWindow CreateClipboardOwner();
  void DropTypists(DWORD replacedThread);
};

class Win32Shell final : public services::Shell {
 public:
  std::optional<std::wstring> FindExecutable(const std::wstring& fileName,
                                             const std::wstring& folder) override;
  void StartProgram(const std::wstring& commandLine) override;
};

// The full path of the running executable.
std::wstring ExecutablePath();

// An error in a message box owned by Typewell's window that is active (the options dialog over
// the main window), so that no window of Typewell takes input under it.
void ShowReport(HWND mainWindow, const std::wstring& message);

// The boxes are owned as ShowReport's are.
class Win32Messages final : public services::Messages {
 public:
  explicit Win32Messages(HWND mainWindow) : mainWindow_(mainWindow) {}
  void Report(const std::wstring& message) override { ShowReport(mainWindow_, message); }
  services::CloseAnswer AskAtClose(const std::wstring& message) override;
  void Notify(const std::wstring& message) override;

 private:
  HWND mainWindow_;
};

}  // namespace tw::win32
