// Forms.dat byte for byte: creation, loading, whole rewrites and single records. Files of odd
// sizes, contents and attributes are in bad_files_test.cpp.
#include <gtest/gtest.h>

#include "core/entries.h"
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
  core::MainWindow& main = t.app.main;
};

TEST_F(EntryFileTest, MissingFileIsCreatedWith60BlankRecordsAndAllButtonsDisabled) {
  core::LoadEntries(t.app);
  EXPECT_EQ(ReadFile(t.entryFile()), std::string(12000, ' '));
  for (int s = 0; s < 60; ++s) {
    EXPECT_EQ(main.Names[s]->caption(), "") << s;
    EXPECT_FALSE(main.FillBtn[s]->enabled()) << s;
  }
}

TEST_F(EntryFileTest, LoadingStripsTrailingBlanksOnlyAndEnablesFilledSlots) {
  WriteFile(t.entryFile(),
            EntryFileWith(
                {{0, "abc"}, {1, "  abc"}, {2, "tab\t"}, {59, "last"}, {30, "line1\r\nline2"}}));
  core::LoadEntries(t.app);
  EXPECT_EQ(main.Names[0]->caption(), "abc");
  EXPECT_EQ(main.Names[1]->caption(), "  abc");
  EXPECT_EQ(main.Names[2]->caption(), "tab\t");
  EXPECT_EQ(main.Names[30]->caption(), "line1\r\nline2");
  EXPECT_EQ(main.Names[59]->caption(), "last");
  EXPECT_TRUE(main.FillBtn[0]->enabled());
  EXPECT_TRUE(main.FillBtn[59]->enabled());
  EXPECT_FALSE(main.FillBtn[3]->enabled());
}

TEST_F(EntryFileTest, SavingRewritesFromLabelsAndChangesOnlyTheEditedRecord) {
  WriteFile(t.entryFile(), EntryFileWith({{0, "first"}, {37, "old"}}));
  core::LoadEntries(t.app);
  const std::string before = ReadFile(t.entryFile());
  main.Names[37]->setCaption("new text");
  core::SaveEntries(t.app);
  const std::string after = ReadFile(t.entryFile());
  ASSERT_EQ(after.size(), 12000u);
  EXPECT_EQ(after.substr(0, 7400), before.substr(0, 7400));
  EXPECT_EQ(after.substr(7400, 200), store::PadEntryRecord("new text"));
  EXPECT_EQ(after.substr(7600), before.substr(7600));
}

TEST_F(EntryFileTest, SingleRecordsAreWrittenAtTheirOffsetsOnly) {
  WriteFile(t.entryFile(), EntryFileWith({{3, "A"}}) + "XYZ");
  {
    store::BinaryFile file = store::OpenBinaryFile(t.entryFile());
    store::WriteEntryRecord(file, 3, "");
    store::WriteEntryRecord(file, 20, "A");
    file.close();
  }
  EXPECT_EQ(ReadFile(t.entryFile()), EntryFileWith({{20, "A"}}) + "XYZ");

  // Past the end of a short file (a partial last record): blank records in between.
  WriteFile(t.entryFile(), EntryFileWith({{3, "A"}}).substr(0, 1010));
  {
    store::BinaryFile file = store::OpenBinaryFile(t.entryFile());
    store::WriteEntryRecord(file, 20, "A");
    file.close();
  }
  EXPECT_EQ(ReadFile(t.entryFile()), EntryFileWith({{3, "A"}, {20, "A"}}).substr(0, 4200));
}

TEST(EntryRecord, PaddingAndTrimming) {
  EXPECT_EQ(store::PadEntryRecord("abc"), "abc" + std::string(197, ' '));
  EXPECT_EQ(store::PadEntryRecord(std::string(250, 'z')), std::string(200, 'z'));
  EXPECT_EQ(store::TrimEntryRecord("  a b  "), "  a b");
  EXPECT_EQ(store::TrimEntryRecord(std::string(200, ' ')), "");
  EXPECT_EQ(store::TrimEntryRecord("x\t "), "x\t");
  EXPECT_EQ(store::TrimEntryRecord(std::string("a\0b\0 \0", 6)), std::string("a\0b", 3));
}

}  // namespace
}  // namespace tw
