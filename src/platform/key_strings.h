// Key strings: the small key syntax that the fill uses ("{HOME}", "+{END}", "{BACKSPACE}",
// "+{INSERT}", "{TAB}") parsed into the key events to synthesise, independent of any window
// system.
//
// Syntax: a key name in braces is that key ("{END}", "{F5}"), optionally with a repeat count
// ("{LEFT 3}"); a brace holding one character is that character ("{+}", "{{}", "{}}");
// "+", "^" and "%" hold Shift, Ctrl and Alt down for the key that follows, or for a group in
// parentheses ("+(abc)"); "~" is Enter; every other character is itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tw::platform {

enum class KeyAction { Down, Up };

struct KeyEvent {
  // A virtual-key code, or 0 when the event types a character.
  std::uint8_t virtualKey = 0;
  // The character (in the ANSI code page) when virtualKey is 0.
  char character = 0;
  KeyAction action = KeyAction::Down;
  // The key is one of the extended keys (Home, End, Insert, Delete, arrows, Page Up/Down...)
  // whose scan code carries the E0 prefix.
  bool extended = false;
  bool operator==(const KeyEvent&) const = default;
};

struct ParsedKeys {
  std::vector<KeyEvent> events;
  std::string error;  // empty when the whole string was understood
  bool ok() const { return error.empty(); }
};

// Virtual-key codes of the keys that the syntax names.
namespace vk {
inline constexpr std::uint8_t kBackspace = 0x08, kTab = 0x09, kEnter = 0x0D, kShift = 0x10,
                              kControl = 0x11, kMenu = 0x12, kEscape = 0x1B, kPageUp = 0x21,
                              kPageDown = 0x22, kEnd = 0x23, kHome = 0x24, kLeft = 0x25, kUp = 0x26,
                              kRight = 0x27, kDown = 0x28, kInsert = 0x2D, kDelete = 0x2E,
                              kF1 = 0x70;
}  // namespace vk

// The events of a key string, in the order they are to be sent. On an error (an unknown key
// name, an unclosed brace or parenthesis, a modifier with nothing after it) events is empty.
ParsedKeys ParseKeyString(std::string_view keys);

}  // namespace tw::platform
