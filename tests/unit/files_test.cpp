// Typewell.ini and Forms.dat byte for byte: what every length and content loads as, and what the
// file holds afterwards.
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

TEST(EntryFile, EveryLengthLoadsWhatItHoldsAndAnEditCompletesItKeepingEveryByte) {
  // Slots 0 and 59 full to the last byte, so that every cut falls inside text; slot 30 with
  // blanks before, zero bytes and blanks after; slot 31 with every byte above 127 and a zero.
  std::string full(12000, ' ');
  for (int i = 0; i < 200; ++i) {
    full[i] = static_cast<char>('0' + i % 10);
    full[11800 + i] = static_cast<char>('a' + i % 26);
    full[6200 + i] = static_cast<char>(i < 128 ? 128 + i : i == 128 ? 0 : 'x');
  }
  full.replace(6000, 12, std::string("  middle\0\0 \0", 12));
  for (int i = 0; i < 988000; ++i) full += static_cast<char>(i * 7 % 256);
  const std::string digits = full.substr(0, 200), letters = full.substr(11800, 200),
                    high = full.substr(6200, 200);
  struct Case {
    std::size_t size;
    std::string slot0, slot30, slot31, slot59;
  };
  const Case cases[] = {{0, "", "", "", ""},
                        {1, "0", "", "", ""},
                        {199, digits.substr(0, 199), "", "", ""},
                        {6005, digits, "  mid", "", ""},
                        {6210, digits, "  middle", high.substr(0, 10), ""},
                        {11999, digits, "  middle", high, letters.substr(0, 199)},
                        {12000, digits, "  middle", high, letters},
                        {1000000, digits, "  middle", high, letters}};
  for (const Case& c : cases) {
    SCOPED_TRACE("size " + std::to_string(c.size));
    const std::string file = full.substr(0, c.size);
    Running t(file);
    for (const auto& [slot, text] :
         {std::pair{0, c.slot0}, {30, c.slot30}, {31, c.slot31}, {59, c.slot59}}) {
      EXPECT_EQ(t.view.entries[slot].text, text) << slot;
      EXPECT_EQ(t.view.entries[slot].insertEnabled, !text.empty()) << slot;
    }
    // Loading leaves a file alone, except that a missing or empty one gets 60 blank records.
    EXPECT_EQ(t.Entries(), file.empty() ? std::string(12000, ' ') : file);
    t.app.OnEntryLabelReleased(1);
    t.Type("edited");
    t.app.OnPageTabReleased(0);
    std::string padded = file.size() < 12000 ? file + std::string(12000 - file.size(), ' ') : file;
    // Zero bytes behind a text are rewritten as blanks.
    EXPECT_EQ(t.Entries(), WithEntry(WithEntry(padded, 1, "edited"), 30, c.slot30));
  }
}

}  // namespace
}  // namespace tw::test
