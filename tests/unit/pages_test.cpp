// Page switching by releases over the page tabs and by drags passing over them: which container
// is shown, where the containers stand, and which tab is selected. Drops across pages are
// checked in drag_drop_test.cpp.
#include <gtest/gtest.h>

#include <string>

#include "unit/test_support.h"

namespace tw::test {
namespace {

using forms::kLeftButton;

struct PagesTest : ::testing::Test {
  PagesTest() {
    for (int p = 0; p < core::kPageCount; ++p) designLeft[p] = w.Frame[p]->left();
  }

  // The page on show, checked to be the only container shown; -1 if none or several are.
  int pageOnShow() const {
    int shown = -1;
    for (int p = 0; p < core::kPageCount; ++p) {
      if (!w.Frame[p]->visible()) continue;
      if (shown >= 0) return -1;
      shown = p;
    }
    return shown;
  }
  int selectedTab() const {
    int selected = -1;
    for (int p = 0; p < core::kPageCount; ++p) {
      if (w.Page[p]->selected()) selected = selected < 0 ? p : -2;
    }
    return selected;
  }

  ShownApp t{EntryFileWith({{3, "A"}, {16, "sixteen"}})};
  core::MainWindow& w = t.main;
  forms::Twips designLeft[core::kPageCount]{};
};

TEST_F(PagesTest, AReleaseOverATabShowsItsPageAndEachContainerMovesToTheFirstOnesPlace) {
  const forms::Twips top = w.Frame[0]->top();
  const int order[] = {2, 1, 3, 0, 2};
  const int buttons[] = {forms::kRightButton, forms::kMiddleButton, kLeftButton, kLeftButton,
                         kLeftButton};
  for (int i = 0; i < 5; ++i) {
    const int p = order[i];
    SCOPED_TRACE("tab " + std::to_string(p + 1));
    t.input.click(*w.Page[p], buttons[i]);
    EXPECT_EQ(pageOnShow(), p);
    EXPECT_EQ(selectedTab(), p);
    EXPECT_EQ(w.Frame[p]->left(), designLeft[0]);
    EXPECT_EQ(w.Frame[p]->top(), top);
    // A label of the page on show stands where the same row of the first page stands.
    EXPECT_EQ(w.Names[p * 15 + 4]->absoluteBounds(), w.Names[4]->absoluteBounds());
  }
  // Pressed on a tab, released outside the window: the marked tab still names the page on show.
  t.input.press(*w.Page[1]);
  t.input.releaseAt({-300, 900});
  EXPECT_EQ(pageOnShow(), 1);
  EXPECT_EQ(selectedTab(), 1);
  // All containers were moved once and stay at the first one's place, hidden but one.
  for (int p = 0; p < core::kPageCount; ++p) EXPECT_EQ(w.Frame[p]->left(), designLeft[0]);
  EXPECT_NE(designLeft[1], designLeft[0]);
}

TEST_F(PagesTest, AReleaseOverTheTabOnShowKeepsThePageAndTakesTheFocusToTheSink) {
  w.Gettext->setVisible(true);
  w.Gettext->setFocus();
  ASSERT_TRUE(w.Gettext->hasFocus());
  t.input.click(*w.Page[0]);
  EXPECT_TRUE(w.Holdfocus->hasFocus());
  EXPECT_EQ(pageOnShow(), 0);
  EXPECT_EQ(w.Frame[1]->left(), designLeft[1]) << "the other containers were not moved";
}

TEST_F(PagesTest, ADragOverATabShowsItsPageAndSelectsTheTab) {
  t.input.press(*w.Names[3], kLeftButton, 50, 50);
  t.input.move(*w.Names[3], kLeftButton, 50, 70);
  ASSERT_TRUE(w.form.dragging());
  t.input.move(*w.Page[0]);  // the tab of the page on show
  EXPECT_EQ(pageOnShow(), 0);

  t.input.move(*w.Page[2]);
  EXPECT_EQ(pageOnShow(), 2);
  EXPECT_EQ(selectedTab(), 2) << "selected although no click took place";
  t.input.move(*w.Page[1], kLeftButton, 20, 20);
  t.input.move(*w.Page[1], kLeftButton, 30, 20);
  EXPECT_EQ(pageOnShow(), 1);
  EXPECT_EQ(selectedTab(), 1);
  EXPECT_EQ(w.Frame[2]->left(), designLeft[0]);
  EXPECT_EQ(w.Frame[3]->left(), designLeft[3]) << "a page not passed over stays where it is";
}

TEST_F(PagesTest, SwitchingPagesCommitsAnOpenEditAndTheNextEditLiesOverItsLabel) {
  t.input.click(*w.Names[3]);
  w.Gettext->nativeTextChanged("C");
  t.input.click(*w.Page[1], forms::kRightButton);
  EXPECT_FALSE(w.Gettext->visible());
  EXPECT_EQ(ReadFile(t.entryFile()), EntryFileWith({{3, "C"}, {16, "sixteen"}}));

  t.input.click(*w.Names[16]);
  const forms::Rect label = w.Names[16]->absoluteBounds();
  EXPECT_EQ(w.Gettext->left(), label.left);
  EXPECT_EQ(w.Gettext->top(), label.top);
  EXPECT_EQ(w.Gettext->caption(), "sixteen");
}

}  // namespace
}  // namespace tw::test
