// Typewell.ini byte for byte: the record's layout, the first start, the start count and every
// correction of an out-of-range value, in the order the load applies them.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "store/file_error.h"
#include "store/settings_file.h"
#include "test_support.h"

namespace tw {
namespace {

using store::SettingsFileState;
using store::SettingsRecord;
using test::ReadFile;
using test::WriteFile;

// 1280 × 1024 pixels; the main window at its layout size (client 2796 × 6576 in a headless
// frame), centred at (19200 − 2886) / 2 = 8157 and (15360 − 6996) / 2 = 4182.
constexpr store::WindowGeometry kScreen{19200, 15360, 2886, 6996};
constexpr std::int16_t kCentreLeft = 8157;
constexpr std::int16_t kCentreTop = 4182;

using test::SettingsBytes;

SettingsRecord Record(std::int16_t font, std::int16_t top, std::int16_t left, std::int16_t colour,
                      std::int16_t reserved, std::int16_t starts) {
  return SettingsRecord{font, top, left, colour, reserved, starts};
}

class SettingsFileTest : public ::testing::Test {
 protected:
  test::TempFolder folder;
  std::string path = folder.file("Typewell.ini");
  SettingsRecord record{};
  bool reachable = true;
  int positionChecks = 0;

  SettingsFileState Load(const store::WindowGeometry& geometry = kScreen) {
    return store::LoadSettings(folder.withSeparator(), record, geometry,
                               [this](const SettingsRecord&) {
                                 ++positionChecks;
                                 return reachable;
                               });
  }
  // Loads a file holding r and returns what the file holds afterwards.
  std::string LoadFrom(const SettingsRecord& r) {
    WriteFile(path, SettingsBytes(r));
    EXPECT_EQ(Load(), SettingsFileState::Written);
    return ReadFile(path);
  }
};

TEST_F(SettingsFileTest, RecordIsSixLittleEndianWordsInTheGivenOrder) {
  const std::string example("\x01\x00\xB0\x04\xB8\x0B\x03\x00\x00\x00\x05\x00", 12);
  const SettingsRecord r = Record(1, 1200, 3000, 3, 0, 5);
  EXPECT_EQ(SettingsBytes(r), example);
  EXPECT_EQ(store::DecodeSettings(reinterpret_cast<const std::uint8_t*>(example.data()), 12), r);
  EXPECT_EQ(SettingsBytes(Record(-1, -32768, 32767, 0, -2, 0)),
            std::string("\xFF\xFF\x00\x80\xFF\x7F\x00\x00\xFE\xFF\x00\x00", 12));

  // A save writes the 12 bytes at the start and leaves bytes beyond them in place.
  WriteFile(path, std::string(12, 'x') + "tail");
  store::SaveSettings(folder.withSeparator(), r);
  EXPECT_EQ(ReadFile(path), example + "tail");
}

TEST_F(SettingsFileTest, FirstStartCreatesAnEmptyFileAndANewCentredRecordWithoutWriting) {
  EXPECT_EQ(Load(), SettingsFileState::Empty);
  EXPECT_TRUE(test::Exists(path));
  EXPECT_EQ(ReadFile(path), "");
  EXPECT_EQ(record, Record(0, kCentreTop, kCentreLeft, 0, 0, 1));

  // It stays empty, so the next start is a first start again.
  record = {};
  EXPECT_EQ(Load(), SettingsFileState::Empty);
  EXPECT_EQ(ReadFile(path), "");
  EXPECT_EQ(record.StartCount, 1);
}

TEST_F(SettingsFileTest, StartCountRisesAndIsWrittenUntil20) {
  for (const std::int16_t stored : {0, 8, 9, 19, -5}) {
    const SettingsRecord r = Record(1, 1200, 3000, 3, 0, stored);
    SettingsRecord expected = r;
    expected.StartCount = static_cast<std::int16_t>(stored + 1);
    EXPECT_EQ(LoadFrom(r), SettingsBytes(expected)) << stored;
    EXPECT_EQ(record, expected) << stored;
  }
  for (const std::int16_t stored : {20, 21, 32767}) {
    const SettingsRecord r = Record(1, 1200, 3000, 3, 0, stored);
    EXPECT_EQ(LoadFrom(r), SettingsBytes(r)) << stored;
    EXPECT_EQ(record.StartCount, stored);
  }
}

TEST_F(SettingsFileTest, ReservedAndBytesBeyondTheRecordAreCarriedThrough) {
  WriteFile(path, SettingsBytes(Record(1, 1200, 3000, 3, -12345, 5)) + "more");
  Load();
  EXPECT_EQ(record.Reserved, -12345);
  EXPECT_EQ(ReadFile(path), SettingsBytes(Record(1, 1200, 3000, 3, -12345, 6)) + "more");
}

TEST_F(SettingsFileTest, ColourOutOfRangeShowsGreenButReachesTheFileOnlyWithTheNextSave) {
  for (const std::int16_t stored : {9, 4, -1}) {
    const std::string after = LoadFrom(Record(0, 1200, 3000, stored, 0, 20));
    EXPECT_EQ(record.ColorChoice, 1) << stored;
    EXPECT_EQ(after, SettingsBytes(Record(0, 1200, 3000, stored, 0, 20))) << stored;
  }
  // The count's save stores the record as read, colour included.
  EXPECT_EQ(LoadFrom(Record(0, 1200, 3000, 9, 0, 3)),
            SettingsBytes(Record(0, 1200, 3000, 9, 0, 4)));
  // A later save of any kind writes the corrected colour.
  store::SaveSettings(folder.withSeparator(), record);
  EXPECT_EQ(ReadFile(path), SettingsBytes(Record(0, 1200, 3000, 1, 0, 4)));
}

TEST_F(SettingsFileTest, FontOutOfRangeBecomesNormalAndIsWritten) {
  EXPECT_EQ(LoadFrom(Record(2, 1200, 3000, 9, 7, 20)),
            SettingsBytes(Record(0, 1200, 3000, 1, 7, 20)));
  EXPECT_EQ(record.FontChoice, 0);
  EXPECT_EQ(LoadFrom(Record(-1, 1200, 3000, 0, 0, 20)),
            SettingsBytes(Record(0, 1200, 3000, 0, 0, 20)));
}

// Centred only when both are zero, or when the window would start within 1000 twips of the
// screen's right or bottom edge; negative positions on a monitor stay.
TEST_F(SettingsFileTest, PositionAtTheOriginOrBeyondTheScreenEdgeLess1000TwipsIsCentred) {
  constexpr std::int16_t maxLeft = 19200 - 1000, maxTop = 15360 - 1000;
  struct Case {
    std::int16_t top, left;
    bool centred;
  };
  const Case cases[] = {{0, 0, true},
                        {0, 500, false},
                        {500, 0, false},
                        {maxTop, maxLeft, false},
                        {300, maxLeft + 1, true},
                        {maxTop + 1, 300, true},
                        {-200, -3000, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.top << "/" << c.left);
    const SettingsRecord stored = Record(1, c.top, c.left, 2, 0, 20);
    EXPECT_EQ(LoadFrom(stored),
              SettingsBytes(c.centred ? Record(1, kCentreTop, kCentreLeft, 2, 0, 20) : stored));
  }
}

TEST_F(SettingsFileTest, PositionOnNoMonitorIsCentredAndWritten) {
  reachable = false;
  EXPECT_EQ(LoadFrom(Record(0, -9000, -20000, 0, 0, 20)),
            SettingsBytes(Record(0, kCentreTop, kCentreLeft, 0, 0, 20)));
  EXPECT_GT(positionChecks, 0);
}

TEST_F(SettingsFileTest, CentreRoundsHalvesToTheEvenTwipAndKeepsWhatDoesNotFit16Bits) {
  SettingsRecord r = Record(0, 11, 22, 0, 0, 0);
  store::CentreWindow(r, {19201, 15361, 2886, 6996});  // 8157.5 and 4182.5
  EXPECT_EQ(r.WindowLeft, 8158);
  EXPECT_EQ(r.WindowTop, 4182);
  store::CentreWindow(r, {19203, 15363, 2886, 6996});  // 8158.5 and 4183.5
  EXPECT_EQ(r.WindowLeft, 8158);
  EXPECT_EQ(r.WindowTop, 4184);
  store::CentreWindow(r, {19202.6f, 15360, 2886, 6996});  // 8158.3
  EXPECT_EQ(r.WindowLeft, 8158);

  // A screen of 6000 pixels: the left would be 43557 and stays as it was; the top fits.
  store::CentreWindow(r, {90000, 15360, 2886, 6996});
  EXPECT_EQ(r.WindowLeft, 8158);
  EXPECT_EQ(r.WindowTop, 4182);
}

TEST_F(SettingsFileTest, AFileThatCannotBeOpenedThrowsWithItsPath) {
  test::TempFolder other;
  const std::string missingFolder = other.withSeparator() + "gone" + "/";
  try {
    store::LoadSettings(missingFolder, record, kScreen, nullptr);
    FAIL() << "no error";
  } catch (const store::FileError& e) {
    EXPECT_EQ(e.path(), missingFolder + "Typewell.ini");
    EXPECT_FALSE(e.reason().empty());
  }
}

}  // namespace
}  // namespace tw
