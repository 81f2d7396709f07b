// Typewell.ini: despite its name one binary record of six 16-bit signed little-endian integers,
// 12 bytes, held in memory for the whole process as SettingsRecord.
#pragma once

#include <cstdint>

namespace tw::store {

inline constexpr const char* kSettingsFileName = "Typewell.ini";
inline constexpr std::size_t kSettingsRecordSize = 12;

struct SettingsRecord {
  std::int16_t FontChoice = 0;   // 0 normal, 1 bold
  std::int16_t WindowTop = 0;    // twips, screen coordinates
  std::int16_t WindowLeft = 0;   // twips, screen coordinates
  std::int16_t ColorChoice = 0;  // 0 white, 1 green, 2 light cyan, 3 yellow
  std::int16_t Reserved = 0;     // never interpreted, carried through every save
  std::int16_t StartCount = 0;   // starts, counted up to 20
  bool operator==(const SettingsRecord&) const = default;
};

}  // namespace tw::store
