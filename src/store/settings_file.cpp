#include "store/settings_file.h"

#include "store/binary_file.h"

namespace tw::store {

namespace {
void put(SettingsBytes& bytes, std::size_t at, std::int16_t value) {
  const auto u = static_cast<std::uint16_t>(value);
  bytes[at] = static_cast<std::uint8_t>(u & 0xFF);
  bytes[at + 1] = static_cast<std::uint8_t>(u >> 8);
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

}  // namespace tw::store
