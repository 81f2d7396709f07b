// Moving an entry by dragging its label: when a drag starts, what a drop does on screen and in
// Forms.dat, and that a drop anywhere else or a failed write changes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "unit/test_support.h"

namespace tw::test {
namespace {

using forms::kLeftButton;
using forms::kMiddleButton;
using forms::kRightButton;

// The main window on screen with its entries loaded from the given Forms.dat bytes.
struct RunningApp : ShownApp {
  using ShownApp::ShownApp;

  // A press on Names(slot) at (100, 100) with button, then a move by (dx, dy) with buttons held.
  void pressAndMove(int slot, int button, int buttons, forms::Twips dx, forms::Twips dy) {
    input.press(*main.Names[slot], button, 100, 100);
    input.move(*main.Names[slot], buttons, 100 + dx, 100 + dy);
  }
  // Shows the page of Names(from), drags it over the tab of the page of Names(to), then releases
  // over Names(to).
  void drag(int from, int to) {
    input.click(*main.Page[from / store::kSlotsPerPage]);
    pressAndMove(from, kLeftButton, kLeftButton, 0, 20);
    input.move(*main.Page[to / store::kSlotsPerPage]);
    input.move(*main.Names[to]);
    input.release(*main.Names[to]);
  }
};

// The byte ranges in which two files differ, as "first-last" offsets, and a size difference.
std::string Differences(const std::string& a, const std::string& b) {
  std::string out;
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (a[i] == b[i]) continue;
    std::size_t last = i;
    while (last + 1 < n && a[last + 1] != b[last + 1]) ++last;
    out += (out.empty() ? "" : " ") + std::to_string(i) + "-" + std::to_string(last);
    i = last;
  }
  if (a.size() != b.size())
    out += " size " + std::to_string(a.size()) + "/" + std::to_string(b.size());
  return out;
}

const std::string kTail = "bytes beyond the records";

std::string SampleFile() {
  return EntryFileWith({{0, "first"},
                        {3, "A"},
                        {4, "  lead"},
                        {19, "nineteen"},
                        {21, "x"},
                        {59, std::string(200, 'z')}}) +
         kTail;
}

TEST(DragStart, NeedsAMoveOfMoreThanTenTwipsOnEitherAxisWithTheLeftButtonAlone) {
  struct Case {
    int button, buttons;
    forms::Twips dx, dy;
    bool starts;
  };
  const Case cases[] = {
      {kLeftButton, kLeftButton, 10, 0, false},      {kLeftButton, kLeftButton, 0, 10, false},
      {kLeftButton, kLeftButton, 10, 10, false},     {kLeftButton, kLeftButton, -10, -10, false},
      {kLeftButton, kLeftButton, 11, 0, true},       {kLeftButton, kLeftButton, -11, 0, true},
      {kLeftButton, kLeftButton, 0, 11, true},       {kLeftButton, kLeftButton, 0, -11, true},
      {kLeftButton, kLeftButton, 10, 10.5f, true},   {kRightButton, kRightButton, 300, 300, false},
      {kMiddleButton, kMiddleButton, 300, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "buttons " << c.buttons << " by " << c.dx << "," << c.dy);
    RunningApp t(SampleFile());
    t.pressAndMove(3, c.button, c.buttons, c.dx, c.dy);
    EXPECT_EQ(t.main.form.dragging(), c.starts);
    EXPECT_EQ(t.backend.outlineShown, c.starts);
    EXPECT_EQ(t.main.Dragbox->visible(), c.starts);
    EXPECT_EQ(t.app.currentSlot, c.starts ? 3 : 0);
    // Nothing else happens before the threshold: no pending events are let run.
    EXPECT_EQ(t.windows.callsStartingWith("doEvents").size(), c.starts ? 1u : 0u);
  }
}

TEST(DragStart, NeverStartsFromAnEmptyLabelOrWithTheLeftAndRightButtonsTogether) {
  RunningApp t(SampleFile());
  t.pressAndMove(5, kLeftButton, kLeftButton, 500, 500);  // slot 5 is empty
  EXPECT_FALSE(t.main.form.dragging());
  t.input.release(*t.main.Names[5]);

  t.input.press(*t.main.Names[3], kLeftButton, 100, 100);
  t.input.press(*t.main.Names[3], kRightButton, 100, 100);
  t.input.move(*t.main.Names[3], kLeftButton | kRightButton, 400, 100);
  EXPECT_FALSE(t.main.form.dragging());
  // Once the right button is let go, the left button alone drags.
  t.input.release(*t.main.Names[3], kRightButton, 400, 100);
  t.input.move(*t.main.Names[3], kLeftButton, 400, 100);
  EXPECT_TRUE(t.main.form.dragging());
  EXPECT_TRUE(t.windows.callsStartingWith("reportError").empty());
}

TEST(DragStart, TheOutlineStartsOverTheLabelAndTheProxyTakesItsLook) {
  RunningApp t(SampleFile());
  t.main.Names[19]->setBackColor({12, 34, 56});
  t.main.Names[19]->setBold(true);
  t.input.click(*t.main.Page[1]);  // page 1 is on show at Frame(0)'s place
  const forms::Rect label = t.main.Names[19]->absoluteBounds();
  const forms::Twips proxyHeight = t.main.Dragbox->height();

  t.input.press(*t.main.Names[19], kLeftButton, 40, 30);
  t.input.move(*t.main.Names[19], kLeftButton, 40, 45);
  ASSERT_TRUE(t.backend.outlineShown);
  EXPECT_EQ(t.backend.outline, (forms::Rect{label.left, label.top, label.width, proxyHeight}));
  EXPECT_EQ(t.main.Dragbox->caption(), "nineteen");
  EXPECT_EQ(t.main.Dragbox->backColor(), (forms::Rgb{12, 34, 56}));
  EXPECT_TRUE(t.main.Dragbox->bold());
  EXPECT_EQ(t.main.Dragbox->height(), proxyHeight);
  EXPECT_EQ(t.app.currentSlot, 19);

  // The outline follows the pointer; a drag of a normal label makes the proxy normal again.
  t.input.move(*t.main.Names[25], kLeftButton, 40, 100);
  EXPECT_EQ(t.backend.outline.top, t.main.Names[25]->absoluteBounds().top + 55);
  t.input.release(*t.main.Names[25], kLeftButton, 40, 45);
  t.drag(21, 22);
  EXPECT_FALSE(t.main.Dragbox->bold());
  EXPECT_EQ(t.main.Dragbox->caption(), "x");
}

TEST(DragStart, AReleaseWhilePendingEventsRunEndsThePressWithoutADrag) {
  RunningApp t(SampleFile());
  t.input.press(*t.main.Names[3], kLeftButton, 100, 100);
  t.windows.pendingEvents = [&] { t.input.release(*t.main.Names[3], kLeftButton, 100, 150); };
  t.input.move(*t.main.Names[3], kLeftButton, 100, 150);
  EXPECT_FALSE(t.main.form.dragging());
  EXPECT_FALSE(t.backend.outlineShown);
  EXPECT_FALSE(t.main.Dragbox->visible());
}

TEST(Drop, OnAnEmptySlotRewritesOnlyTheTwoRecords) {
  RunningApp t(SampleFile());
  t.drag(3, 20);
  std::string expected = SampleFile();
  expected.replace(600, 200, std::string(200, ' '));
  expected.replace(4000, 200, "A" + std::string(199, ' '));
  EXPECT_EQ(Differences(SampleFile(), ReadFile(t.entryFile())), "600-600 4000-4000");
  EXPECT_TRUE(ReadFile(t.entryFile()) == expected);
  EXPECT_EQ(t.main.Names[20]->caption(), "A");
  EXPECT_EQ(t.main.Names[3]->caption(), "");
  EXPECT_TRUE(t.main.FillBtn[20]->enabled());
  EXPECT_FALSE(t.main.FillBtn[3]->enabled());
  EXPECT_FALSE(t.main.Dragbox->visible());
  EXPECT_FALSE(t.main.form.dragging());

  // A full-length entry within the last page, then moves on the first page and from the
  // first page to the last record, leading blanks kept.
  t.drag(59, 45);
  t.drag(0, 1);
  t.drag(4, 59);
  expected.replace(11800, 200, "  lead" + std::string(194, ' '));
  expected.replace(9000, 200, std::string(200, 'z'));
  expected.replace(0, 400, std::string(200, ' ') + "first" + std::string(195, ' '));
  expected.replace(800, 200, std::string(200, ' '));
  EXPECT_EQ(Differences(expected, ReadFile(t.entryFile())), "");
  EXPECT_EQ(t.main.Names[45]->caption(), std::string(200, 'z'));
  EXPECT_EQ(t.main.Names[59]->caption(), "  lead");
  EXPECT_TRUE(t.main.FillBtn[45]->enabled() && t.main.FillBtn[1]->enabled());
  EXPECT_FALSE(t.main.FillBtn[0]->enabled() || t.main.FillBtn[4]->enabled());
  EXPECT_TRUE(t.windows.errors.empty());
}

TEST(Drop, OnTheOwnLabelAFilledLabelOrOutsideAnyLabelChangesNothing) {
  RunningApp t(SampleFile());
  const std::string before = ReadFile(t.entryFile());
  const auto unchanged = [&] {
    EXPECT_EQ(Differences(before, ReadFile(t.entryFile())), "");
    EXPECT_EQ(t.main.Names[3]->caption(), "A");
    EXPECT_EQ(t.main.Names[19]->caption(), "nineteen");
    EXPECT_TRUE(t.main.FillBtn[3]->enabled());
    EXPECT_FALSE(t.main.form.dragging());
    EXPECT_FALSE(t.backend.outlineShown);
  };
  t.drag(3, 3);
  unchanged();
  EXPECT_FALSE(t.main.Dragbox->visible());
  t.drag(3, 0);
  unchanged();
  EXPECT_EQ(t.main.Names[0]->caption(), "first");

  // Released over an "Insert" button, the page bar and outside the window: no drop runs, and
  // the unseen proxy stays as it is.
  const std::vector<forms::Control*> elsewhere{t.main.FillBtn[7], t.main.Label1, t.main.Page[0]};
  for (forms::Control* c : elsewhere) {
    SCOPED_TRACE(c->name());
    t.pressAndMove(3, kLeftButton, kLeftButton, 0, 20);
    t.input.move(*c);
    t.input.release(*c);
    unchanged();
    EXPECT_TRUE(t.main.Dragbox->visible());
  }
  t.pressAndMove(3, kLeftButton, kLeftButton, 0, 20);
  t.input.moveTo({-300, 900});
  t.input.releaseAt({-300, 900});
  unchanged();
  EXPECT_EQ(t.main.Names[7]->caption(), "");
}

TEST(Drop, AFailedWriteIsReportedOnceAndLeavesTheEntryInPlace) {
  RunningApp t(SampleFile());
  // Forms.dat turns into something that cannot be opened as a file.
  std::filesystem::remove(t.entryFile());
  std::filesystem::create_directory(t.entryFile());
  t.drag(3, 20);
  EXPECT_EQ(t.windows.errors.size(), 1u);
  EXPECT_NE(t.windows.errors.at(0).find("Forms.dat"), std::string::npos);
  EXPECT_EQ(t.main.Names[3]->caption(), "A");
  EXPECT_EQ(t.main.Names[20]->caption(), "");
  EXPECT_TRUE(t.main.FillBtn[3]->enabled());
  EXPECT_FALSE(t.main.FillBtn[20]->enabled());

  // The program goes on: once the file can be written again, the same drop succeeds.
  std::filesystem::remove(t.entryFile());
  WriteFile(t.entryFile(), SampleFile());
  t.drag(3, 20);
  EXPECT_EQ(t.main.Names[20]->caption(), "A");
  EXPECT_EQ(ReadFile(t.entryFile()).substr(4000, 2), "A ");
  EXPECT_EQ(t.windows.errors.size(), 1u);
}

TEST(DragAndEdit, APressAndReleaseOpensTheEditBoxButAMovedPressNeitherEditsNorMoves) {
  RunningApp t(SampleFile());
  forms::Control& label = *t.main.Names[3];
  t.input.press(label, kLeftButton, 100, 100);
  t.input.move(label, kLeftButton, 100, 100);
  t.input.release(label, kLeftButton, 100, 100);
  EXPECT_TRUE(t.main.Gettext->visible());
  EXPECT_EQ(t.main.Gettext->caption(), "A");
  t.input.click(*t.main.Page[0]);  // commits the unchanged edit
  ASSERT_FALSE(t.main.Gettext->visible());

  // A movement of one pixel (15 twips) starts a drag; its release on the same label is the
  // drop, not a click.
  const std::string before = ReadFile(t.entryFile());
  t.input.press(label, kLeftButton, 100, 100);
  t.input.move(label, kLeftButton, 100, 115);
  t.input.release(label, kLeftButton, 100, 115);
  EXPECT_FALSE(t.main.Gettext->visible());
  EXPECT_EQ(label.caption(), "A");
  EXPECT_EQ(Differences(before, ReadFile(t.entryFile())), "");
}

TEST(DragAndEdit, AnOpenEditIsCommittedToItsOwnSlotBeforeTheDragOfAnotherBegins) {
  RunningApp t(EntryFileWith({{5, "five"}, {8, "eight"}}));
  t.input.click(*t.main.Names[5]);
  ASSERT_TRUE(t.main.Gettext->hasFocus());
  t.main.Gettext->nativeTextChanged("typed into five");

  t.pressAndMove(8, kLeftButton, kLeftButton, 0, 20);
  EXPECT_TRUE(t.main.form.dragging());
  EXPECT_FALSE(t.main.Gettext->visible());
  EXPECT_EQ(t.main.Names[5]->caption(), "typed into five");
  EXPECT_EQ(t.main.Names[8]->caption(), "eight");
  EXPECT_EQ(
      Differences(ReadFile(t.entryFile()), EntryFileWith({{5, "typed into five"}, {8, "eight"}})),
      "");
  EXPECT_EQ(t.app.currentSlot, 8);

  t.input.move(*t.main.Names[9]);
  t.input.release(*t.main.Names[9]);
  EXPECT_EQ(
      Differences(ReadFile(t.entryFile()), EntryFileWith({{5, "typed into five"}, {9, "eight"}})),
      "");
  EXPECT_FALSE(t.main.Gettext->visible());
}

}  // namespace
}  // namespace tw::test
