#include "store/settings_file.h"

#include <cmath>
#include <limits>

#include "store/binary_file.h"

namespace tw::store {

namespace {
void put(SettingsBytes& bytes, std::size_t at, std::int16_t value) {
  const auto u = static_cast<std::uint16_t>(value);
  bytes[at] = static_cast<std::uint8_t>(u & 0xFF);
  bytes[at + 1] = static_cast<std::uint8_t>(u >> 8);
}

// The nearest integer, an exact half to the even neighbour, if it fits 16 bits.
bool roundToField(double value, std::int16_t& field) {
  const double rounded = std::nearbyint(value);
  if (!(rounded >= std::numeric_limits<std::int16_t>::min() &&
        rounded <= std::numeric_limits<std::int16_t>::max())) {
    return false;
  }
  field = static_cast<std::int16_t>(rounded);
  return true;
}

std::int16_t get(const std::uint8_t* bytes, std::size_t size, std::size_t at) {
  const std::uint16_t low = at < size ? bytes[at] : 0;
  const std::uint16_t high = at + 1 < size ? bytes[at + 1] : 0;
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
}
}  // namespace

SettingsBytes EncodeSettings(const SettingsRecord& r) {
  SettingsBytes bytes{};
  put(bytes, 0, r.FontChoice);
  put(bytes, 2, r.WindowTop);
  put(bytes, 4, r.WindowLeft);
  put(bytes, 6, r.ColorChoice);
  put(bytes, 8, r.Reserved);
  put(bytes, 10, r.StartCount);
  return bytes;
}

SettingsRecord DecodeSettings(const std::uint8_t* bytes, std::size_t size) {
  SettingsRecord r;
  r.FontChoice = get(bytes, size, 0);
  r.WindowTop = get(bytes, size, 2);
  r.WindowLeft = get(bytes, size, 4);
  r.ColorChoice = get(bytes, size, 6);
  r.Reserved = get(bytes, size, 8);
  r.StartCount = get(bytes, size, 10);
  return r;
}

void SaveSettings(const std::string& programFolder, const SettingsRecord& record) {
  const SettingsBytes bytes = EncodeSettings(record);
  BinaryFile file = OpenBinaryFile(programFolder + kSettingsFileName);
  file.seek(0);
  file.write(bytes.data(), bytes.size());
  file.close();
}

void CentreWindow(SettingsRecord& record, const WindowGeometry& g) {
  roundToField((g.screenHeight - g.windowHeight) / 2, record.WindowTop);
  roundToField((g.screenWidth - g.windowWidth) / 2, record.WindowLeft);
}

namespace {

// The record of a file just created or emptied: centred, first start.
SettingsRecord NewRecord(const SettingsRecord& before, const WindowGeometry& geometry) {
  SettingsRecord record = before;
  record.FontChoice = 0;
  CentreWindow(record, geometry);
  record.StartCount = 1;
  record.ColorChoice = 0;
  record.Reserved = 0;
  return record;
}

}  // namespace

SettingsFileState LoadSettings(const std::string& programFolder, SettingsRecord& record,
                               const WindowGeometry& geometry, const PositionCheck& onAnyMonitor) {
  BinaryFile file = OpenBinaryFile(programFolder + kSettingsFileName);
  const SettingsFileState state =
      file.length() == 0 ? SettingsFileState::Empty : SettingsFileState::Written;
  if (state == SettingsFileState::Empty) {
    file.close();
    record = NewRecord(record, geometry);
  } else {
    SettingsBytes bytes{};
    file.seek(0);
    const std::size_t got = file.read(bytes.data(), bytes.size());
    file.close();
    record = DecodeSettings(bytes.data(), got);
    const bool counted = record.StartCount < 20;
    if (counted) ++record.StartCount;
    // A short record is completed even when the count no longer changes.
    if (counted || got < kSettingsRecordSize) SaveSettings(programFolder, record);
  }

  if (record.ColorChoice < 0 || record.ColorChoice > 3) record.ColorChoice = 1;
  if (record.WindowTop > geometry.screenHeight - 1000 ||
      record.WindowLeft > geometry.screenWidth - 1000) {
    CentreWindow(record, geometry);
    SaveSettings(programFolder, record);
  }
  if (record.WindowTop == 0 && record.WindowLeft == 0) {
    CentreWindow(record, geometry);
    SaveSettings(programFolder, record);
  }
  if (onAnyMonitor && !onAnyMonitor(record)) {
    CentreWindow(record, geometry);
    SaveSettings(programFolder, record);
  }
  if (record.FontChoice < 0 || record.FontChoice > 1) {
    record.FontChoice = 0;
    SaveSettings(programFolder, record);
  }
  return state;
}

}  // namespace tw::store
