// The options dialog driven as a user would: opened by a click on "Options", choices made by
// releasing mouse buttons over them inside the modal show, closed by "OK" or the close box. The
// settings file is checked byte for byte after each choice, and a spying backend records the
// file at the moment the first control changes, so a choice is known to be saved before it is
// applied.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

#include "appearance/options.h"
#include "appearance/options_dialog.h"
#include "fill/target_tracking.h"
#include "store/settings_file.h"
#include "test_support.h"

namespace tw {
namespace {

using appearance::OptionsDialog;
using forms::Control;
using forms::HeadlessInput;
using forms::Property;

class SpyBackend : public forms::HeadlessBackend {
 public:
  std::function<void(Control&, Property)> onControlChanged;
  void controlChanged(Control& c, Property p) override {
    if (onControlChanged) onControlChanged(c, p);
  }
};

// The open dialog's controls, found by name and index as the layout names them.
struct DialogView {
  explicit DialogView(forms::Form& f)
      : form(f), Holdfocus(&f.control("Holdfocus")), OKBtn(&f.control("OKBtn")) {
    for (int i = 0; i < 2; ++i) FontOption[i] = &f.control("FontOption", i);
    for (int i = 0; i < 4; ++i) ColorOption[i] = &f.control("ColorOption", i);
  }
  forms::Form& form;
  Control* Holdfocus;
  Control* OKBtn;
  std::array<Control*, 2> FontOption{};
  std::array<Control*, 4> ColorOption{};
};

class OptionsDialogTest : public ::testing::Test {
 protected:
  OptionsDialogTest() {
    appearance::WireOptions(app);
    app.main.form.setWindowState(forms::WindowState::Normal);
    app.main.form.load();
    app.settings = {0, 2100, 1500, 0, 7, 5};
  }

  // Clicks "Options"; script runs while the dialog is shown modally and must close it.
  void WithDialog(const std::function<void(DialogView&, HeadlessInput&)>& script) {
    backend.modalScript = [script](forms::Form& form) {
      ASSERT_EQ(form.name(), "Options");
      DialogView dialog(form);
      HeadlessInput in(form);
      script(dialog, in);
    };
    app.main.OptionsBtn->setFocus();  // as the real press on the button does
    input.click(*app.main.OptionsBtn);
  }

  // A release of any mouse button over an option, as the hand does it.
  static void Choose(HeadlessInput& in, Control& option, int button) {
    in.press(option, button);
    in.release(option, button);
  }

  std::string SettingsFile() const { return test::ReadFile(folder.file("Typewell.ini")); }

  SpyBackend backend;
  forms::Toolkit toolkit{backend};
  platform::RecordingWindowSystem windows;
  test::TempFolder folder;
  core::App app{toolkit, windows, folder.withSeparator()};
  HeadlessInput input{app.main.form};
};

template <std::size_t N>
int SelectedIndex(const std::array<Control*, N>& group) {
  for (Control* c : group)
    if (c->selected()) return c->index();
  return -1;
}

int SelectedCount(const DialogView& d) {
  int n = 0;
  for (Control* c : d.FontOption) n += c->selected();
  for (Control* c : d.ColorOption) n += c->selected();
  return n;
}

TEST(OptionsDialogLayout, ChoicesLieAboveTheDottedLabelsAndTheFocusSinkIsNeverSeen) {
  forms::HeadlessBackend backend;
  forms::Toolkit toolkit{backend};
  OptionsDialog d(toolkit);
  EXPECT_EQ(&d.form.controlAt(0), d.Holdfocus);
  EXPECT_GE(d.Holdfocus->top(), d.form.clientHeight());
  // The dots run up to the choices: where a label and a container overlap, the container wins.
  EXPECT_EQ(d.form.controlAt(forms::Point{500, 200}), d.Label1[0]);
  EXPECT_EQ(d.form.controlAt(forms::Point{1060, 200}), d.Frame1);
  EXPECT_EQ(d.form.controlAt(forms::Point{1500, 200}), d.FontOption[0]);
  EXPECT_EQ(d.form.controlAt(forms::Point{2300, 850}), d.ColorOption[3]);
  EXPECT_EQ(d.form.controlAt(forms::Point{2040, 650}), d.Frame2);
}

TEST_F(OptionsDialogTest, OpeningMarksTheStoredChoicesAtTheMainWindowCornerAndSavesNothing) {
  app.settings.ColorChoice = 3;
  app.settings.FontChoice = 1;
  app.main.form.setTop(2700);
  app.main.form.setLeft(4350);
  WithDialog([&](DialogView& d, HeadlessInput&) {
    EXPECT_EQ(d.form.top(), 2700);
    EXPECT_EQ(d.form.left(), 4350);
    EXPECT_TRUE(d.ColorOption[3]->selected());
    EXPECT_TRUE(d.FontOption[1]->selected());
    EXPECT_EQ(d.ColorOption[3]->caption(), "Yellow");
    EXPECT_EQ(d.FontOption[1]->caption(), "Bold");
    EXPECT_EQ(SelectedCount(d), 2);
    for (int i = 0; i < d.form.controlCount(); ++i) {
      EXPECT_TRUE(d.form.controlAt(i).bold()) << d.form.controlAt(i).name();
    }
    EXPECT_EQ(
        windows.callsStartingWith("setWindowTopmost"),
        std::vector<std::string>{"setWindowTopmost " + std::to_string(d.form.hwnd()) + " 0,0,0,0"});
    EXPECT_EQ(toolkit.formCount(), 2);
    d.form.nativeCloseRequested();
  });
  EXPECT_FALSE(test::Exists(folder.file("Typewell.ini")));
  EXPECT_EQ(toolkit.formCount(), 1);
}

TEST_F(OptionsDialogTest, EachColourIsSavedBeforeTheLabelsTakeItWhateverTheButton) {
  std::vector<std::string> fileWhenLabelsChange;
  backend.onControlChanged = [&](Control& c, Property p) {
    if (&c == app.main.Names[0] && p == Property::BackColor)
      fileWhenLabelsChange.push_back(SettingsFile());
  };
  const std::array<forms::Rgb, 4> kExpected{
      {{255, 255, 255}, {0, 255, 0}, {0, 255, 255}, {255, 255, 0}}};
  const std::vector<std::pair<int, int>> kChoices{{1, forms::kLeftButton},
                                                  {2, forms::kRightButton},
                                                  {3, forms::kMiddleButton},
                                                  {3, forms::kLeftButton},  // again: same result
                                                  {0, forms::kLeftButton}};
  WithDialog([&](DialogView& d, HeadlessInput& in) {
    for (const auto& [choice, button] : kChoices) {
      SCOPED_TRACE("colour " + std::to_string(choice) + " button " + std::to_string(button));
      Choose(in, *d.ColorOption[choice], button);
      store::SettingsRecord expected{0, 2100, 1500, static_cast<std::int16_t>(choice), 7, 5};
      EXPECT_EQ(SettingsFile(), test::SettingsBytes(expected));
      ASSERT_FALSE(fileWhenLabelsChange.empty());
      EXPECT_EQ(fileWhenLabelsChange.back(), test::SettingsBytes(expected));
      for (Control* label : app.main.Names) EXPECT_EQ(label->backColor(), kExpected[choice]);
      EXPECT_TRUE(d.ColorOption[choice]->selected());
      EXPECT_EQ(d.form.focused(), d.Holdfocus);
    }
    EXPECT_EQ(fileWhenLabelsChange.size(), kChoices.size());
    d.OKBtn->onClick(-1);
  });
  for (Control* c : app.main.Names) EXPECT_FALSE(c->bold());
}

TEST_F(OptionsDialogTest, FontChoiceIsSavedThenWeighsTheDialogAndThenTheMainWindow) {
  std::vector<const forms::Form*> weighed;
  std::string fileAtFirstWeight;
  backend.onControlChanged = [&](Control& c, Property p) {
    if (p != Property::Bold) return;
    if (weighed.empty()) fileAtFirstWeight = SettingsFile();
    if (weighed.empty() || weighed.back() != &c.form()) weighed.push_back(&c.form());
  };
  auto allWeigh = [](const forms::Form& form, bool bold) {
    for (int i = 0; i < form.controlCount(); ++i) {
      const Control& c = form.controlAt(i);
      if (c.hasFont() && c.bold() != bold) return false;
    }
    return true;
  };
  WithDialog([&](DialogView& d, HeadlessInput& in) {
    weighed.clear();  // the opening pass
    Choose(in, *d.FontOption[1], forms::kRightButton);
    const std::string boldBytes = test::SettingsBytes({1, 2100, 1500, 0, 7, 5});
    EXPECT_EQ(SettingsFile(), boldBytes);
    EXPECT_EQ(fileAtFirstWeight, boldBytes);
    EXPECT_EQ(weighed, (std::vector<const forms::Form*>{&d.form, &app.main.form}));
    EXPECT_TRUE(allWeigh(d.form, true));
    EXPECT_TRUE(allWeigh(app.main.form, true));
    EXPECT_TRUE(app.main.Gettext->bold() && app.main.Dragbox->bold() && app.main.Names[59]->bold());
    EXPECT_EQ(SelectedIndex(d.FontOption), 1);
    EXPECT_EQ(d.form.focused(), d.Holdfocus);

    weighed.clear();
    Choose(in, *d.FontOption[0], forms::kLeftButton);
    EXPECT_EQ(SettingsFile(), test::SettingsBytes({0, 2100, 1500, 0, 7, 5}));
    EXPECT_EQ(weighed, (std::vector<const forms::Form*>{&d.form, &app.main.form}));
    EXPECT_TRUE(allWeigh(d.form, false));
    EXPECT_TRUE(allWeigh(app.main.form, false));
    EXPECT_EQ(SelectedIndex(d.FontOption), 0);
    d.form.nativeCloseRequested();
  });
}

TEST_F(OptionsDialogTest, OkAndTheCloseBoxBothJustCloseAndTheNextOpeningIsFresh) {
  const std::vector<std::pair<const char*, std::function<void(DialogView&, HeadlessInput&)>>>
      kClosers{{"OK", [](DialogView& d, HeadlessInput& in) { in.click(*d.OKBtn); }},
               {"close box", [](DialogView& d, HeadlessInput&) { d.form.nativeCloseRequested(); }}};
  int choice = 1;
  for (const auto& [how, close] : kClosers) {
    SCOPED_TRACE(how);
    const int previous = app.settings.ColorChoice;
    std::string saved;
    WithDialog([&](DialogView& d, HeadlessInput& in) {
      EXPECT_EQ(SelectedIndex(d.ColorOption), previous);
      Choose(in, *d.ColorOption[choice], forms::kLeftButton);
      saved = SettingsFile();
      close(d, in);
    });
    EXPECT_EQ(app.main.form.focused(), app.main.Holdfocus);
    EXPECT_EQ(SettingsFile(), saved);  // closing writes nothing
    EXPECT_EQ(app.settings.ColorChoice, choice);
    choice = 2;
  }
  EXPECT_EQ(std::count(backend.log.begin(), backend.log.end(), "destroy Options"), 2);
  EXPECT_TRUE(windows.errors.empty());
}

TEST_F(OptionsDialogTest, AChoiceThatCannotBeSavedIsReportedAndStillApplied) {
  std::filesystem::create_directory(folder.file("Typewell.ini"));
  WithDialog([&](DialogView& d, HeadlessInput& in) {
    Choose(in, *d.ColorOption[3], forms::kLeftButton);
    EXPECT_EQ(windows.errors.size(), 1u);
    for (Control* label : app.main.Names) EXPECT_EQ(label->backColor(), (forms::Rgb{255, 255, 0}));
    EXPECT_EQ(d.form.focused(), d.Holdfocus);
    d.form.nativeCloseRequested();
  });
  EXPECT_EQ(app.settings.ColorChoice, 3);
}

TEST_F(OptionsDialogTest, TheDialogInFrontIsNeverTakenAsTheTargetWindow) {
  constexpr platform::WindowHandle kEditor = 0x5150;
  WithDialog([&](DialogView& d, HeadlessInput&) {
    windows.foreground = kEditor;
    fill::Timer1_Timer(app);
    ASSERT_EQ(app.targetWindow, kEditor);
    windows.foreground = d.form.hwnd();
    fill::Timer1_Timer(app);
    EXPECT_EQ(app.targetWindow, kEditor);
    d.form.nativeCloseRequested();
  });
}

}  // namespace
}  // namespace tw
