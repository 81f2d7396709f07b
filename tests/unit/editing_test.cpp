// Editing an entry in place, moving it by a drag, and switching pages, all through the started
// program as the user does it: where the edit box opens, every way an edit or a drag ends, and
// what each leaves in the labels, the "Insert" buttons and Forms.dat.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>

#include "test_support.h"

namespace tw::test {
namespace {

using forms::kLeftButton;
using forms::kRightButton;

const std::string kSample =
    EntryFileWith(
        {{2, "two"}, {3, "A"}, {4, "  lead"}, {12, "twelve"}, {19, "nineteen"}, {21, "x"}}) +
    "bytes beyond the records";

struct App : Running {
  explicit App(const std::string& entries = kSample) : Running(entries) {}
  void type(const std::string& text) { main.Gettext->nativeTextChanged(text); }
  bool editing() const { return main.Gettext->visible(); }
  std::string file() const { return ReadFile(entryFile()); }
  // A press on Names(slot) at (100, 100) and a move by dy with the left button.
  void pressAndMove(int slot, forms::Twips dy = 20) {
    input.press(*main.Names[slot], kLeftButton, 100, 100);
    input.move(*main.Names[slot], kLeftButton, 100, 100 + dy);
  }
  // From the page of Names(from), over the tab of the page of Names(to), released over it.
  void drag(int from, int to) {
    input.click(*main.Page[from / 15]);
    pressAndMove(from);
    input.move(*main.Page[to / 15]);
    input.release(*main.Names[to]);
  }
};

TEST(Editing, EveryCommitStoresTheTextAsTypedAndRewritesTheWholeFile) {
  App t;
  t.input.click(*t.main.Names[12]);
  t.type("changed");
  t.input.click(*t.main.Page[0]);
  EXPECT_FALSE(t.editing());
  // A click on another label commits and keeps the box open, the focus never leaving it.
  t.input.click(*t.main.Names[1]);
  t.type("uno");
  t.input.click(*t.main.Names[2]);
  EXPECT_TRUE(t.editing() && t.main.Gettext->hasFocus() &&
              std::ranges::count(t.backend.log, "focus Holdfocus") == 1);
  EXPECT_EQ(t.main.Gettext->caption() + std::to_string(int(t.main.Gettext->top())), "two900");
  // Emptied, then committed by a right-button release on its own "Insert": nothing is filled.
  t.app->targetWindow = 20480;
  t.type("");
  t.input.click(*t.main.FillBtn[2], kRightButton);
  EXPECT_TRUE(t.windows.callsStartingWith("setClipboardText").empty());
  // Blanks are text; a record spoiled behind the program's back is restored from the labels.
  t.input.click(*t.main.Names[5]);
  t.type("   ");
  WriteFile(t.entryFile(), WithEntry(t.file(), 50, "spoiled"));
  t.input.click(*t.main.Page[0]);
  for (const auto& [slot, text] : {std::pair{1, "uno"}, {2, ""}, {5, "   "}, {12, "changed"}})
    EXPECT_TRUE(t.main.Names[slot]->caption() == text &&
                t.main.FillBtn[slot]->enabled() == (slot != 2))
        << slot;
  EXPECT_EQ(t.file(),
            WithEntry(WithEntry(WithEntry(WithEntry(kSample, 12, "changed"), 1, "uno"), 2, ""), 5,
                      "   "));
  EXPECT_TRUE(t.windows.errors.empty());
}

TEST(Editing, ClosingSavesAnOpenEditOrAsksRetryOrCancelExceptAtTheEndOfTheSession) {
  using enum forms::CloseReason;
  struct Case {
    bool edit, blocked;  // an edit is open; Forms.dat cannot be written when the close begins
    forms::CloseReason reason;
    std::deque<bool> answers;  // to each question in turn, true: Retry
    bool freedWhileAsked;      // it can be written again while the question is open
  };
  const Case cases[] = {
      {false, false, Request, {}, false},    {true, false, Request, {}, false},
      {true, true, Request, {false}, false}, {true, true, Request, {true, false}, false},
      {true, true, Request, {true}, true},   {true, true, SessionEnd, {}, false}};
  for (const Case& c : cases) {
    App t;
    if (c.blocked) BlockFile(t.entryFile());
    if (c.edit) t.input.click(*t.main.Names[12]);
    t.type("typed at close");
    t.windows.retryAnswers = c.answers;
    if (c.freedWhileAsked) t.windows.pendingEvents = [&] { fs::remove(t.entryFile()); };
    t.main.form.nativeCloseRequested(c.reason);
    const auto questions = t.windows.callsStartingWith("askRetry");
    EXPECT_EQ(questions.size(), c.answers.size()) << &c - cases;
    for (const std::string& q : questions)
      EXPECT_TRUE(q.starts_with("askRetry Typewell could not save " + t.entryFile() + ".\n\n") &&
                  q.find("\n\nYour text is not saved. Retry") != std::string::npos);
    const bool ends = !c.blocked || c.freedWhileAsked || c.reason == SessionEnd;
    EXPECT_TRUE(t.exits == std::vector<int>(ends, 0) && t.main.form.loaded() != ends &&
                (t.editing() && t.main.Gettext->hasFocus()) != ends && t.windows.errors.empty());
    const std::string written = c.blocked ? kSample.substr(0, 12000) : kSample;
    const bool saved = c.edit && (!c.blocked || c.freedWhileAsked);
    EXPECT_EQ(t.file(), saved       ? WithEntry(written, 12, "typed at close")
                        : c.blocked ? ""
                                    : kSample);
  }
}

TEST(Drag, TheOutlineStartsOverTheLabelFollowsThePointerAndTheProxyTakesTheLabelsLook) {
  App t;
  t.main.Names[19]->setBackColor({12, 34, 56});
  t.main.Names[19]->setBold(true);
  t.input.click(*t.main.Page[1]);  // page 2 is on show at Frame(0)'s place
  // A drag starts after a move of more than ten twips on either axis.
  t.input.press(*t.main.Names[19], kLeftButton, 40, 30);
  t.input.move(*t.main.Names[19], kLeftButton, 50, 20);
  EXPECT_FALSE(t.main.form.dragging() || t.main.Dragbox->visible());
  t.input.move(*t.main.Names[19], kLeftButton, 40, 45);
  EXPECT_EQ(t.backend.outline, (forms::Rect{828, 1476, 1932, 264}));
  EXPECT_TRUE(t.main.Dragbox->bounds() == t.backend.outline && t.main.Dragbox->bold() &&
              t.main.Dragbox->backColor() == (forms::Rgb{12, 34, 56}) &&
              t.main.Dragbox->caption() == "nineteen");
  t.input.move(*t.main.Names[25], kLeftButton, 40, 100);
  EXPECT_EQ(t.backend.outline.top, 324 + 288 * 10 + 55);
  t.input.release(*t.main.Names[25], kLeftButton, 40, 45);
  t.drag(21, 22);  // a normal label makes the proxy normal again
  EXPECT_FALSE(t.main.Dragbox->bold());
  // A release while the pending events run ends the press without a drag.
  t.input.press(*t.main.Names[3], kLeftButton, 100, 100);
  t.windows.pendingEvents = [&] { t.input.release(*t.main.Names[3], kLeftButton, 100, 150); };
  t.input.move(*t.main.Names[3], kLeftButton, 100, 150);
  EXPECT_FALSE(t.main.form.dragging() || t.backend.outlineShown || t.main.Dragbox->visible());
}

TEST(Drag, APressAndReleaseEditsAMovedPressDragsAndAnOpenEditIsCommittedFirst) {
  App t;
  t.pressAndMove(3, 0);
  t.input.release(*t.main.Names[3], kLeftButton, 100, 100);
  EXPECT_TRUE(t.editing());
  t.type("typed into three");
  // A move of one pixel over another label starts its drag; the edit is committed to its slot.
  t.pressAndMove(4, 15);
  EXPECT_TRUE(t.main.form.dragging() && !t.editing() && t.app->currentSlot == 4);
  const std::string committed = WithEntry(kSample, 3, "typed into three");
  EXPECT_EQ(t.file(), committed);
  // Its release on the same label is a drop, not a click; then a drop elsewhere moves it.
  t.input.release(*t.main.Names[4], kLeftButton, 100, 115);
  EXPECT_FALSE(t.editing());
  t.drag(4, 6);
  EXPECT_EQ(t.file(), WithEntry(WithEntry(committed, 4, ""), 6, "  lead"));
  // A file that ends before the target record is completed with blanks up to it.
  App shortFile(EntryFileWith({{3, "A"}}).substr(0, 1010));
  shortFile.drag(3, 20);
  EXPECT_EQ(shortFile.file(), EntryFileWith({{20, "A"}}).substr(0, 4200));
}

TEST(Pages, AReleaseOfAnyButtonOverATabShowsItsPageAtTheFirstOnesPlaceAndCommitsAnOpenEdit) {
  App t;
  const int buttons[] = {1, 2, 4, 1, 1}, order[] = {0, 2, 1, 3, 2};
  for (int i = 0, shown = 0; i < 5; shown = order[i++]) {
    t.input.click(*t.main.Names[shown * 15 + 4]);
    t.input.click(*t.main.Page[order[i]], buttons[i]);
    EXPECT_TRUE(t.main.Holdfocus->hasFocus() && !t.editing());
    for (int p = 0; p < 4; ++p)
      EXPECT_EQ(t.main.Frame[p]->visible() + t.main.Page[p]->selected(), 2 * (p == order[i]));
    EXPECT_TRUE(t.main.Frame[order[i]]->left() == 0 && t.main.Frame[order[i]]->top() == 324);
  }
  EXPECT_EQ(t.main.Frame[3]->left() + t.main.Frame[1]->left(), 0);
  // Pressed on a tab, released outside the window: the marked tab still names the page.
  t.input.press(*t.main.Page[1]);
  t.input.releaseAt({-300, 900});
  EXPECT_TRUE(t.main.Frame[1]->visible() && t.main.Page[1]->selected());
  // A drag passing over a tab shows its page and marks it; a page not passed over stays.
  App d;
  d.pressAndMove(3);
  for (int p : {0, 2, 1, 1}) d.input.move(*d.main.Page[p], kLeftButton, 20.0f + p, 20);
  EXPECT_TRUE(d.main.Frame[1]->visible() && d.main.Page[1]->selected() &&
              !d.main.Frame[2]->visible() && !d.main.Frame[0]->visible());
  EXPECT_EQ(d.main.Frame[2]->left() + d.main.Frame[3]->left(), 3816);
}

}  // namespace
}  // namespace tw::test
