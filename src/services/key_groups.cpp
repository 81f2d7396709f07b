#include "services/key_groups.h"

#include <algorithm>
#include <array>
#include <vector>

namespace tw::services {

namespace {

// Shift, Ctrl and Alt (either of them, the left and the right one), and the Win keys.
constexpr std::array<std::uint8_t, 11> kModifiers{0x10, 0x11, 0x12, 0xA0, 0xA1, 0xA2,
                                                  0xA3, 0xA4, 0xA5, 0x5B, 0x5C};

// A lone release of these opens a menu: Alt (either or both), the Win keys.
bool OpensMenu(std::uint8_t key) {
  return key == 0x12 || key == 0xA4 || key == 0xA5 || key == 0x5B || key == 0x5C;
}

bool IsModifier(std::uint8_t key) {
  return std::find(kModifiers.begin(), kModifiers.end(), key) != kModifiers.end();
}

// The end (one past) of the group that starts at begin.
std::size_t GroupEnd(std::span<const KeyStroke> strokes, std::size_t begin) {
  std::size_t end = begin;
  while (end + 1 < strokes.size() && (strokes[end].up || IsModifier(strokes[end].virtualKey))) {
    ++end;
  }
  return end + 1;
}

// Key-ups, the latest press first, for the keys that the strokes sent left down.
std::vector<KeyStroke> KeysLeftDown(std::span<const KeyStroke> sent) {
  std::vector<KeyStroke> down;
  for (const KeyStroke& stroke : sent) {
    std::erase_if(down, [&](const KeyStroke& d) { return d.virtualKey == stroke.virtualKey; });
    if (!stroke.up) down.push_back({stroke.virtualKey, true});
  }
  std::reverse(down.begin(), down.end());
  return down;
}

}  // namespace

std::vector<KeyStroke> ModifierReleases(const std::function<bool(std::uint8_t key)>& held) {
  constexpr std::uint8_t kUnassignedKey = 0xE8;
  std::vector<KeyStroke> releases;
  for (const std::uint8_t key : kModifiers) {
    if (!held(key)) continue;
    if (OpensMenu(key) && (releases.empty() || releases[0].virtualKey != kUnassignedKey)) {
      releases.insert(releases.begin(), {{kUnassignedKey, false}, {kUnassignedKey, true}});
    }
    releases.push_back({key, true});
  }
  return releases;
}

KeysSent TypeInGroups(std::span<const KeyStroke> strokes, KeyTypist& typist) {
  const auto lastPress =
      std::find_if(strokes.rbegin(), strokes.rend(), [](const KeyStroke& s) { return !s.up; });
  const std::size_t waitedUpTo = static_cast<std::size_t>(strokes.rend() - lastPress);
  KeysSent result = KeysSent::Taken;
  for (std::size_t begin = 0; begin < strokes.size();) {
    const std::size_t end = GroupEnd(strokes, begin);
    // Keys sent now would reach whatever program the user went to meanwhile.
    const bool active = typist.TargetActive();
    if (!active || !typist.SendGroup(strokes.subspan(begin, end - begin))) {
      (void)typist.SendGroup(KeysLeftDown(strokes.first(active ? end : begin)));
      return active ? KeysSent::Refused : KeysSent::LostActivation;
    }
    if (result == KeysSent::Taken && end <= waitedUpTo &&
        !typist.AwaitGroupTaken(end < waitedUpTo)) {
      result = KeysSent::TimedOut;
    }
    begin = end;
  }
  return result;
}

}  // namespace tw::services
