// Editing an entry in place, moving it by a drag, and switching pages, as the user does it:
// where the edit box opens, every way an edit or a drag ends, and what each leaves in the
// labels and Forms.dat, also when the file cannot be written for a while and a message box
// reports it, running its own message loop.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "test_support.h"

namespace tw::test {
namespace {

using enum services::CloseAnswer;

const std::string kSample =
    EntryRecords(
        {{2, "two"}, {3, "A"}, {4, "  lead"}, {12, "twelve"}, {19, "nineteen"}, {21, "x"}}) +
    "bytes beyond the records";

struct Editing : Running {
  explicit Editing(const std::string& entries = kSample) : Running(entries) {}
  // A click on a label: a press and a release without a move.
  void Click(int slot) {
    view.Press(slot, {50, 9});
    view.Release(slot, slot);
  }
  // A press on slot's label and a move by (dx, dy) pixels with the given buttons.
  void PressAndMove(int slot, int dx, int dy = 0, bool leftAlone = true) {
    view.Press(slot, {50, 9});
    view.Move(slot, {50 + dx, 9 + dy}, leftAlone);
  }
  // A drag from one slot, over the tab of the other's page, dropped on it.
  void Drag(int from, std::optional<int> to) {
    PressAndMove(from, 0, 2);
    if (to) app.OnDragOverPageTab(*to / 15);
    view.Release(from, to);
  }
};

TEST(Editing, EveryCommitStoresTheTextAsTypedAndRewritesTheWholeFile) {
  Editing t;
  t.Click(12);
  EXPECT_EQ(std::tuple(t.view.editSlot, t.view.editText, t.view.focus),
            std::tuple(12, "twelve", Focus::EditBox));
  t.Type("changed");
  t.app.OnPageTabReleased(2);  // commits, and page 3 shows
  EXPECT_EQ(std::tuple(t.view.editSlot, t.view.page), std::tuple(std::nullopt, 2));
  // A click on another label commits and moves the box there with the focus.
  t.Click(1);
  t.Type("uno");
  t.Click(2);
  EXPECT_EQ(std::tuple(t.view.editSlot, t.view.editText, t.view.focus),
            std::tuple(2, "two", Focus::EditBox));
  // Emptied, then committed by a release on its own "Insert" (a right button leaves the focus
  // in the box): nothing is filled.
  t.desktop.foreground = 9;
  t.app.OnTick();
  t.Type("");
  t.app.OnInsertReleased(2);
  EXPECT_EQ(std::tuple(t.typing.forms.size(), t.typing.clipboard), std::tuple(0u, ""));
  // Blanks are text, committed by Enter; a record spoiled behind the program's back is restored
  // from the book; no entry is longer than a record. Esc leaves an entry as it was.
  t.Click(5);
  t.Type("   ");
  WriteFile(t.EntryFile(), WithEntry(t.Entries(), 50, "spoiled"));
  t.app.OnEditBoxKey(ui::EditKey::Commit);
  EXPECT_EQ(t.view.focus, Focus::Label);
  t.Click(8);
  t.Type(std::string(201, 'x'));
  t.Click(4);
  t.Type("not kept");
  t.app.OnEditBoxKey(ui::EditKey::Cancel);
  t.view.Dispatch();
  EXPECT_EQ(std::tuple(t.view.editSlot, t.view.entries[4]), std::tuple(std::nullopt, "  lead"));
  std::string edited = kSample;
  for (const auto& [slot, text] : {std::pair<int, std::string>{1, "uno"},
                                   {2, ""},
                                   {5, "   "},
                                   {8, std::string(200, 'x')},
                                   {12, "changed"}}) {
    EXPECT_EQ(t.view.entries[slot], text) << slot;
    edited = WithEntry(edited, slot, text);
  }
  EXPECT_EQ(t.Entries(), edited);
  // Minimize commits too.
  t.Click(7);
  t.Type("before minimising");
  t.app.OnCommand(ui::Command::Minimize);
  EXPECT_EQ(std::tuple(t.view.minimized, t.Entries().substr(1400, 17), t.messages.reports.size()),
            std::tuple(true, "before minimising", 0u));
  // A successful write clears the mark: the tick writes nothing more.
  fs::remove(t.EntryFile());
  t.app.OnTick();
  EXPECT_FALSE(fs::exists(t.EntryFile()));
}

TEST(Editing, ASwitchWhileTheSaveFailsKeepsEachEntrysText) {
  // The report of the failed save lets the edit box's loss of focus run before it returns.
  Editing t(EntryRecords({{0, "alpha"}, {1, "bravo"}}));
  Hold(t.EntryFile());
  t.Click(0);
  t.Type("alpha edited");
  t.Click(1);
  EXPECT_EQ(t.messages.reports.size(), 1u);
  LetGo(t.EntryFile());
  EXPECT_TRUE(t.app.OnCloseRequested());
  EXPECT_EQ(t.Entries(), EntryRecords({{0, "alpha edited"}, {1, "bravo"}}));
}

TEST(Editing, AnEditThatCannotBeSavedIsKeptAndWrittenAtTheNextChanceOrAskedAboutAtTheClose) {
  // The next chance: 't' a tick, 'd' a drop, 'c' the close, 's' the end of the session; the
  // answers to the close's questions; Forms.dat let go before that chance or while a question is
  // open; whether the window closes, and whether the file is written then.
  struct Case {
    char chance;
    std::deque<services::CloseAnswer> answers;
    bool letGo, letGoWhileAsked, closes, written;
  };
  const Case cases[] = {{'t', {}, true, false, false, true},
                        {'d', {}, true, false, false, true},
                        {'c', {}, true, false, true, true},
                        {'c', {Cancel}, false, false, false, false},
                        {'c', {Retry, Cancel}, false, false, false, false},
                        {'c', {Retry}, false, true, true, true},
                        {'c', {Retry, CloseWithoutSaving}, false, false, true, false},
                        {'s', {}, true, false, false, true},
                        {'s', {}, false, false, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, c.chance) + std::to_string(c.answers.size()));
    Editing t;
    Hold(t.EntryFile());  // another program holds Forms.dat
    t.Click(0);
    t.Type("kept");
    t.app.OnPageTabReleased(1);
    t.app.OnTick();  // reported once only
    ASSERT_EQ(t.messages.reports.size(), 1u);
    const std::wstring couldNotSave =
        L"Typewell could not save " + t.EntryFile().wstring() + L".\n\n";
    EXPECT_TRUE(t.messages.reports[0].starts_with(couldNotSave));
    if (c.chance == 'c' || c.chance == 's') {  // an edit is open as the window closes
      t.Click(12);
      t.Type("open at the close");
    }
    if (c.letGo) LetGo(t.EntryFile());
    t.messages.answers = c.answers;
    t.messages.modalLoop = [&] {
      t.view.RunModalLoop();  // a tick adds no report of its own
      if (c.letGoWhileAsked) LetGo(t.EntryFile());
    };
    if (c.chance == 't') t.app.OnTick();
    if (c.chance == 'd') t.Drag(19, 20);
    if (c.chance == 'c' && t.app.OnCloseRequested() != c.closes) ADD_FAILURE() << "closed";
    if (c.chance == 's') t.app.OnSessionEnding();
    const bool open = c.chance == 'c' || c.chance == 's';  // committed by the end itself
    EXPECT_EQ(std::tuple(t.messages.questions.size(), t.messages.reports.size(), t.view.entries[0],
                         t.view.entries[12]),
              std::tuple(c.answers.size(), 1u, "kept", open ? "open at the close" : "twelve"));
    // The question names the file and what closing without saving loses.
    for (const auto& question : t.messages.questions)
      EXPECT_EQ(
          std::tuple(question.substr(0, couldNotSave.size()),
                     question.find(L"changes to entries 1 and 13 will be lost") != question.npos),
          std::tuple(couldNotSave, true));
    std::string book;
    for (const auto& entry : t.view.entries) book += store::PadEntryRecord(entry);
    // Still held, Forms.dat is a folder that reads as nothing.
    EXPECT_EQ(t.Entries(), c.written ? book : "");
  }
  // An edit committed as it was loses nothing: the close asks nothing.
  Editing same;
  Hold(same.EntryFile());
  same.Click(3);
  EXPECT_EQ(std::tuple(same.app.OnCloseRequested(), same.messages.questions.size()),
            std::tuple(true, 0u));
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
    t.Click(1);  // an edit is open
    t.Type("typed into one");
    t.PressAndMove(c.slot, c.dx, c.dy, c.leftAlone);
    EXPECT_EQ(t.view.outline, c.drags) << &c - cases;
    // A drag commits the open edit to its own slot first.
    EXPECT_EQ(t.Entries().substr(200, 14) == "typed into one", c.drags) << &c - cases;
  }
}

TEST(Drag, ADropOnAnotherEmptyLabelWritesOnlyItsTwoRecordsAndNothingElseMoves) {
  Editing t;
  t.Drag(3, 20);  // over the tab of page 2
  EXPECT_EQ(std::tuple(t.view.page, t.view.entries[20], t.view.entries[3]), std::tuple(1, "A", ""));
  const std::string moved = WithEntry(WithEntry(kSample, 3, ""), 20, "A");
  EXPECT_EQ(t.Entries(), moved);
  t.Drag(20, 20);            // onto itself
  t.Drag(20, 21);            // onto a filled label
  t.Drag(20, std::nullopt);  // elsewhere
  // A drag shows each page it passes over.
  t.PressAndMove(21, 3);
  for (const int page : {0, 2, 3, 3}) t.app.OnDragOverPageTab(page);
  EXPECT_EQ(t.view.page, 3);
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
  EXPECT_EQ(std::tuple(full.view.entries[3], full.view.entries[20], full.messages.reports.size()),
            std::tuple("A", "", 1u));
  LetGo(full.EntryFile());
  full.app.OnTick();
  EXPECT_EQ(full.Entries(), kSample.substr(0, 12000));
}

TEST(Drag, ADragWhosePressAReportTakesAwayEndsWithoutADrop) {
  Editing t;
  Hold(t.EntryFile());
  t.Click(1);
  t.Type("edited");
  t.PressAndMove(3, 0, 2);  // the edit's failed save is reported as the drag begins
  EXPECT_EQ(std::tuple(t.messages.reports.size(), t.view.outline, t.app.DragSource()),
            std::tuple(1u, false, std::nullopt));
  t.view.Release(3, 5);  // the button goes up while the box is open: the press is gone
  t.Click(5);            // the next click on an empty label opens its edit
  EXPECT_EQ(std::tuple(t.view.editSlot, t.view.entries[3], t.view.entries[5]),
            std::tuple(5, "A", ""));
  LetGo(t.EntryFile());
  t.app.OnTick();
  EXPECT_EQ(t.Entries(), WithEntry(kSample, 1, "edited").substr(0, 12000));
}

}  // namespace
}  // namespace tw::test
