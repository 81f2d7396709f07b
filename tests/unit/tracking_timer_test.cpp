// The main window's tick and the activation samples: which foreground windows become the
// TargetWindow, and when the window position reaches the settings file (byte-exact).
#include <gtest/gtest.h>

#include <filesystem>

#include "core/keep_on_top.h"
#include "fill/filling.h"
#include "store/settings_file.h"
#include "test_support.h"

namespace tw {
namespace {

constexpr platform::WindowHandle kEditor = 70000;
constexpr platform::WindowHandle kBrowser = 71000;
constexpr platform::WindowHandle kOwnMessageBox = 72000;

class Tracking : public ::testing::Test {
 protected:
  Tracking() {
    fill::WireFilling(t.app);
    t.app.main.form.load();
    t.app.main.form.setWindowState(forms::WindowState::Normal);  // as shown after start-up
    t.app.settings = {1, 1200, 2400, 2, 7, 5};
    t.app.main.form.setTop(1200);
    t.app.main.form.setLeft(2400);
  }

  void tick() { t.app.main.Timer1->tick(); }
  std::string settingsBytes() const { return test::ReadFile(t.settingsFile()); }

  test::TestApp t;
};

TEST_F(Tracking, TheLastForeignForegroundWindowBecomesTheTarget) {
  t.windows.foreground = t.app.main.form.hwnd();
  tick();
  EXPECT_EQ(t.app.targetWindow, 0u);  // only Typewell so far

  t.windows.foreground = kEditor;
  tick();
  EXPECT_EQ(t.app.targetWindow, kEditor);

  // Back in Typewell, or no foreground window at all: the target stays.
  t.windows.foreground = t.app.main.form.hwnd();
  tick();
  t.windows.foreground = 0;
  tick();
  EXPECT_EQ(t.app.targetWindow, kEditor);

  // Every loaded form of the program is its own, not only the main window, and so is every
  // other window of its process (a message box about a failed save).
  forms::Form dialog(t.toolkit, "Options", {});
  dialog.load();
  ASSERT_NE(dialog.hwnd(), 0u);
  t.windows.ownWindows = {kOwnMessageBox};
  core::KeepInFrontLater(t.app);  // the main window lost the activation
  for (const platform::WindowHandle own : {dialog.hwnd(), kOwnMessageBox}) {
    t.windows.foreground = own;
    tick();
    EXPECT_EQ(t.app.targetWindow, kEditor);
  }
  EXPECT_TRUE(t.windows.callsStartingWith("raiseTopmost").empty());

  // Another program in front: the main window goes on top again, once.
  t.windows.foreground = kBrowser;
  tick();
  tick();
  EXPECT_EQ(t.app.targetWindow, kBrowser);
  EXPECT_EQ(t.windows.callsStartingWith("raiseTopmost"),
            std::vector<std::string>{"raiseTopmost " + std::to_string(t.app.main.form.hwnd())});
}

TEST_F(Tracking, DeactivationAndAPressOnTheInactiveWindowAlsoSample) {
  auto& form = t.app.main.form;
  t.windows.foreground = kEditor;  // a press arrives while the editor is still in front
  form.nativeMouseActivated();
  EXPECT_EQ(t.app.targetWindow, kEditor);

  t.windows.foreground = kBrowser;  // the user switched away from Typewell
  form.nativeDeactivated();
  EXPECT_EQ(t.app.targetWindow, kBrowser);

  t.windows.foreground = form.hwnd();
  form.nativeMouseActivated();
  t.windows.foreground = 0;
  form.nativeDeactivated();
  EXPECT_EQ(t.app.targetWindow, kBrowser);
  // Sampling never writes the settings file.
  EXPECT_FALSE(test::Exists(t.settingsFile()));
}

TEST_F(Tracking, AMoveIsSavedOnceWithTheWholeRecord) {
  tick();
  EXPECT_FALSE(test::Exists(t.settingsFile()));  // not moved: nothing written

  t.app.main.form.setLeft(2415);  // one pixel
  tick();
  const store::SettingsRecord moved{1, 1200, 2415, 2, 7, 5};
  EXPECT_EQ(t.app.settings, moved);
  EXPECT_EQ(settingsBytes(), test::SettingsBytes(moved));

  std::filesystem::remove(t.settingsFile());
  tick();
  EXPECT_FALSE(test::Exists(t.settingsFile()));

  t.app.main.form.setTop(-300);
  t.app.main.form.setLeft(-15);
  tick();
  EXPECT_EQ(settingsBytes(), test::SettingsBytes({1, -300, -15, 2, 7, 5}));
}

TEST_F(Tracking, NoPositionIsSavedWhileMinimised) {
  auto& form = t.app.main.form;
  form.setWindowState(forms::WindowState::Minimized);
  form.setTop(-32000);  // where the system parks a minimised window
  form.setLeft(-32000);
  tick();
  EXPECT_FALSE(test::Exists(t.settingsFile()));
  EXPECT_EQ(t.app.settings.WindowTop, 1200);

  form.setWindowState(forms::WindowState::Normal);
  form.setTop(1215);
  form.setLeft(2400);
  tick();
  EXPECT_EQ(settingsBytes(), test::SettingsBytes({1, 1215, 2400, 2, 7, 5}));
}

TEST_F(Tracking, FractionalPositionsRoundHalvesToEven) {
  struct Case {
    float top, left;
    std::int16_t savedTop, savedLeft;
  };
  // The last two stand still at 7.5 and at 8.5714 twips a pixel (192 dpi, 175 %).
  for (const Case c :
       {Case{1000.5f, 2001.5f, 1000, 2002}, Case{-0.5f, 2.5f, 0, 2}, Case{-1.5f, 10.4f, -2, 10},
        Case{32767.4f, -32768.5f, 32767, -32768}, Case{7.5f * 77, 7.5f * 101, 578, 758},
        Case{8.5714f * 77, 8.5714f * 101, 660, 866}}) {
    t.app.main.form.setTop(c.top);
    t.app.main.form.setLeft(c.left);
    tick();
    EXPECT_EQ(t.app.settings.WindowTop, c.savedTop) << c.top;
    EXPECT_EQ(t.app.settings.WindowLeft, c.savedLeft) << c.left;
    EXPECT_EQ(settingsBytes(), test::SettingsBytes({1, c.savedTop, c.savedLeft, 2, 7, 5}));
    // Standing still: no tick writes again.
    std::filesystem::remove(t.settingsFile());
    tick();
    tick();
    EXPECT_FALSE(test::Exists(t.settingsFile())) << c.top;
  }
}

TEST_F(Tracking, APositionBeyondSixteenBitsKeepsTheLastSavedOne) {
  for (const auto& [top, left] :
       {std::pair{1200.0f, 40000.0f}, std::pair{-32769.0f, 2400.0f}, std::pair{32767.5f, 0.0f}}) {
    t.app.main.form.setTop(top);
    t.app.main.form.setLeft(left);
    tick();
    EXPECT_EQ(t.app.settings, (store::SettingsRecord{1, 1200, 2400, 2, 7, 5})) << top << left;
    EXPECT_FALSE(test::Exists(t.settingsFile()));
  }
  // Back on a screen that fits: saved as usual.
  t.app.main.form.setTop(600);
  t.app.main.form.setLeft(900);
  tick();
  EXPECT_EQ(settingsBytes(), test::SettingsBytes({1, 600, 900, 2, 7, 5}));
}

TEST_F(Tracking, AFailingSaveIsReportedOnceAndTriedAgainOnLaterTicks) {
  std::filesystem::create_directory(t.settingsFile());  // cannot be opened as a file
  t.app.main.form.setLeft(2415);
  tick();
  tick();
  t.app.main.form.setLeft(2430);
  tick();
  EXPECT_EQ(t.windows.errors.size(), 1u);
  EXPECT_EQ(t.app.settings.WindowLeft, 2400);

  std::filesystem::remove(t.settingsFile());
  tick();
  EXPECT_EQ(settingsBytes(), test::SettingsBytes({1, 1200, 2430, 2, 7, 5}));
  EXPECT_EQ(t.windows.errors.size(), 1u);
}

}  // namespace
}  // namespace tw
