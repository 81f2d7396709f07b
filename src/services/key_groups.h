// The keys of one Send, typed in groups: each group ends with the press of a key that is not a
// modifier (or with the last stroke), and that press is taken by the target before the next group
// goes out, so that a Shift is still held while the key it modifies is handled. The decisions are
// made here; a typist of keys gives the steps (src/win32 a thread attached to the target's input,
// tests a fake).
#pragma once

#include <functional>
#include <span>
#include <vector>

#include "services/typing.h"

namespace tw::services {

class KeyTypist {
 public:
  virtual ~KeyTypist() = default;
  // The foreground window belongs to the target's thread: keys sent now reach the target.
  virtual bool TargetActive() = 0;
  // Sends the strokes at once, waiting for nothing; false when the system refused them.
  virtual bool SendGroup(std::span<const KeyStroke> group) = 0;
  // Waits, within a bound, until the target has read the press that ends the group sent last
  // and, if handled, has also handled it; false when it did not in time.
  virtual bool AwaitGroupTaken(bool handled) = 0;
};

// Types the strokes, group by group, each only while the target has the activation. The last
// press is waited for only until it is read, and the key-ups after it not at all; once a group
// was not taken in time, the rest goes out unwaited. A refusal, or the loss of the activation,
// ends the typing with key-ups for the keys that the strokes sent left down.
KeysSent TypeInGroups(std::span<const KeyStroke> strokes, KeyTypist& typist);

// Key-ups for the Shift, Ctrl, Alt and Win keys that the user holds down (held tells), after a
// press and release of a key that no keyboard layout assigns where Alt or Win is among them: it
// stops their lone release from opening a menu bar or the Start menu.
std::vector<KeyStroke> ModifierReleases(const std::function<bool(std::uint8_t key)>& held);

}  // namespace tw::services
