// Typewell.ini byte for byte: what every length and content loads as, and what the file holds
// afterwards. (Forms.dat of every length is the fuzzer's: fuzz/entry_file_fuzz.cpp.)
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "test_support.h"

namespace tw::test {
namespace {

std::string Hex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

std::string Numbers(const store::SettingsRecord& r) {
  std::ostringstream out;
  out << r.fontChoice << ' ' << r.windowTop << ' ' << r.windowLeft << ' ' << r.colourChoice << ' '
      << r.reserved << ' ' << r.startCount;
  return out.str();
}

// A 1280 × 1024 pixel screen and the main window's layout size: the centre is top 4182 (56 10
// in the file), left 8157 (DD 1F).
constexpr store::WindowGeometry kScreen{19200, 15360, 2886, 6996};

TEST(SettingsFile, EveryLengthAndExtremeValueLoadsAndIsCorrectedAsDefined) {
  // The file, the record loaded; "kept": the file is left as it was, else it holds the loaded
  // record and the bytes beyond it; "off": the stored place is on no monitor. A first start
  // writes nothing; 0/0 or a place off the screen is centred; a colour beyond the four is green.
  std::istringstream cases(
      "=0 4182 8157 0 0 1 kept;01=1 4182 8157 0 0 1;0100B0=1 176 0 0 0 1;"
      "0100B004B8=1 1200 184 0 0 1;0100B004B80B03=1 1200 3000 3 0 1;"
      "0100B004B80B0300000005=1 1200 3000 3 0 6;0100B004B80B0300000014=1 1200 3000 3 0 20;"
      "0100B004B80B03000000050077=1 1200 3000 3 0 6;0200B004B80B030000001400=0 1200 3000 3 0 20;"
      "0080B004B80B030000000500=0 1200 3000 3 0 6;0100FF7FB80B030000000500=1 4182 8157 3 0 6;"
      "01000080B80B030000000500=1 -32768 3000 3 0 6;0100B0040080030000000500=1 1200 -32768 3 0 6;"
      "010018381847030000001400=1 14360 18200 3 0 20;01001938B80B030000001400=1 4182 8157 3 0 20;"
      "0100B0041947030000001400=1 4182 8157 3 0 20;01000000B80B030000001400=1 0 3000 3 0 20;"
      "0100B004B80B030000001400=1 4182 8157 3 0 20 off;"
      "0100B004B80B040000001400=1 1200 3000 1 0 20 kept;"
      "0100B004B80BFF7F00801400=1 1200 3000 1 -32768 20 kept;"
      "0100B004B80B03000000FF7F=1 1200 3000 3 0 32767;"
      "0100B004B80B030000000080=1 1200 3000 3 0 -32767;FFFFFFFFFFFFFFFFFFFFFFFF=0 -1 -1 1 -1 0;");
  for (std::string c; std::getline(cases, c, ';');) {
    TempFolder folder;
    const fs::path path = folder.File("Typewell.ini");
    const std::string file = Hex(c.substr(0, c.find('=')));
    WriteFile(path, file);
    store::SettingsRecord r{};
    const auto state = store::LoadSettings(path.wstring(), r, kScreen,
                                           [&](const auto&) { return !c.ends_with(" off"); });
    EXPECT_EQ(state,
              file.empty() ? store::SettingsFileState::Empty : store::SettingsFileState::Written);
    const std::string got = c.substr(0, c.find('=') + 1) + Numbers(r);
    EXPECT_TRUE(c == got || c == got + " kept" || c == got + " off") << got;
    const std::string beyond = file.size() > 12 ? file.substr(12) : "";
    EXPECT_EQ(ReadFile(path), c.ends_with(" kept") ? file : SettingsBytes(r) + beyond) << c;
  }
}

}  // namespace
}  // namespace tw::test
