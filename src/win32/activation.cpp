// Activating another program's window and waiting for the activation to settle; see
// activation.h.
#include "win32/activation.h"

namespace tw::win32 {

namespace {

using Clock = std::chrono::steady_clock;

// How long one pause between two looks at the activation lasts at most.
constexpr DWORD kPauseMs = 5;
// How long a thread that is not in front may take to read the loss of its activation before it
// is activated regardless.
constexpr std::chrono::milliseconds kDeactivationWait{300};

DWORD ThreadOf(HWND window) {
  return GetWindowThreadProcessId(window, nullptr);
}

bool ForegroundIsThread(DWORD thread) {
  const HWND foreground = GetForegroundWindow();
  return foreground != nullptr && ThreadOf(foreground) == thread;
}

// The thread's own idea of its active window; 0 once it has read the loss of the foreground.
bool ThreadHasActiveWindow(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(thread, &info) && info.hwndActive != nullptr;
}

std::chrono::milliseconds Left(Clock::time_point deadline) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
}

// Waits until the thread of window has read the messages (and window-system events) that
// reached it so far. Messages sent to us meanwhile are answered (no SMTO_BLOCK).
bool RoundTrip(HWND window, Clock::time_point deadline) {
  const auto left = Left(deadline);
  if (left.count() <= 0) return false;
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                             static_cast<UINT>(left.count()), &result) != 0;
}

// A short pause that still answers messages sent to this thread.
void Pause() {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, kPauseMs, QS_SENDMESSAGE);
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

bool ActivateAndSettle(HWND window, std::chrono::milliseconds bound) {
  const auto start = Clock::now();
  const auto deadline = start + bound;
  const DWORD thread = ThreadOf(window);
  if (thread == 0) return false;
  for (;;) {
    // Also hands our own pending requests to the window system (under Wine a focus change of
    // our window at the mouse press can still wait in its output buffer).
    Pause();
    if (!IsWindow(window)) return false;
    if (ForegroundIsThread(thread)) {
      // In front with an active window of its own: settled if it stays so while the thread
      // reads what was pending for it. Two round trips: a notice of lost input focus that
      // reached the thread during the first is read before it answers the second.
      if (ThreadHasActiveWindow(thread) && RoundTrip(window, deadline) &&
          RoundTrip(window, deadline) && ForegroundIsThread(thread) &&
          ThreadHasActiveWindow(thread)) {
        return true;
      }
    } else if (!ThreadHasActiveWindow(thread) || Clock::now() - start >= kDeactivationWait) {
      // A thread that lost the foreground a moment ago and has not read that yet would take
      // the new activation for the one it still has, and not take the input focus back.
      SetForegroundWindow(window);
    }
    // Every way round the loop passes here: a thread that never takes the foreground (the
    // system refuses it, the window is hidden, a ghost stands in for a hung one) ends the wait.
    if (Clock::now() >= deadline) return false;
  }
}

}  // namespace tw::win32
