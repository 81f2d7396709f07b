// Synthesised keyboard input: the events of a key string sent one by one with SendInput, each
// optionally followed by a round trip to the target window's thread, and the release of modifier
// keys that the user holds down.
#pragma once

#include <windows.h>

#include <chrono>
#include <vector>

#include "platform/key_strings.h"
#include "platform/window_system.h"

namespace tw::win32 {

// Replaces each typed character by the virtual key and the Shift, Ctrl or Alt presses that the
// active keyboard layout needs for it (those already held by the sequence are not pressed
// again). A character that the layout cannot type stays a character event, sent as Unicode.
std::vector<platform::KeyEvent> ResolveCharacters(const std::vector<platform::KeyEvent>& events);

// Sends the events in order, in one SendInput call. With KeyWait::Yes the call then waits until
// the thread of target has processed them, within bound. On a failure or timeout the keys that
// the sequence holds down are released before returning.
platform::SendResult SendKeyEvents(const std::vector<platform::KeyEvent>& events,
                                   platform::KeyWait wait, HWND target,
                                   std::chrono::milliseconds bound);

// Sends key-ups for every Shift, Ctrl, Alt and Win key that is down.
void ReleaseHeldModifiers();

}  // namespace tw::win32
