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
  Taken,     // sent, and the target has taken every key (when waited for)
  TimedOut,  // the target did not take them within the bound (hung or slow)
  Refused,   // the system refused the input
};

class Typing {
 public:
  virtual ~Typing() = default;
  // Empties the clipboard and puts the text (bytes in the ANSI code page) on it; false while
  // another program holds the clipboard open.
  [[nodiscard]] virtual bool PutOnClipboard(const std::string& text) = 0;
  // Key-ups for every Shift, Ctrl, Alt and Win key that the user holds down.
  virtual void ReleaseHeldModifiers() = 0;
  // Sends the strokes to the foreground window. When told to wait, each key is sent once the
  // thread of target has taken the one before it (so that a Shift stays held until the key it
  // modifies has been handled), and the call returns once it has taken the last, within a bound
  // for each key; on TimedOut the remaining strokes are still sent, so that no key stays down.
  // Without strokes, it waits until target has taken what was sent to it before.
  enum class Wait { No, UntilTaken };
  [[nodiscard]] virtual KeysSent Send(std::span<const KeyStroke> strokes, Wait wait,
                                      WindowHandle target) = 0;
};

}  // namespace tw::services
