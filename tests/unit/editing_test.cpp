// Editing an entry in place, moving it by a drag, and switching pages, as the user does it:
// where the edit box opens, every way an edit or a drag ends, and what each leaves in the
// labels, the "Insert" buttons and Forms.dat, also when the file cannot be written for a while.
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace tw::test {
namespace {

const std::string kSample =
    EntryRecords(
        {{2, "two"}, {3, "A"}, {4, "  lead"}, {12, "twelve"}, {19, "nineteen"}, {21, "x"}}) +
    "bytes beyond the records";

struct Editing : Running {
  explicit Editing(const std::string& entries = kSample) : Running(entries) {}
  // A press on slot's label and a move by (dx, dy) pixels with the given buttons.
  void PressAndMove(int slot, int dx, int dy = 0, bool leftAlone = true) {
    app.OnEntryLabelPressed(slot, {50, 9});
    app.OnEntryLabelDragged(slot, {50 + dx, 9 + dy}, leftAlone);
  }
  // A drag from one slot, over the tab of the other's page, dropped on it.
  void Drag(int from, int to) {
    PressAndMove(from, 0, 2);
    app.OnDragOverPageTab(to / 15);
    app.OnDroppedOnEntryLabel(to);
  }
};

TEST(Editing, EveryCommitStoresTheTextAsTypedAndRewritesTheWholeFile) {
  Editing t;
  t.app.OnEntryLabelReleased(12);
  EXPECT_TRUE(t.view.editSlot == 12 && t.view.editText == "twelve" &&
              t.view.focus == Focus::EditBox);
  t.Type("changed");
  t.app.OnPageTabReleased(0);  // the focus moves to the sink
  EXPECT_TRUE(!t.view.editSlot && t.view.focus == Focus::Sink);
  // A click on another label commits and moves the box there with the focus.
  t.app.OnEntryLabelReleased(1);
  t.Type("uno");
  t.app.OnEntryLabelReleased(2);
  EXPECT_TRUE(t.view.editSlot == 2 && t.view.editText == "two" && t.view.focus == Focus::EditBox);
  // Emptied, then committed by a release on its own "Insert" (a right button leaves the focus
  // in the box): nothing is filled.
  t.desktop.foreground = 9;
  t.app.OnTick();
  t.Type("");
  t.app.OnInsertReleased(2);
  EXPECT_TRUE(t.typing.forms.empty() && t.typing.clipboard.empty());
  // Blanks are text; a record spoiled behind the program's back is restored from the book.
  t.app.OnEntryLabelReleased(5);
  t.Type("   ");
  WriteFile(t.EntryFile(), WithEntry(t.Entries(), 50, "spoiled"));
  t.app.OnEditBoxLostFocus();
  for (const auto& [slot, text] : {std::pair{1, "uno"}, {2, ""}, {5, "   "}, {12, "changed"}})
    EXPECT_TRUE(t.view.entries[slot].text == text &&
                t.view.entries[slot].insertEnabled == (slot != 2))
        << slot;
  EXPECT_EQ(t.Entries(),
            WithEntry(WithEntry(WithEntry(WithEntry(kSample, 12, "changed"), 1, "uno"), 2, ""), 5,
                      "   "));
  // Minimize commits too.
  t.app.OnEntryLabelReleased(7);
  t.Type("before minimising");
  t.app.OnCommand(ui::Command::Minimize);
  EXPECT_TRUE(t.view.minimized && t.view.focus == Focus::Sink &&
              t.Entries().substr(1400, 17) == "before minimising");
  EXPECT_TRUE(t.messages.reports.empty());
  // A successful write clears the mark: the tick writes nothing more.
  fs::remove(t.EntryFile());
  t.app.OnTick();
  EXPECT_FALSE(fs::exists(t.EntryFile()));
}

TEST(Editing, AnEditWhoseSaveFailedIsKeptReportedOnceAndWrittenAtTheNextChance) {
  enum class Chance { Tick, Change, Close };
  for (const Chance chance : {Chance::Tick, Chance::Change, Chance::Close}) {
    Editing t;
    Hold(t.EntryFile());  // another program holds Forms.dat
    t.app.OnEntryLabelReleased(3);
    t.Type("kept");
    t.app.OnPageTabReleased(1);
    t.app.OnTick();
    ASSERT_EQ(t.messages.reports.size(), 1u);
    EXPECT_TRUE(t.messages.reports[0].starts_with(L"Typewell could not save " +
                                                  t.EntryFile().wstring() + L".\n\n"));
    EXPECT_TRUE(t.view.entries[3].text == "kept" && t.view.entries[3].insertEnabled);
    LetGo(t.EntryFile());
    if (chance == Chance::Tick) t.app.OnTick();
    if (chance == Chance::Change) t.Drag(19, 20);
    if (chance == Chance::Close) {
      EXPECT_TRUE(t.app.OnCloseRequested());
    }
    std::string expected = WithEntry(std::string(12000, ' '), 3, "kept");
    for (const int slot : {2, 4, 12, 21})
      expected = WithEntry(expected, slot, t.view.entries[slot].text);
    expected = WithEntry(expected, chance == Chance::Change ? 20 : 19, "nineteen");
    EXPECT_EQ(t.Entries(), expected);
    EXPECT_TRUE(t.messages.questions.empty() && t.messages.reports.size() == 1u);
  }
}

TEST(Editing, ACloseThatCannotSaveAsksRetryOrCancelAndCancelKeepsTypewellOpenWithItsData) {
  struct Case {
    std::deque<bool> answers;  // true: Retry
    bool letGoWhileAsked;
    bool closes;
  };
  const Case cases[] = {
      {{false}, false, false}, {{true, false}, false, false}, {{true}, true, true}};
  for (const Case& c : cases) {
    Editing t;
    t.app.OnEntryLabelReleased(12);
    t.Type("typed at close");
    Hold(t.EntryFile());
    t.messages.answers = c.answers;
    // A tick while the question is open adds no report of its own.
    t.messages.whileAsking = [&] {
      t.app.OnTick();
      if (c.letGoWhileAsked) LetGo(t.EntryFile());
    };
    EXPECT_EQ(t.app.OnCloseRequested(), c.closes);
    EXPECT_EQ(t.messages.questions.size(), c.answers.size());
    EXPECT_TRUE(t.messages.questions[0].find(t.EntryFile().wstring() + L".\n\n") !=
                    std::wstring::npos &&
                t.messages.reports.empty() && t.view.entries[12].text == "typed at close");
    // Still held, Forms.dat is a folder that reads as nothing.
    EXPECT_EQ(t.Entries().substr(0, 2414),
              c.closes ? WithEntry(kSample, 12, "typed at close").substr(0, 2414) : "");
  }
  // At the end of the session: one attempt, whatever is open, and no question.
  Editing t;
  t.app.OnEntryLabelReleased(12);
  t.Type("at the end");
  t.app.OnSessionEnding();
  EXPECT_TRUE(t.Entries().substr(2400, 10) == "at the end" && t.messages.questions.empty());
}

TEST(Drag, AMoveOfMoreThanTenTwipsWithTheLeftButtonAloneDragsAFilledLabel) {
  struct Case {
    int dpi, slot, dx, dy;
    bool leftAlone, drags;
  };
  // One pixel is 15 twips at 96 DPI and 10 at 144, where two are needed.
  const Case cases[] = {{96, 3, 1, 0, true, true},  {96, 3, 0, -1, true, true},
                        {96, 3, 0, 0, true, false}, {144, 3, 1, 1, true, false},
                        {144, 3, 0, 2, true, true}, {96, 3, 5, 5, false, false},
                        {96, 7, 5, 5, true, false}};
  for (const Case& c : cases) {
    Editing t;
    t.view.dpi = c.dpi;
    t.app.OnEntryLabelReleased(1);  // an edit is open
    t.Type("typed into one");
    t.PressAndMove(c.slot, c.dx, c.dy, c.leftAlone);
    EXPECT_EQ(t.view.dragSource.has_value(), c.drags) << &c - cases;
    // A drag commits the open edit to its own slot first.
    EXPECT_EQ(t.Entries().substr(200, 14) == "typed into one", c.drags) << &c - cases;
  }
}

TEST(Drag, ADropOnAnotherEmptyLabelWritesOnlyItsTwoRecordsAndNothingElseMoves) {
  Editing t;
  t.Drag(3, 20);  // over the tab of page 2
  EXPECT_TRUE(t.view.page == 1 && t.view.entries[20].text == "A" &&
              t.view.entries[20].insertEnabled && t.view.entries[3].text.empty() &&
              !t.view.entries[3].insertEnabled);
  const std::string moved = WithEntry(WithEntry(kSample, 3, ""), 20, "A");
  EXPECT_EQ(t.Entries(), moved);
  t.Drag(20, 20);  // onto itself
  t.Drag(20, 21);  // onto a filled label
  EXPECT_EQ(t.Entries(), moved);
  // A file that ends before the target record is completed with blanks up to it.
  Editing shortFile(EntryRecords({{3, "A"}}).substr(0, 1010));
  shortFile.Drag(3, 20);
  EXPECT_EQ(shortFile.Entries(), EntryRecords({{20, "A"}}).substr(0, 4200));
  // A move that cannot be written leaves the entry where it was, and is reported; the whole file
  // is written again at the next chance, since it may hold the entry in both records.
  Editing full;
  FillDisk(full.EntryFile());
  full.Drag(3, 20);
  EXPECT_TRUE(full.view.entries[3].text == "A" && full.view.entries[20].text.empty() &&
              full.messages.reports.size() == 1u);
  LetGo(full.EntryFile());
  full.app.OnTick();
  EXPECT_EQ(full.Entries(), kSample.substr(0, 12000));
}

TEST(Pages, ATabReleaseShowsItsPageAndADragShowsEachPageItPasses) {
  Editing t;
  t.app.OnPageTabReleased(1);  // the focus leaves a button too
  EXPECT_TRUE(t.view.page == 1 && t.view.focus == Focus::Sink);
  for (const int page : {2, 0, 3}) {
    t.app.OnEntryLabelReleased(page * 15 + 4);
    t.Type("on page " + std::to_string(page));
    t.app.OnPageTabReleased(page);
    EXPECT_TRUE(t.view.page == page && !t.view.editSlot && t.view.focus == Focus::Sink);
    EXPECT_EQ(t.view.entries[page * 15 + 4].text, "on page " + std::to_string(page));
  }
  t.PressAndMove(4, 3);
  for (const int page : {0, 2, 1, 1}) t.app.OnDragOverPageTab(page);
  EXPECT_EQ(t.view.page, 1);
}

}  // namespace
}  // namespace tw::test
