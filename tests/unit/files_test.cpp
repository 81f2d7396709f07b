// Typewell.ini and Forms.dat byte for byte: what every length and content loads as, what the file
// holds afterwards.
#include <gtest/gtest.h>

#include <string>

#include "store/settings_file.h"
#include "test_support.h"

namespace tw::test {
namespace {

std::string Hex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 3)
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

// A 1280 × 1024 pixel screen and the main window's outer size: the centre is top 4182 (56 10
// in the file), left 8157 (DD 1F).
constexpr store::WindowGeometry kScreen{19200, 15360, 2886, 6996};

TEST(SettingsFile, EveryLengthAndExtremeValueLoadsAndIsCorrectedAsDefined) {
  struct Case {
    const char* file;  // hex
    store::SettingsRecord loaded;
    bool fileKept = false;  // else the file holds the loaded record and the bytes beyond it
    bool onMonitor = true;
  };
  // A first start writes nothing; 0/0 or a place off the screen is centred; a colour beyond
  // the four is green.
  const Case cases[] = {
      {"", {0, 4182, 8157, 0, 0, 1}, true},
      {"01", {1, 4182, 8157, 0, 0, 1}},
      {"01 00 B0", {1, 176, 0, 0, 0, 1}},
      {"01 00 B0 04 B8", {1, 1200, 184, 0, 0, 1}},
      {"01 00 B0 04 B8 0B 03", {1, 1200, 3000, 3, 0, 1}},
      {"01 00 B0 04 B8 0B 03 00 00 00 05", {1, 1200, 3000, 3, 0, 6}},
      {"01 00 B0 04 B8 0B 03 00 00 00 14", {1, 1200, 3000, 3, 0, 20}},
      {"01 00 B0 04 B8 0B 03 00 00 00 05 00 77", {1, 1200, 3000, 3, 0, 6}},
      {"02 00 B0 04 B8 0B 03 00 00 00 14 00", {0, 1200, 3000, 3, 0, 20}},
      {"00 80 B0 04 B8 0B 03 00 00 00 05 00", {0, 1200, 3000, 3, 0, 6}},
      {"01 00 FF 7F B8 0B 03 00 00 00 05 00", {1, 4182, 8157, 3, 0, 6}},
      {"01 00 00 80 B8 0B 03 00 00 00 05 00", {1, -32768, 3000, 3, 0, 6}},
      {"01 00 B0 04 00 80 03 00 00 00 05 00", {1, 1200, -32768, 3, 0, 6}},
      {"01 00 18 38 18 47 03 00 00 00 14 00", {1, 14360, 18200, 3, 0, 20}},
      {"01 00 19 38 B8 0B 03 00 00 00 14 00", {1, 4182, 8157, 3, 0, 20}},
      {"01 00 B0 04 19 47 03 00 00 00 14 00", {1, 4182, 8157, 3, 0, 20}},
      {"01 00 00 00 B8 0B 03 00 00 00 14 00", {1, 0, 3000, 3, 0, 20}},
      {"01 00 B0 04 B8 0B 03 00 00 00 14 00", {1, 4182, 8157, 3, 0, 20}, false, false},
      {"01 00 B0 04 B8 0B 04 00 00 00 14 00", {1, 1200, 3000, 1, 0, 20}, true},
      {"01 00 B0 04 B8 0B FF 7F 00 80 14 00", {1, 1200, 3000, 1, -32768, 20}, true},
      {"01 00 B0 04 B8 0B 03 00 00 00 FF 7F", {1, 1200, 3000, 3, 0, 32767}},
      {"01 00 B0 04 B8 0B 03 00 00 00 00 80", {1, 1200, 3000, 3, 0, -32767}},
      {"FF FF FF FF FF FF FF FF FF FF FF FF", {0, -1, -1, 1, -1, 0}},

  };
  for (const Case& c : cases) {
    TempFolder folder;
    const std::string path = folder.file("Typewell.ini"), file = Hex(c.file);
    WriteFile(path, file);
    store::SettingsRecord record{};
    const auto state =
        store::LoadSettings(folder.withSeparator(), record, kScreen,
                            [&](const store::SettingsRecord&) { return c.onMonitor; });
    EXPECT_EQ(state,
              file.empty() ? store::SettingsFileState::Empty : store::SettingsFileState::Written);
    EXPECT_EQ(record, c.loaded) << c.file;
    const std::string beyond = file.size() > 12 ? file.substr(12) : "";
    EXPECT_EQ(ReadFile(path), c.fileKept ? file : SettingsBytes(c.loaded) + beyond) << c.file;
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
      EXPECT_EQ(t.main.Names[slot]->caption(), text) << slot;
      EXPECT_EQ(t.main.FillBtn[slot]->enabled(), !text.empty()) << slot;
    }
    // Loading leaves a file alone, except that a missing or empty one gets 60 blank records.
    EXPECT_EQ(ReadFile(t.entryFile()), file.empty() ? std::string(12000, ' ') : file);
    t.input.click(*t.main.Names[1]);
    t.main.Gettext->nativeTextChanged("edited");
    t.input.click(*t.main.Page[0]);
    std::string padded = file.size() < 12000 ? file + std::string(12000 - file.size(), ' ') : file;
    // Zero bytes behind a text are rewritten as blanks.
    EXPECT_EQ(ReadFile(t.entryFile()), WithEntry(WithEntry(padded, 1, "edited"), 30, c.slot30));
  }
}

}  // namespace
}  // namespace tw::test
