// Forms.dat byte for byte: creation, loading, whole rewrites and single records.
#include <gtest/gtest.h>

#include "app/entries.h"
#include "store/binary_file.h"
#include "store/entry_file.h"
#include "test_support.h"

namespace tw {
namespace {

using test::EntryFileWith;
using test::ReadFile;
using test::WriteFile;

class EntryFileTest : public ::testing::Test {
 protected:
  test::TestApp t;
  app::MainWindow& main = t.app.main;
};

TEST_F(EntryFileTest, MissingFileIsCreatedWith60BlankRecordsAndAllButtonsDisabled) {
  app::LoadEntries(t.app);
  EXPECT_EQ(ReadFile(t.entryFile()), std::string(12000, ' '));
  for (int s = 0; s < 60; ++s) {
    EXPECT_EQ(main.Names[s]->caption(), "") << s;
    EXPECT_FALSE(main.FillBtn[s]->enabled()) << s;
  }
}

TEST_F(EntryFileTest, EmptyFileIsFilledWithBlankRecords) {
  WriteFile(t.entryFile(), "");
  app::LoadEntries(t.app);
  EXPECT_EQ(ReadFile(t.entryFile()), std::string(12000, ' '));
}

TEST_F(EntryFileTest, LoadingStripsTrailingBlanksOnlyAndEnablesFilledSlots) {
  WriteFile(t.entryFile(),
            EntryFileWith(
                {{0, "abc"}, {1, "  abc"}, {2, "tab\t"}, {59, "last"}, {30, "line1\r\nline2"}}));
  app::LoadEntries(t.app);
  EXPECT_EQ(main.Names[0]->caption(), "abc");
  EXPECT_EQ(main.Names[1]->caption(), "  abc");
  EXPECT_EQ(main.Names[2]->caption(), "tab\t");
  EXPECT_EQ(main.Names[30]->caption(), "line1\r\nline2");
  EXPECT_EQ(main.Names[59]->caption(), "last");
  EXPECT_TRUE(main.FillBtn[0]->enabled());
  EXPECT_TRUE(main.FillBtn[59]->enabled());
  EXPECT_FALSE(main.FillBtn[3]->enabled());
}

TEST_F(EntryFileTest, EntryOf200CharactersRoundTripsWithoutPadding) {
  const std::string full(199, 'x');
  main.Names[7]->setCaption(full + "y");
  app::SaveEntries(t.app);
  const std::string bytes = ReadFile(t.entryFile());
  ASSERT_EQ(bytes.size(), 12000u);
  EXPECT_EQ(bytes.substr(1400, 200), full + "y");
  EXPECT_EQ(bytes.substr(1600, 200), std::string(200, ' '));
  app::LoadEntries(t.app);
  EXPECT_EQ(main.Names[7]->caption(), full + "y");
}

TEST_F(EntryFileTest, SavingRewritesFromLabelsAndChangesOnlyTheEditedRecord) {
  WriteFile(t.entryFile(), EntryFileWith({{0, "first"}, {37, "old"}}));
  app::LoadEntries(t.app);
  const std::string before = ReadFile(t.entryFile());
  main.Names[37]->setCaption("new text");
  app::SaveEntries(t.app);
  const std::string after = ReadFile(t.entryFile());
  ASSERT_EQ(after.size(), 12000u);
  EXPECT_EQ(after.substr(0, 7400), before.substr(0, 7400));
  EXPECT_EQ(after.substr(7400, 200), store::PadEntryRecord("new text"));
  EXPECT_EQ(after.substr(7600), before.substr(7600));
}

TEST_F(EntryFileTest, BytesBeyondTheRecordsAreKeptBySaves) {
  WriteFile(t.entryFile(), EntryFileWith({{1, "b"}}) + "TAIL");
  app::LoadEntries(t.app);
  EXPECT_EQ(main.Names[1]->caption(), "b");
  app::SaveEntries(t.app);
  const std::string bytes = ReadFile(t.entryFile());
  ASSERT_EQ(bytes.size(), 12004u);
  EXPECT_EQ(bytes.substr(12000), "TAIL");
}

TEST_F(EntryFileTest, ShortFileLoadsWhatItHoldsAndIsLeftAsItIs) {
  // One whole record, then a partial one: the rest reads as blank slots.
  const std::string shortFile = store::PadEntryRecord("kept") + "part";
  WriteFile(t.entryFile(), shortFile);
  app::LoadEntries(t.app);
  EXPECT_EQ(main.Names[0]->caption(), "kept");
  EXPECT_EQ(main.Names[1]->caption(), "part");
  EXPECT_EQ(main.Names[2]->caption(), "");
  EXPECT_FALSE(main.FillBtn[2]->enabled());
  EXPECT_EQ(ReadFile(t.entryFile()), shortFile);
  app::SaveEntries(t.app);
  EXPECT_EQ(ReadFile(t.entryFile()), EntryFileWith({{0, "kept"}, {1, "part"}}));
}

TEST_F(EntryFileTest, ReadOnlyFileIsMadeWritableAndWritten) {
  WriteFile(t.entryFile(), EntryFileWith({{4, "ro"}}));
  std::filesystem::permissions(t.entryFile(), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  app::LoadEntries(t.app);
  EXPECT_NE(
      std::filesystem::status(t.entryFile()).permissions() & std::filesystem::perms::owner_write,
      std::filesystem::perms::none);
  main.Names[4]->setCaption("rw");
  app::SaveEntries(t.app);
  EXPECT_EQ(ReadFile(t.entryFile()), EntryFileWith({{4, "rw"}}));
}

TEST_F(EntryFileTest, SingleRecordsAreWrittenAtTheirOffsetsOnly) {
  WriteFile(t.entryFile(), EntryFileWith({{3, "A"}}) + "XYZ");
  {
    store::BinaryFile file = store::OpenBinaryFile(t.entryFile());
    store::WriteEntryRecord(file, 3, "");
    store::WriteEntryRecord(file, 20, "A");
    file.close();
  }
  const std::string bytes = ReadFile(t.entryFile());
  EXPECT_EQ(bytes, EntryFileWith({{20, "A"}}) + "XYZ");
  EXPECT_EQ(bytes.substr(600, 200), std::string(200, ' '));
  EXPECT_EQ(bytes.substr(4000, 200), "A" + std::string(199, ' '));
}

TEST(EntryRecord, PaddingAndTrimming) {
  EXPECT_EQ(store::PadEntryRecord("abc"), "abc" + std::string(197, ' '));
  EXPECT_EQ(store::PadEntryRecord(std::string(250, 'z')), std::string(200, 'z'));
  EXPECT_EQ(store::TrimEntryRecord("  a b  "), "  a b");
  EXPECT_EQ(store::TrimEntryRecord(std::string(200, ' ')), "");
  EXPECT_EQ(store::TrimEntryRecord("x\t "), "x\t");
  EXPECT_EQ(store::TrimEntryRecord(std::string("\0\0 ", 3)), std::string("\0\0", 2));
}

TEST(BinaryFileErrors, UnopenableFileNamesThePathAndTheReason) {
  test::TempFolder folder;
  const std::string path = folder.file("missing-folder") + "/Forms.dat";
  try {
    (void)store::OpenBinaryFile(path);
    FAIL() << "opened a file in a missing folder";
  } catch (const store::FileError& e) {
    EXPECT_EQ(e.path(), path);
    EXPECT_FALSE(e.reason().empty());
  }
}

}  // namespace
}  // namespace tw
