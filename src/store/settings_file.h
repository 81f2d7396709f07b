// Typewell.ini: despite its name one binary record of six 16-bit signed little-endian integers,
// 12 bytes: the font weight, the main window's place (twips at the system's DPI, screen
// coordinates), the label colour, a reserved word and a count of starts.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace tw::store {

inline constexpr wchar_t kSettingsFileName[] = L"Typewell.ini";
inline constexpr std::size_t kSettingsRecordSize = 12;
// The choices of the weight and the label colour (see SettingsRecord).
inline constexpr int kFontChoiceCount = 2;
inline constexpr int kColourChoiceCount = 4;

struct SettingsRecord {
  std::int16_t fontChoice = 0;    // 0 normal, 1 bold
  std::int16_t windowTop = 0;     // twips
  std::int16_t windowLeft = 0;    // twips
  std::int16_t colourChoice = 0;  // 0 white, 1 green, 2 light cyan, 3 yellow
  std::int16_t reserved = 0;      // never interpreted, carried through every save
  std::int16_t startCount = 0;    // starts, counted up to 20
  bool operator==(const SettingsRecord&) const = default;
};

using SettingsBytes = std::array<std::uint8_t, kSettingsRecordSize>;

// The 12 bytes of a record, and a record from up to 12 bytes (missing bytes read as zero).
SettingsBytes EncodeSettings(const SettingsRecord& record);
SettingsRecord DecodeSettings(const std::uint8_t* bytes, std::size_t size);

// Writes the whole record at the first byte of the file; never shortens it. Throws FileError.
void WriteSettings(const std::wstring& file, const SettingsRecord& record);

// The nearest 16-bit integer to value, an exact half to the even neighbour; false (and field
// unchanged) when it does not fit.
bool RoundToField(double value, std::int16_t& field);

// The sizes that placing the main window depends on, in twips: the primary screen and the
// window's current outer size.
struct WindowGeometry {
  double screenWidth = 0;
  double screenHeight = 0;
  double windowWidth = 0;
  double windowHeight = 0;
};

// Sets windowTop and windowLeft so that the window stands in the middle of the screen. A centre
// that does not fit a 16-bit field leaves that field as it was.
void CentreWindow(SettingsRecord& record, const WindowGeometry& geometry);

// What the settings file held when it was loaded.
enum class SettingsFileState {
  Empty,    // 0 bytes (as on a first start, when it is created): the window opens normal
  Written,  // a record was read
};

// Whether a window at the record's place, of the geometry's window size, lies at least in part
// on some monitor.
using PlaceCheck = std::function<bool(const SettingsRecord&)>;

// Reads and checks the settings file (creating it empty when missing), counts the start, and
// corrects what is out of range in this order: colour (in memory only, see ValidColourChoice), a
// place beyond the screen's bottom or right edge less 1000 twips, a place of 0/0, a place on no
// monitor (each re-centred and saved), the font (saved). A file of 1 to 11 bytes is read as far
// as it goes, the rest as zero, and is written whole. Throws FileError.
SettingsFileState LoadSettings(const std::wstring& file, SettingsRecord& record,
                               const WindowGeometry& geometry, const PlaceCheck& onAnyMonitor);

// The colour choice that a stored value stands for: 0 to 3 as they are, anything else green (1).
std::int16_t ValidColourChoice(std::int16_t stored);

}  // namespace tw::store
