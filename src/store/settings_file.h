// Typewell.ini: despite its name one binary record of six 16-bit signed little-endian integers,
// 12 bytes, held in memory for the whole process as SettingsRecord.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
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

// The sizes that placing the main window depends on, in twips: the primary screen and the
// window's current outer size.
struct WindowGeometry {
  double screenWidth = 0;
  double screenHeight = 0;
  double windowWidth = 0;
  double windowHeight = 0;
};

// Sets WindowTop and WindowLeft so that the window stands in the middle of the screen, each
// rounded to the nearest twip (an exact half to the even neighbour). A centre that does not fit
// the 16-bit field leaves that field as it was.
void CentreWindow(SettingsRecord& record, const WindowGeometry& geometry);

// What the settings file held when it was loaded.
enum class SettingsFileState {
  Empty,    // 0 bytes (as on a first start, when it is created): the window opens normal
  Written,  // a record was read
};

// Whether a window at the record's position, of the geometry's window size, lies at least in
// part on some monitor.
using PositionCheck = std::function<bool(const SettingsRecord&)>;

// Reads and checks the settings file of the program folder (creating it empty when missing),
// counts the start, and corrects what is out of range in this order: colour (in memory only),
// a position beyond the screen's bottom or right edge less 1000 twips, a position of 0/0, a
// position on no monitor (each re-centred and saved), the font (saved). A file of 1 to 11
// bytes is read as far as it goes, the rest as zero, and is written whole. Throws FileError.
SettingsFileState LoadSettings(const std::string& programFolder, SettingsRecord& record,
                               const WindowGeometry& geometry, const PositionCheck& onAnyMonitor);

}  // namespace tw::store
