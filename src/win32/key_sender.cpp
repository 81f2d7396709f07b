// Synthesised keyboard input; see key_sender.h.
#include "win32/key_sender.h"

#include <algorithm>
#include <array>

#include "win32/ansi_text.h"

namespace tw::win32 {

using platform::KeyAction;
using platform::KeyEvent;
using platform::SendResult;

namespace {

// A key that no keyboard layout assigns: pressing it between the user's Alt or Win press and our
// release stops the lone release from opening a menu bar or the Start menu.
constexpr std::uint8_t kUnassignedKey = 0xE8;

INPUT ToInput(const KeyEvent& event) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  if (event.virtualKey == 0) {
    const std::wstring wide = AnsiToWide(std::string(1, event.character));
    input.ki.wScan = wide.empty() ? 0 : static_cast<WORD>(wide[0]);
    input.ki.dwFlags = KEYEVENTF_UNICODE;
  } else {
    input.ki.wVk = event.virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(event.virtualKey, MAPVK_VK_TO_VSC));
    if (event.extended) input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  }
  if (event.action == KeyAction::Up) input.ki.dwFlags |= KEYEVENTF_KEYUP;
  return input;
}

bool SendOne(const KeyEvent& event) {
  INPUT input = ToInput(event);
  return SendInput(1, &input, sizeof(INPUT)) == 1;
}

// Waits until the thread of target has returned to its message loop; false when the bound has
// run out or the target is hung. Messages sent to this thread are answered while it waits (no
// SMTO_BLOCK): pasting makes the target ask the clipboard's owner, our own window, for the data,
// and a blocked wait would hold the paste until the whole key string had timed out.
bool RoundTrip(HWND target, std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  if (left.count() <= 0) return false;
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(target, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                             static_cast<UINT>(left.count()), &result) != 0;
}

constexpr std::array<std::pair<std::uint8_t, unsigned>, 3> kShiftStateKeys{
    {{platform::vk::kShift, 1}, {platform::vk::kControl, 2}, {platform::vk::kMenu, 4}}};

void AppendTypedCharacter(char character, const std::vector<std::uint8_t>& held,
                          std::vector<KeyEvent>& out) {
  const SHORT scan = VkKeyScanA(character);
  if (scan == -1 || LOBYTE(scan) == 0xFF) {
    out.push_back(KeyEvent{0, character, KeyAction::Down, false});
    out.push_back(KeyEvent{0, character, KeyAction::Up, false});
    return;
  }
  std::vector<std::uint8_t> added;
  for (const auto& [key, bit] : kShiftStateKeys) {
    if ((HIBYTE(scan) & bit) && std::find(held.begin(), held.end(), key) == held.end()) {
      added.push_back(key);
      out.push_back(KeyEvent{key, 0, KeyAction::Down, false});
    }
  }
  out.push_back(KeyEvent{LOBYTE(scan), 0, KeyAction::Down, false});
  out.push_back(KeyEvent{LOBYTE(scan), 0, KeyAction::Up, false});
  for (auto it = added.rbegin(); it != added.rend(); ++it) {
    out.push_back(KeyEvent{*it, 0, KeyAction::Up, false});
  }
}

// Key-ups, without waiting, for every key that the sequence left down.
void ReleaseKeys(const std::vector<KeyEvent>& down) {
  for (auto it = down.rbegin(); it != down.rend(); ++it) {
    KeyEvent up = *it;
    up.action = KeyAction::Up;
    SendOne(up);
  }
}

void TrackHeld(const KeyEvent& event, std::vector<KeyEvent>& down) {
  if (event.action == KeyAction::Down) {
    down.push_back(event);
    return;
  }
  const auto same = std::find_if(down.begin(), down.end(), [&](const KeyEvent& d) {
    return d.virtualKey == event.virtualKey && d.character == event.character;
  });
  if (same != down.end()) down.erase(same);
}

}  // namespace

std::vector<KeyEvent> ResolveCharacters(const std::vector<KeyEvent>& events) {
  std::vector<KeyEvent> out;
  std::vector<std::uint8_t> held;
  for (std::size_t i = 0; i < events.size(); ++i) {
    const KeyEvent& event = events[i];
    if (event.virtualKey != 0) {
      out.push_back(event);
      if (event.action == KeyAction::Down) {
        held.push_back(event.virtualKey);
      } else {
        std::erase(held, event.virtualKey);
      }
    } else if (event.action == KeyAction::Down) {
      AppendTypedCharacter(event.character, held, out);
      // The parser puts a character's release right after its press; both are expanded here.
      if (i + 1 < events.size() && events[i + 1].virtualKey == 0 &&
          events[i + 1].action == KeyAction::Up) {
        ++i;
      }
    }
  }
  return out;
}

SendResult SendKeyEvents(const std::vector<KeyEvent>& events, platform::KeyWait wait, HWND target,
                         std::chrono::milliseconds bound) {
  const bool waiting = wait == platform::KeyWait::Yes;
  if (waiting && !IsWindow(target)) return SendResult::Failed;
  const auto deadline = std::chrono::steady_clock::now() + bound;
  // The whole key string in one call: the system delivers it without any of the user's own
  // input in between, and it is waited for once, as a whole.
  std::vector<INPUT> inputs;
  inputs.reserve(events.size());
  for (const auto& event : events) inputs.push_back(ToInput(event));
  const UINT sent = inputs.empty()
                        ? 0
                        : SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  std::vector<KeyEvent> down;
  for (UINT i = 0; i < sent; ++i) TrackHeld(events[i], down);
  if (sent != inputs.size()) {
    ReleaseKeys(down);
    return SendResult::Failed;
  }
  // The first round trip can be answered before the target has taken the last key from its
  // queue; the second makes sure it has been processed.
  if (waiting && !events.empty() &&
      (!RoundTrip(target, deadline) || !RoundTrip(target, deadline))) {
    ReleaseKeys(down);
    return SendResult::TimedOut;
  }
  return SendResult::Delivered;
}

void ReleaseHeldModifiers() {
  struct Modifier {
    std::uint8_t key;
    bool extended;
    bool opensMenu;  // a lone release of Alt or Win activates a menu
  };
  static constexpr std::array kModifiers{
      Modifier{VK_LSHIFT, false, false},   Modifier{VK_RSHIFT, false, false},
      Modifier{VK_LCONTROL, false, false}, Modifier{VK_RCONTROL, true, false},
      Modifier{VK_LMENU, false, true},     Modifier{VK_RMENU, true, true},
      Modifier{VK_LWIN, true, true},       Modifier{VK_RWIN, true, true},
      Modifier{VK_SHIFT, false, false},    Modifier{VK_CONTROL, false, false},
      Modifier{VK_MENU, false, true},
  };
  std::vector<KeyEvent> releases;
  bool maskMenu = false;
  for (const auto& m : kModifiers) {
    if ((GetAsyncKeyState(m.key) & 0x8000) == 0) continue;
    releases.push_back(KeyEvent{m.key, 0, KeyAction::Up, m.extended});
    maskMenu = maskMenu || m.opensMenu;
  }
  if (maskMenu) {
    SendOne(KeyEvent{kUnassignedKey, 0, KeyAction::Down, false});
    SendOne(KeyEvent{kUnassignedKey, 0, KeyAction::Up, false});
  }
  for (const auto& release : releases) SendOne(release);
}

}  // namespace tw::win32
