// The main window's life through its wired handlers: load with the settings of the moment,
// topmost after every change of state, Minimize, and the close that commits an open edit.
#include <gtest/gtest.h>

#include <string>

#include "app/lifecycle.h"
#include "app/wiring.h"
#include "core/entries.h"
#include "test_support.h"

namespace tw {
namespace {

using test::ReadFile;
using test::WriteFile;

struct LifecycleApp : test::TestApp {
  LifecycleApp() {
    app::WireEvents(app);
    app.requestExit = [this](int code) { exitCodes.push_back(code); };
  }
  core::MainWindow& main = app.main;
  std::vector<int> exitCodes;

  // The KeepOnTop calls so far, as the fake records them.
  std::vector<std::string> topmostCalls() const {
    return windows.callsStartingWith("setWindowTopmost");
  }
};

TEST(Lifecycle, LoadAppliesTheSettingsOfTheMomentAndMakesTheWindowTopmost) {
  LifecycleApp t;
  t.app.settings.ColorChoice = 1;
  t.app.settings.FontChoice = 1;
  t.app.settings.WindowTop = 300;
  t.app.settings.WindowLeft = -450;
  t.main.form.load();
  const std::string h = std::to_string(t.main.form.hwnd());
  t.windows.rects[t.main.form.hwnd()] = {10, 20, 200, 460};
  EXPECT_EQ(t.main.form.top(), 300);
  EXPECT_EQ(t.main.form.left(), -450);
  EXPECT_EQ(t.main.Names[44]->backColor(), (forms::Rgb{0, 255, 0}));
  EXPECT_TRUE(t.main.MinimizeBtn->bold());
  EXPECT_FALSE(t.main.form.onScreen());
  EXPECT_EQ(t.windows.calls,
            (std::vector<std::string>{"windowRect " + h, "setWindowTopmost " + h + " 0,0,0,0"}));

  // Shown, minimised, restored: topmost again each time, at the rectangle of the moment.
  t.main.form.setWindowState(forms::WindowState::Normal);
  t.main.form.show();
  t.main.form.nativeStateChanged(forms::WindowState::Minimized);
  t.main.form.nativeStateChanged(forms::WindowState::Normal);
  EXPECT_EQ(t.topmostCalls(), (std::vector<std::string>{
                                  "setWindowTopmost " + h + " 0,0,0,0",
                                  "setWindowTopmost " + h + " 10,20,200,460",
                                  "setWindowTopmost " + h + " 10,20,200,460",
                                  "setWindowTopmost " + h + " 10,20,200,460",
                              }));
  // Nothing of this activates any window.
  EXPECT_TRUE(t.windows.callsStartingWith("setForegroundWindow").empty());
}

TEST(Lifecycle, MinimizeCommitsAnOpenEditThroughTheFocusAndMinimises) {
  LifecycleApp t;
  t.main.form.load();
  core::LoadEntries(t.app);
  t.main.form.setWindowState(forms::WindowState::Normal);
  t.main.form.show();
  t.input.click(*t.main.Names[4]);
  t.main.Gettext->nativeTextChanged("before minimising");
  const auto topmostBefore = t.topmostCalls().size();

  t.input.click(*t.main.MinimizeBtn);
  EXPECT_EQ(t.main.Names[4]->caption(), "before minimising");
  EXPECT_EQ(ReadFile(t.entryFile()).substr(800, 17), "before minimising");
  EXPECT_FALSE(t.main.Gettext->visible());
  EXPECT_TRUE(t.main.Holdfocus->hasFocus());
  EXPECT_EQ(t.main.form.windowState(), forms::WindowState::Minimized);
  EXPECT_EQ(t.topmostCalls().size(), topmostBefore + 1);
  EXPECT_TRUE(t.exitCodes.empty());
}

TEST(Lifecycle, CloseWithoutAnEditWritesNothingAndEndsTheProgramOnce) {
  LifecycleApp t;
  const std::string entries = test::EntryFileWith({{3, "three"}});
  WriteFile(t.entryFile(), entries);
  t.main.form.load();
  core::LoadEntries(t.app);
  t.main.form.show();
  t.main.form.nativeCloseRequested();
  EXPECT_FALSE(t.main.form.loaded());
  EXPECT_EQ(t.exitCodes, std::vector<int>{0});
  EXPECT_EQ(ReadFile(t.entryFile()), entries);
  EXPECT_FALSE(test::Exists(t.settingsFile()));
}

}  // namespace
}  // namespace tw
