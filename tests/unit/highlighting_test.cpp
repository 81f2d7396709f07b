// Label colours and font weights: recolouring all 60 labels (the colour of each choice is checked
// through the options dialog), and the weight pass that reaches every control with a font and
// passes over the timer.
#include <gtest/gtest.h>

#include "appearance/highlighting.h"
#include "test_support.h"

namespace tw {
namespace {

using forms::Rgb;

TEST(Highlighting, RecolouringReachesAll60LabelsEmptyOrNotAndNothingElse) {
  test::TestApp t;
  core::MainWindow& main = t.app.main;
  main.Names[5]->setCaption("filled");
  main.Dragbox->setBackColor({1, 2, 3});
  t.app.settings.ColorChoice = 2;
  appearance::RecolourEntryLabels(t.app);
  for (forms::Control* label : main.Names) EXPECT_EQ(label->backColor(), (Rgb{0, 255, 255}));
  EXPECT_EQ(main.Dragbox->backColor(), (Rgb{1, 2, 3}));
  EXPECT_FALSE(main.Label1->hasBackColor());
  EXPECT_FALSE(main.Frame[0]->hasBackColor());
}

// Every control of the form, with or without a font, and whether it is bold.
void ExpectWeight(const forms::Form& form, bool bold) {
  int withoutFont = 0;
  for (int i = 0; i < form.controlCount(); ++i) {
    const forms::Control& c = form.controlAt(i);
    if (!c.hasFont()) {
      ++withoutFont;
      EXPECT_FALSE(c.bold()) << c.name();
      continue;
    }
    EXPECT_EQ(c.bold(), bold) << c.name() << "(" << c.index() << ")";
  }
  EXPECT_EQ(withoutFont, 1);  // the timer
}

TEST(Highlighting, WeightPassReachesHiddenControlsAndPassesOverTheTimer) {
  test::TestApp t;
  core::MainWindow& main = t.app.main;
  main.form.load();
  main.Names[0]->setBackColor({9, 9, 9});

  // The timer sits last in the enumeration: the pass does not stop before it, and goes on
  // over it without an error.
  t.app.settings.FontChoice = 1;
  ASSERT_NO_THROW(appearance::SetBoldMainWindow(t.app));
  ExpectWeight(main.form, true);
  EXPECT_TRUE(main.Gettext->bold());
  EXPECT_TRUE(main.Dragbox->bold());
  EXPECT_TRUE(main.Names[59]->bold());
  EXPECT_TRUE(main.Page[3]->bold());
  EXPECT_EQ(main.Names[0]->backColor(), (Rgb{9, 9, 9}));  // the weight pass keeps colours
  EXPECT_TRUE(t.windows.errors.empty());

  // setbold recolours first, then weighs.
  t.app.settings.FontChoice = 0;
  t.app.settings.ColorChoice = 3;
  appearance::setbold(t.app);
  ExpectWeight(main.form, false);
  for (forms::Control* label : main.Names) EXPECT_EQ(label->backColor(), (Rgb{255, 255, 0}));
}

TEST(Highlighting, WeightPassGoesOnPastAControlWithoutAFontAnywhere) {
  forms::HeadlessBackend backend;
  forms::Toolkit toolkit{backend};
  forms::Form form(toolkit, "F", {});
  form.add(forms::ControlKind::Timer, "T", -1, nullptr, {});
  form.add(forms::ControlKind::Label, "L", -1, nullptr, {0, 0, 10, 10});
  form.add(forms::ControlKind::Timer, "T2", -1, nullptr, {});
  form.add(forms::ControlKind::PushButton, "B", -1, nullptr, {0, 0, 10, 10});
  appearance::WeightPass(form, 1);
  EXPECT_TRUE(form.control("L").bold());
  EXPECT_TRUE(form.control("B").bold());
}

}  // namespace
}  // namespace tw
