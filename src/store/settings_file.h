// Typewell.ini: despite its name one binary record of six 16-bit signed little-endian integers,
// 12 bytes, held in memory for the whole process as SettingsRecord.
#pragma once

#include <array>
#include <cstdint>
#include <string>

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

using SettingsBytes = std::array<std::uint8_t, kSettingsRecordSize>;

// The 12 bytes of a record, and a record from up to 12 bytes (missing bytes read as zero).
SettingsBytes EncodeSettings(const SettingsRecord& record);
SettingsRecord DecodeSettings(const std::uint8_t* bytes, std::size_t size);

// Writes the whole record at the first byte of the settings file of the program folder; never
// shortens the file. Throws FileError.
void SaveSettings(const std::string& programFolder, const SettingsRecord& record);

}  // namespace tw::store
