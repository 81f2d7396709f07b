// Typing into another program: the clipboard and synthesised keys. src/win32 implements it with
// the clipboard and SendInput; tests use a fake.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "services/desktop.h"

namespace tw::services {

struct KeyStroke {
  std::uint8_t virtualKey = 0;
  bool up = false;
  bool operator==(const KeyStroke&) const = default;
};

enum class KeysSent {
  Taken,           // sent, and the target has taken every key
  TimedOut,        // the target did not take them within the bound (hung or slow)
  Refused,         // the system refused the input
  LostActivation,  // stopped: another window came to the front (keys sent before may be pending)
};

class Typing {
 public:
  virtual ~Typing() = default;
  // Empties the clipboard and puts the text (bytes in the ANSI code page) on it; false while
  // another program holds the clipboard open.
  [[nodiscard]] virtual bool PutOnClipboard(const std::string& text) = 0;
  // Key-ups for every Shift, Ctrl, Alt and Win key that the user holds down.
  virtual void ReleaseHeldModifiers() = 0;
  // Types the strokes into target in groups (services/key_groups.h): each key once the thread of
  // target has handled the press before it (so that a Shift stays held until the key it modifies
  // has been handled). The call returns once the target has taken the last press out of its
  // queue, within a bound for each key: reading it, the target has handled every key before it,
  // and a key still queued when its program loses the activation (the user clicks Typewell again
  // at once) would reach no window. After a time-out the rest goes out unwaited; a group goes out
  // only while target has the activation, and otherwise the keys left down are released.
  [[nodiscard]] virtual KeysSent Send(std::span<const KeyStroke> strokes, WindowHandle target) = 0;
  // Waits, within a bound, until target has taken the keys of an earlier Send that timed out,
  // sending nothing (a key sent now would reach whatever window is in front, not target). Taken
  // when nothing sent to target is pending any more, or target is gone; TimedOut otherwise.
  [[nodiscard]] virtual KeysSent AwaitTaken(WindowHandle target) = 0;
};

}  // namespace tw::services
