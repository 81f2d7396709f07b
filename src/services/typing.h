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
  // One of the extended keys (Home, End, Insert, ...) whose scan code carries the E0 prefix.
  bool extended = false;
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
  // Sends the strokes to the foreground window as one piece of input; when told to wait, returns
  // once the thread of target has taken all of them, within a bound.
  enum class Wait { No, UntilTaken };
  [[nodiscard]] virtual KeysSent Send(std::span<const KeyStroke> strokes, Wait wait,
                                      WindowHandle target) = 0;
};

}  // namespace tw::services
