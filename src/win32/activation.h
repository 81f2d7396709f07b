// Activating another program's window so that synthesised keys reach it. SetForegroundWindow
// only records the new foreground; the window's thread takes the activation (its active window
// and keyboard focus) when it next reads its messages. Under Wine, moreover, a notice of lost
// input focus that the window's thread reads late (our own window took the focus at the mouse
// press a moment before) hands the foreground to the desktop window. Keys sent meanwhile go
// nowhere, or to whatever is in front.
#pragma once

#include <windows.h>

#include <chrono>

namespace tw::win32 {

// Makes window the foreground window and waits until its thread has taken the activation and the
// foreground has stayed with that thread over a round trip to it; activates again when the
// foreground went elsewhere meanwhile. Messages sent to this thread are answered while it waits.
// False when that did not happen within bound (the window vanished, hung or lost the
// foreground each time).
bool ActivateAndSettle(HWND window, std::chrono::milliseconds bound);

}  // namespace tw::win32
