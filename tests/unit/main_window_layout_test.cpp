// The main window's control tree: names, indices, containment, geometry and initial state.
#include <gtest/gtest.h>

#include "test_support.h"

namespace tw {
namespace {

TEST(MainWindowLayout, EntryRowsLieInTheirPageContainers) {
  test::TestApp t;
  auto& m = t.app.main;
  for (int s = 0; s < 60; ++s) {
    const int page = s / 15;
    const float top = 288.0f * static_cast<float>(s % 15);
    EXPECT_EQ(m.Names[s]->container(), m.Frame[page]) << s;
    EXPECT_EQ(m.FillBtn[s]->container(), m.Frame[page]) << s;
    EXPECT_EQ(m.Names[s]->bounds(), (forms::Rect{828, top, 1932, 276})) << s;
    EXPECT_EQ(m.FillBtn[s]->bounds(), (forms::Rect{0, top, 804, 300})) << s;
    EXPECT_EQ(m.Names[s]->index(), s);
    EXPECT_EQ(m.FillBtn[s]->caption(), "Insert");
    EXPECT_EQ(m.Names[s]->backColor(), (forms::Rgb{255, 255, 255}));
    EXPECT_EQ(&m.form.control("Names", s), m.Names[s]);
  }
  EXPECT_EQ(m.Names[14]->top(), 4032);
  EXPECT_EQ(m.Names[15]->top(), 0);
}

TEST(MainWindowLayout, PagesBarButtonsAndHiddenControls) {
  test::TestApp t;
  auto& m = t.app.main;
  const float frameLefts[] = {0, 2952, 3384, 3816};
  const float frameWidths[] = {2856, 2928, 3108, 2892};
  for (int p = 0; p < 4; ++p) {
    EXPECT_EQ(m.Frame[p]->bounds(), (forms::Rect{frameLefts[p], 324, frameWidths[p], 4332}));
    EXPECT_EQ(m.Frame[p]->visible(), p == 0);
    EXPECT_EQ(m.Page[p]->container(), m.Frame1);
    EXPECT_EQ(m.Page[p]->caption(), std::to_string(p + 1));
    EXPECT_EQ(m.Page[p]->left(), 900 + 468 * p);
    EXPECT_FALSE(m.Page[p]->selected());
  }
  EXPECT_EQ(m.Label1->caption(), "Page");
  EXPECT_EQ(m.Command1->caption(), "Tutorial");
  EXPECT_EQ(m.OptionsBtn->bounds(), (forms::Rect{1368, 0, 1404, 300}));
  EXPECT_EQ(m.WebsiteBtn->bounds(), (forms::Rect{0, 5004, 1380, 300}));
  EXPECT_EQ(m.MinimizeBtn->bounds(), (forms::Rect{0, 5328, 2784, 480}));
  EXPECT_FALSE(m.Gettext->visible());
  EXPECT_EQ(m.Gettext->maxLength(), 200);
  EXPECT_FALSE(m.Dragbox->visible());
  EXPECT_EQ(m.Timer1->interval(), 1000);
  EXPECT_EQ(m.form.windowState(), forms::WindowState::Minimized);
  EXPECT_EQ(m.form.clientWidth(), 2796);
  EXPECT_EQ(m.form.clientHeight(), 6576);
  // 60 rows, 4 containers, 4 tabs and 10 other controls, all in one pass.
  EXPECT_EQ(m.form.controlCount(), 120 + 4 + 4 + 10);
}

TEST(MainWindowLayout, FocusSinkIsFirstInTabOrderAndNeverTheControlUnderThePointer) {
  test::TestApp t;
  auto& m = t.app.main;
  EXPECT_EQ(&m.form.controlAt(0), m.Holdfocus);
  m.form.load();
  EXPECT_EQ(m.form.focused(), m.Holdfocus);
  EXPECT_EQ(m.form.controlAt(forms::Point{200, 100}), m.Command1);
  // The proxy lies beneath the page containers.
  m.Dragbox->setVisible(true);
  m.Dragbox->setBounds({828, 324, 1932, 264});
  EXPECT_EQ(m.form.controlAt(forms::Point{900, 400}), m.Names[0]);
}

}  // namespace
}  // namespace tw
