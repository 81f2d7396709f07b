#include "store/settings_file.h"

#include <cmath>
#include <limits>

#include "store/binary_file.h"

namespace tw::store {

namespace {

constexpr std::int16_t kCountedStarts = 20;
constexpr double kEdgeMargin = 1000;  // twips a place may reach to the screen's right or bottom

void Put(SettingsBytes& bytes, std::size_t at, std::int16_t value) {
  const auto u = static_cast<std::uint16_t>(value);
  bytes[at] = static_cast<std::uint8_t>(u & 0xFF);
  bytes[at + 1] = static_cast<std::uint8_t>(u >> 8);
}

std::int16_t Get(const std::uint8_t* bytes, std::size_t size, std::size_t at) {
  const std::uint16_t low = at < size ? bytes[at] : 0;
  const std::uint16_t high = at + 1 < size ? bytes[at + 1] : 0;
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
}

// Reads as much of a record as the file holds (creating it empty when missing).
std::size_t ReadRecord(const std::wstring& file, SettingsBytes& bytes) {
  BinaryFile opened(file);
  return opened.Read(bytes.data(), bytes.size());
}

// The record of a file just created or emptied: centred, first start; reserved words dropped.
SettingsRecord NewRecord(const WindowGeometry& geometry) {
  SettingsRecord record;
  CentreWindow(record, geometry);
  record.startCount = 1;
  return record;
}

}  // namespace

SettingsBytes EncodeSettings(const SettingsRecord& r) {
  SettingsBytes bytes{};
  Put(bytes, 0, r.fontChoice);
  Put(bytes, 2, r.windowTop);
  Put(bytes, 4, r.windowLeft);
  Put(bytes, 6, r.colourChoice);
  Put(bytes, 8, r.reserved);
  Put(bytes, 10, r.startCount);
  return bytes;
}

SettingsRecord DecodeSettings(const std::uint8_t* bytes, std::size_t size) {
  return SettingsRecord{Get(bytes, size, 0), Get(bytes, size, 2), Get(bytes, size, 4),
                        Get(bytes, size, 6), Get(bytes, size, 8), Get(bytes, size, 10)};
}

void WriteSettings(const std::wstring& file, const SettingsRecord& record) {
  const SettingsBytes bytes = EncodeSettings(record);
  BinaryFile opened(file);
  opened.Write(bytes.data(), bytes.size());
  opened.Close();
}

bool RoundToField(double value, std::int16_t& field) {
  const double rounded = std::nearbyint(value);  // the default rounding mode: halves to even
  if (!(rounded >= std::numeric_limits<std::int16_t>::min() &&
        rounded <= std::numeric_limits<std::int16_t>::max())) {
    return false;  // also NaN
  }
  field = static_cast<std::int16_t>(rounded);
  return true;
}

void CentreWindow(SettingsRecord& record, const WindowGeometry& g) {
  RoundToField((g.screenHeight - g.windowHeight) / 2, record.windowTop);
  RoundToField((g.screenWidth - g.windowWidth) / 2, record.windowLeft);
}

std::int16_t ValidColourChoice(std::int16_t stored) {
  return stored >= 0 && stored <= 3 ? stored : 1;
}

SettingsFileState LoadSettings(const std::wstring& file, SettingsRecord& record,
                               const WindowGeometry& geometry, const PlaceCheck& onAnyMonitor) {
  SettingsBytes bytes{};
  const std::size_t got = ReadRecord(file, bytes);
  const SettingsFileState state = got == 0 ? SettingsFileState::Empty : SettingsFileState::Written;
  if (state == SettingsFileState::Empty) {
    record = NewRecord(geometry);
  } else {
    record = DecodeSettings(bytes.data(), got);
    const bool counted = record.startCount < kCountedStarts;
    if (counted) ++record.startCount;
    // A short record is completed even when the count no longer changes.
    if (counted || got < kSettingsRecordSize) WriteSettings(file, record);
  }

  record.colourChoice = ValidColourChoice(record.colourChoice);
  const bool beyondScreen = record.windowTop > geometry.screenHeight - kEdgeMargin ||
                            record.windowLeft > geometry.screenWidth - kEdgeMargin;
  const bool atOrigin = record.windowTop == 0 && record.windowLeft == 0;
  if (beyondScreen || atOrigin || (onAnyMonitor && !onAnyMonitor(record))) {
    CentreWindow(record, geometry);
    WriteSettings(file, record);
  }
  if (record.fontChoice < 0 || record.fontChoice > 1) {
    record.fontChoice = 0;
    WriteSettings(file, record);
  }
  return state;
}

}  // namespace tw::store
