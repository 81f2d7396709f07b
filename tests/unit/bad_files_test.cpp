// Damaged, odd and protected files in the program folder: Forms.dat of every awkward size and
// content, a protected or hidden file, a folder in its place, and Typewell.ini of every length
// from 0 to 13 bytes and with the extreme value of each field. Each case has one defined
// outcome: what loads, and what the file holds afterwards. Nothing readable is ever lost.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/entries.h"
#include "store/binary_file.h"
#include "store/file_error.h"
#include "store/settings_file.h"
#include "test_support.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace tw {
namespace {

using test::ReadFile;
using test::WriteFile;

// --- Forms.dat ------------------------------------------------------------------------------

// Slot 0 and slot 59 filled to the last byte, so that every cut of the file falls inside text;
// slot 30 with blanks on both sides.
std::string FullEntryFile() {
  std::string bytes(12000, ' ');
  for (int i = 0; i < 200; ++i) {
    bytes[i] = static_cast<char>('0' + i % 10);
    bytes[11800 + i] = static_cast<char>('a' + i % 26);
  }
  bytes.replace(6000, 10, "  middle  ");
  return bytes;
}

std::string Blanks(std::size_t n) {
  return std::string(n, ' ');
}

class BadEntryFileTest : public ::testing::Test {
 protected:
  test::TestApp t;
  core::MainWindow& main = t.app.main;

  std::string caption(int slot) const { return main.Names[slot]->caption(); }
  // Every "Insert" button is enabled exactly when its label holds text.
  void expectButtonsFollowCaptions() const {
    for (int s = 0; s < 60; ++s) {
      EXPECT_EQ(main.FillBtn[s]->enabled(), !main.Names[s]->caption().empty()) << "slot " << s;
    }
  }
};

struct SizeCase {
  std::size_t size;
  std::string slot0, slot30, slot59;
};

TEST_F(BadEntryFileTest, EveryFileSizeLoadsWhatItHoldsAndASaveCompletesItWithoutLosingBytes) {
  const std::string full = FullEntryFile();
  const std::string digits = full.substr(0, 200), letters = full.substr(11800, 200);
  const std::vector<SizeCase> cases = {
      {1, "0", "", ""},
      {199, digits.substr(0, 199), "", ""},
      {200, digits, "", ""},
      {6005, digits, "  mid", ""},
      {11999, digits, "  middle", letters.substr(0, 199)},
      {12000, digits, "  middle", letters},
  };
  for (const SizeCase& c : cases) {
    SCOPED_TRACE("size " + std::to_string(c.size));
    const std::string file = full.substr(0, c.size);
    WriteFile(t.entryFile(), file);
    core::LoadEntries(t.app);
    EXPECT_EQ(caption(0), c.slot0);
    EXPECT_EQ(caption(30), c.slot30);
    EXPECT_EQ(caption(59), c.slot59);
    EXPECT_EQ(caption(1), "");
    expectButtonsFollowCaptions();
    EXPECT_EQ(ReadFile(t.entryFile()), file) << "a short file is left as it is by loading";
    core::SaveEntries(t.app);
    EXPECT_EQ(ReadFile(t.entryFile()), file + Blanks(12000 - c.size));
  }
}

TEST_F(BadEntryFileTest, LongFilesKeepEveryByteBeyondTheRecords) {
  for (const std::size_t size : {std::size_t{12001}, std::size_t{1000000}}) {
    SCOPED_TRACE("size " + std::to_string(size));
    std::string file = FullEntryFile();
    for (std::size_t i = file.size(); i < size; ++i) file += static_cast<char>(i * 7 % 256);
    WriteFile(t.entryFile(), file);
    core::LoadEntries(t.app);
    EXPECT_EQ(caption(59), file.substr(11800, 200));
    main.Names[1]->setCaption("edited");
    core::SaveEntries(t.app);
    std::string expected = file;
    expected.replace(200, 6, "edited");
    EXPECT_EQ(ReadFile(t.entryFile()), expected);
  }
}

TEST_F(BadEntryFileTest, EmptyFileBecomes60BlankRecords) {
  WriteFile(t.entryFile(), "");
  core::LoadEntries(t.app);
  EXPECT_EQ(ReadFile(t.entryFile()), Blanks(12000));
  expectButtonsFollowCaptions();
  EXPECT_FALSE(main.FillBtn[0]->enabled());
}

TEST_F(BadEntryFileTest, HighBytesAndInnerNulsAreTextTrailingNulsArePadding) {
  std::string high;
  for (int b = 0x80; b <= 0xFF; ++b) high += static_cast<char>(b);
  const std::string nulInside("a\0b", 3);
  const std::string highThenBlank = "\xA0 x \xA0";  // a no-break space is not a blank
  std::string file = test::EntryFileWith({{2, high}, {5, highThenBlank}});
  file.replace(600, 200, nulInside + std::string(197, '\0'));  // slot 3: zero bytes behind
  file.replace(800, 200, std::string(200, '\0'));              // slot 4
  WriteFile(t.entryFile(), file);

  core::LoadEntries(t.app);
  EXPECT_EQ(caption(2), high);
  EXPECT_EQ(caption(3), nulInside);
  EXPECT_EQ(caption(4), "");
  EXPECT_EQ(caption(5), highThenBlank);
  expectButtonsFollowCaptions();
  EXPECT_TRUE(main.FillBtn[3]->enabled());
  core::SaveEntries(t.app);
  EXPECT_EQ(ReadFile(t.entryFile()),
            test::EntryFileWith({{2, high}, {3, nulInside}, {5, highThenBlank}}));
}

TEST_F(BadEntryFileTest, AFolderInPlaceOfTheFileIsAnErrorNamingItAndNothingIsLoaded) {
  std::filesystem::create_directory(t.entryFile());
  main.Names[0]->setCaption("before");
  try {
    core::LoadEntries(t.app);
    FAIL() << "a folder loaded as Forms.dat";
  } catch (const store::FileError& e) {
    EXPECT_EQ(e.path(), t.entryFile());
    EXPECT_FALSE(e.reason().empty());
  }
  EXPECT_EQ(caption(0), "before");
  EXPECT_TRUE(std::filesystem::is_directory(t.entryFile()));
}

TEST_F(BadEntryFileTest, ReadOnlyFileLoadsAndIsMadeWritableForTheNextSave) {
  const std::string file = test::EntryFileWith({{9, "protected"}});
  WriteFile(t.entryFile(), file);
  std::filesystem::permissions(t.entryFile(),
                               std::filesystem::perms::owner_write |
                                   std::filesystem::perms::group_write |
                                   std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  core::LoadEntries(t.app);
  EXPECT_EQ(caption(9), "protected");
  EXPECT_EQ(ReadFile(t.entryFile()), file);
  EXPECT_NE(
      std::filesystem::status(t.entryFile()).permissions() & std::filesystem::perms::owner_write,
      std::filesystem::perms::none);
  main.Names[9]->setCaption("changed");
  core::SaveEntries(t.app);
  EXPECT_EQ(ReadFile(t.entryFile()), test::EntryFileWith({{9, "changed"}}));
}

#ifdef _WIN32
DWORD AttributesOf(const std::string& path) {
  return GetFileAttributesA(path.c_str());
}
void AddAttributes(const std::string& path, DWORD attributes) {
  ASSERT_NE(SetFileAttributesA(path.c_str(), AttributesOf(path) | attributes), 0);
}

// A hidden file is not an ordinary file: it keeps its attributes, and is still read and written.
TEST_F(BadEntryFileTest, HiddenFileKeepsItsAttributesAndIsReadAndWritten) {
  WriteFile(t.entryFile(), test::EntryFileWith({{0, "hidden"}}));
  AddAttributes(t.entryFile(), FILE_ATTRIBUTE_HIDDEN);
  core::LoadEntries(t.app);
  EXPECT_EQ(caption(0), "hidden");
  main.Names[0]->setCaption("seen");
  core::SaveEntries(t.app);
  EXPECT_EQ(ReadFile(t.entryFile()), test::EntryFileWith({{0, "seen"}}));
  EXPECT_NE(AttributesOf(t.entryFile()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

// Hidden and read-only: the attributes are not cleared, so the file stays read-only. Where the
// system refuses to open it for writing (Windows) the load fails with the file's name; where it
// lets the writer through (Wine run by root) the file loads. Either way the file and its
// attributes are untouched.
TEST_F(BadEntryFileTest, HiddenReadOnlyFileKeepsItsAttributesAndItsBytes) {
  const std::string file = test::EntryFileWith({{0, "locked away"}});
  WriteFile(t.entryFile(), file);
  AddAttributes(t.entryFile(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
  std::FILE* probe = std::fopen(t.entryFile().c_str(), "r+b");
  const bool writable = probe != nullptr;
  if (probe != nullptr) std::fclose(probe);

  if (writable) {
    core::LoadEntries(t.app);
    EXPECT_EQ(caption(0), "locked away");
  } else {
    EXPECT_THROW(core::LoadEntries(t.app), store::FileError);
  }
  const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY;
  EXPECT_EQ(AttributesOf(t.entryFile()) & kept, kept);
  SetFileAttributesA(t.entryFile().c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadFile(t.entryFile()), file);
}
// Held open without sharing by another program (the same kind of handle from this process stands
// for it): loading and saving fail with the file's name and leave its bytes alone; once it is
// released both work again.
TEST_F(BadEntryFileTest, FileHeldOpenWithoutSharingIsAnErrorUntilReleased) {
  const std::string file = test::EntryFileWith({{6, "held"}});
  WriteFile(t.entryFile(), file);
  HANDLE holder = CreateFileA(t.entryFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_THROW(core::LoadEntries(t.app), store::FileError);
  EXPECT_EQ(caption(6), "");
  main.Names[6]->setCaption("typed meanwhile");
  EXPECT_THROW(core::SaveEntries(t.app), store::FileError);
  CloseHandle(holder);
  EXPECT_EQ(ReadFile(t.entryFile()), file);

  core::SaveEntries(t.app);
  EXPECT_EQ(ReadFile(t.entryFile()), test::EntryFileWith({{6, "typed meanwhile"}}));
}
#else
// Natively a name beginning with a dot stands for a hidden file: its permissions are left alone.
TEST(BadFileAttributes, HiddenFileKeepsItsPermissions) {
  test::TempFolder folder;
  const std::string path = folder.file(".Forms.dat");
  WriteFile(path, "x");
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  {
    store::BinaryFile file = store::OpenBinaryFile(path);
    file.close();
  }
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0444u);
}
#endif

// --- Typewell.ini ---------------------------------------------------------------------------

// 1280 × 1024 pixels and the main window's outer size; the centre is top 4182 (10 56 in the
// file), left 8157 (1F DD).
constexpr store::WindowGeometry kScreen{19200, 15360, 2886, 6996};

std::string Hex(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 3) {
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  }
  return bytes;
}

struct SettingsCase {
  const char* name;
  const char* file;  // hex
  store::SettingsRecord loaded;
  const char* after = nullptr;  // hex; by default the loaded record and the bytes beyond it
};

class BadSettingsFileTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  std::string path = folder.file("Typewell.ini");

  void check(const SettingsCase& c) {
    SCOPED_TRACE(c.name);
    const std::string file = Hex(c.file);
    WriteFile(path, file);
    store::SettingsRecord record{};
    const auto state = store::LoadSettings(folder.withSeparator(), record, kScreen,
                                           [](const store::SettingsRecord&) { return true; });
    EXPECT_EQ(state,
              file.empty() ? store::SettingsFileState::Empty : store::SettingsFileState::Written);
    EXPECT_EQ(record, c.loaded);
    const std::string beyond = file.size() > 12 ? file.substr(12) : "";
    EXPECT_EQ(ReadFile(path),
              c.after != nullptr ? Hex(c.after) : test::SettingsBytes(c.loaded) + beyond);
  }
};

// The example record 01 00 B0 04 B8 0B 03 00 00 00 05 00 and one byte more, cut to every length:
// the bytes there are count, the rest read as zero, and the count's save completes the record.
TEST_F(BadSettingsFileTest, EveryLengthFrom0To13Bytes) {
  const SettingsCase cases[] = {
      {"0 bytes: a first start, nothing written", "", {0, 4182, 8157, 0, 0, 1}, ""},
      {"1 byte: bold, position 0/0 centred", "01", {1, 4182, 8157, 0, 0, 1}},
      {"2 bytes", "01 00", {1, 4182, 8157, 0, 0, 1}},
      {"3 bytes: top 176", "01 00 B0", {1, 176, 0, 0, 0, 1}},
      {"4 bytes: top 1200", "01 00 B0 04", {1, 1200, 0, 0, 0, 1}},
      {"5 bytes: left 184", "01 00 B0 04 B8", {1, 1200, 184, 0, 0, 1}},
      {"6 bytes: left 3000", "01 00 B0 04 B8 0B", {1, 1200, 3000, 0, 0, 1}},
      {"7 bytes: yellow", "01 00 B0 04 B8 0B 03", {1, 1200, 3000, 3, 0, 1}},
      {"8 bytes", "01 00 B0 04 B8 0B 03 00", {1, 1200, 3000, 3, 0, 1}},
      {"9 bytes", "01 00 B0 04 B8 0B 03 00 00", {1, 1200, 3000, 3, 0, 1}},
      {"10 bytes", "01 00 B0 04 B8 0B 03 00 00 00", {1, 1200, 3000, 3, 0, 1}},
      {"11 bytes: count 5", "01 00 B0 04 B8 0B 03 00 00 00 05", {1, 1200, 3000, 3, 0, 6}},
      {"11 bytes: count 20 stays, the record is completed",
       "01 00 B0 04 B8 0B 03 00 00 00 14",
       {1, 1200, 3000, 3, 0, 20}},
      {"12 bytes: the example", "01 00 B0 04 B8 0B 03 00 00 00 05 00", {1, 1200, 3000, 3, 0, 6}},
      {"13 bytes: the byte after the record stays",
       "01 00 B0 04 B8 0B 03 00 00 00 05 00 77",
       {1, 1200, 3000, 3, 0, 6}},
  };
  for (const SettingsCase& c : cases) check(c);
}

// The example record with one field at its extreme: what loads, and what the file holds.
TEST_F(BadSettingsFileTest, ExtremeValueInEachField) {
  const SettingsCase cases[] = {
      {"font 32767 becomes normal and is written",
       "FF 7F B0 04 B8 0B 03 00 00 00 05 00",
       {0, 1200, 3000, 3, 0, 6},
       "00 00 B0 04 B8 0B 03 00 00 00 06 00"},
      {"font -32768", "00 80 B0 04 B8 0B 03 00 00 00 05 00", {0, 1200, 3000, 3, 0, 6}},
      {"top 32767 is centred",
       "01 00 FF 7F B8 0B 03 00 00 00 05 00",
       {1, 4182, 8157, 3, 0, 6},
       "01 00 56 10 DD 1F 03 00 00 00 06 00"},
      {"top -32768 is kept", "01 00 00 80 B8 0B 03 00 00 00 05 00", {1, -32768, 3000, 3, 0, 6}},
      {"left 32767 is centred", "01 00 B0 04 FF 7F 03 00 00 00 05 00", {1, 4182, 8157, 3, 0, 6}},
      {"left -32768 is kept", "01 00 B0 04 00 80 03 00 00 00 05 00", {1, 1200, -32768, 3, 0, 6}},
      {"colour 32767 shows green, the file keeps it",
       "01 00 B0 04 B8 0B FF 7F 00 00 05 00",
       {1, 1200, 3000, 1, 0, 6},
       "01 00 B0 04 B8 0B FF 7F 00 00 06 00"},
      {"colour -32768",
       "01 00 B0 04 B8 0B 00 80 00 00 05 00",
       {1, 1200, 3000, 1, 0, 6},
       "01 00 B0 04 B8 0B 00 80 00 00 06 00"},
      {"reserved 32767 is carried",
       "01 00 B0 04 B8 0B 03 00 FF 7F 05 00",
       {1, 1200, 3000, 3, 32767, 6}},
      {"reserved -32768 is carried",
       "01 00 B0 04 B8 0B 03 00 00 80 05 00",
       {1, 1200, 3000, 3, -32768, 6}},
      {"count 32767 stays, nothing written",
       "01 00 B0 04 B8 0B 03 00 00 00 FF 7F",
       {1, 1200, 3000, 3, 0, 32767}},
      {"count -32768 counts up",
       "01 00 B0 04 B8 0B 03 00 00 00 00 80",
       {1, 1200, 3000, 3, 0, -32767},
       "01 00 B0 04 B8 0B 03 00 00 00 01 80"},
      {"every byte FF",
       "FF FF FF FF FF FF FF FF FF FF FF FF",
       {0, -1, -1, 1, -1, 0},
       "00 00 FF FF FF FF 01 00 FF FF 00 00"},
      {"every field -32768",
       "00 80 00 80 00 80 00 80 00 80 00 80",
       {0, -32768, -32768, 1, -32768, -32767}},
      {"every field 32767",
       "FF 7F FF 7F FF 7F FF 7F FF 7F FF 7F",
       {0, 4182, 8157, 1, 32767, 32767},
       "00 00 56 10 DD 1F 01 00 FF 7F FF 7F"},
  };
  for (const SettingsCase& c : cases) check(c);
}

}  // namespace
}  // namespace tw
