// The start-up sequence end to end over a headless backend and the recording services fake:
// the single-instance rules, the order of the steps (seen from each KeepOnTop), the window's
// state, place, size, hint and appearance, the settings file as each start leaves it, and
// start-up failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/startup.h"
#include "test_support.h"

namespace tw {
namespace {

using store::SettingsRecord;
using test::ReadFile;
using test::WriteFile;

// What the window looked like at one KeepOnTop.
struct Snapshot {
  bool onScreen = false;
  forms::Twips top = 0, left = 0, height = 0;
  forms::Rgb colour;
  bool bold = false;
  bool pageMarked = false;
  std::string entry0;
};

// The fake, plus a look at the window at every KeepOnTop, a first instance that shows its
// window after a number of waits, and the rectangles asked about on monitors.
class StartupServices : public platform::RecordingWindowSystem {
 public:
  std::unique_ptr<core::App>* app = nullptr;
  std::vector<Snapshot> snapshots;
  int windowAfterSleeps = -1;  // findWindow finds 99 after this many sleeps
  std::vector<platform::PixelRect> monitorQuestions;
  std::vector<std::string>* backendLog = nullptr;  // reports are logged there too, in order

  void setWindowTopmost(platform::WindowHandle window, const platform::PixelRect& r) override {
    RecordingWindowSystem::setWindowTopmost(window, r);
    const core::MainWindow& m = (*app)->main;
    snapshots.push_back({m.form.onScreen(), m.form.top(), m.form.left(), m.form.height(),
                         m.Names[0]->backColor(), m.Names[0]->bold(), m.Page[0]->selected(),
                         m.Names[0]->caption()});
  }
  void sleep(int milliseconds) override {
    RecordingWindowSystem::sleep(milliseconds);
    if (windowAfterSleeps > 0 && --windowAfterSleeps == 0) existingWindow = 99;
  }
  void reportError(const std::string& message, platform::WindowHandle owner) override {
    RecordingWindowSystem::reportError(message, owner);
    backendLog->push_back("reportError");
  }
  bool onAnyMonitor(const platform::PixelRect& r) override {
    monitorQuestions.push_back(r);
    return RecordingWindowSystem::onAnyMonitor(r);
  }
};

struct Start {
  forms::HeadlessBackend backend;
  forms::Toolkit toolkit{backend};
  StartupServices windows;
  test::TempFolder folder;
  std::unique_ptr<core::App> app;
  std::vector<int> exitRequests;

  Start() {
    windows.exePath = folder.file("Typewell.exe");
    windows.app = &app;
    windows.backendLog = &backend.log;
  }
  std::optional<int> run() {
    return app::Main(
        toolkit, windows, [this](int code) { exitRequests.push_back(code); }, app);
  }
  std::string settingsFile() const { return folder.file("Typewell.ini"); }
  std::string entryFile() const { return folder.file("Forms.dat"); }
  bool folderEmpty() const { return std::filesystem::is_empty(folder.withSeparator()); }
  const core::MainWindow& main() const { return app->main; }
  bool hinted(int slot) const {
    return main().Names[slot]->toolTip() == " Click to add or edit text ";
  }
};

// The headless window at its layout size is 2886 × 6996 twips on a 19200 × 15360 screen.
constexpr forms::Twips kCentreTop = 4182;
constexpr forms::Twips kCentreLeft = 8157;

TEST(Startup, FirstStartRunsTheStepsInOrderAndOpensNormalCentredAndHinted) {
  Start s;
  ASSERT_EQ(s.run(), std::nullopt);
  ASSERT_NE(s.app, nullptr);
  EXPECT_EQ(s.app->programFolder, s.folder.withSeparator());

  // Step 2 first: the window search, then the lock of this folder.
  ASSERT_GE(s.windows.calls.size(), 2u);
  EXPECT_EQ(s.windows.calls[0], "findWindow  Typewell");
  EXPECT_EQ(s.windows.calls[1],
            "acquireInstanceLock " + app::InstanceLockName(s.folder.withSeparator()));

  // KeepOnTop at load (all-zero settings, nothing loaded), at the show and once more after it.
  ASSERT_EQ(s.windows.snapshots.size(), 3u);
  const Snapshot& load = s.windows.snapshots[0];
  EXPECT_FALSE(load.onScreen);
  EXPECT_EQ(load.top, 0);
  EXPECT_EQ(load.left, 0);
  EXPECT_EQ(load.height, 6996);
  EXPECT_FALSE(load.pageMarked);
  for (const Snapshot& shown : {s.windows.snapshots[1], s.windows.snapshots[2]}) {
    EXPECT_TRUE(shown.onScreen);
    EXPECT_EQ(shown.top, kCentreTop);  // centred for the layout height, then shortened
    EXPECT_EQ(shown.left, kCentreLeft);
    EXPECT_EQ(shown.height, 6204);
    EXPECT_TRUE(shown.pageMarked);
  }
  EXPECT_EQ(s.windows.calls.back().rfind("setWindowTopmost", 0), 0u);

  EXPECT_EQ(s.main().form.caption(), " Typewell");
  EXPECT_EQ(s.main().form.windowState(), forms::WindowState::Normal);
  EXPECT_EQ(s.main().WebsiteBtn->width(), 2784);
  EXPECT_EQ(s.app->settings, (SettingsRecord{0, 4182, 8157, 0, 0, 1}));
  for (int slot = 0; slot < 15; ++slot) EXPECT_TRUE(s.hinted(slot)) << slot;
  for (int slot = 15; slot < 60; ++slot) EXPECT_EQ(s.main().Names[slot]->toolTip(), "") << slot;
  EXPECT_EQ(ReadFile(s.settingsFile()), "");
  EXPECT_EQ(ReadFile(s.entryFile()), std::string(12000, ' '));
  EXPECT_TRUE(s.windows.errors.empty());
  // The window was made normal before it was shown.
  const auto& log = s.backend.log;
  const auto normal = std::find(log.begin(), log.end(), "state DoIt normal");
  const auto shown = std::find(log.begin(), log.end(), "show DoIt");
  EXPECT_LT(normal, shown);
  EXPECT_NE(shown, log.end());
}

TEST(Startup, AWrittenSettingsFileOpensMinimisedWithItsAppearanceAndCountsTheStart) {
  Start s;
  WriteFile(s.settingsFile(), test::SettingsBytes({1, 1200, 3000, 9, 77, 8}));
  WriteFile(s.entryFile(), test::EntryFileWith({{0, "entry"}}));
  ASSERT_EQ(s.run(), std::nullopt);
  EXPECT_EQ(s.main().form.windowState(), forms::WindowState::Minimized);
  EXPECT_EQ(std::count(s.backend.log.begin(), s.backend.log.end(), "state DoIt normal"), 0);
  EXPECT_EQ(s.main().form.top(), 1200);
  EXPECT_EQ(s.main().form.left(), 3000);
  // Stored colour 9 shows green while the file keeps 9; the count 8 became 9: still hinted.
  EXPECT_EQ(ReadFile(s.settingsFile()), test::SettingsBytes({1, 1200, 3000, 9, 77, 9}));
  const Snapshot& shown = s.windows.snapshots.back();
  EXPECT_EQ(shown.colour, (forms::Rgb{0, 255, 0}));
  EXPECT_TRUE(shown.bold);
  EXPECT_EQ(shown.entry0, "entry");
  EXPECT_TRUE(s.hinted(14));
  // The window at its stored place was checked against the monitors, in pixels.
  ASSERT_EQ(s.windows.monitorQuestions.size(), 1u);
  EXPECT_EQ(s.windows.monitorQuestions[0], (platform::PixelRect{200, 80, 392, 546}));
}

TEST(Startup, TheHintEndsWhenTheCountReaches10AndTheCountStopsAt20) {
  struct Case {
    std::int16_t stored, after;
    bool hint;
  };
  for (const Case c : {Case{9, 10, false}, Case{19, 20, false}, Case{20, 20, false}}) {
    Start s;
    WriteFile(s.settingsFile(), test::SettingsBytes({0, 1200, 3000, 2, 0, c.stored}));
    ASSERT_EQ(s.run(), std::nullopt);
    EXPECT_EQ(s.hinted(0), c.hint) << c.stored;
    EXPECT_EQ(ReadFile(s.settingsFile()), test::SettingsBytes({0, 1200, 3000, 2, 0, c.after}))
        << c.stored;
  }
}

TEST(Startup, APositionOnNoMonitorOpensCentred) {
  Start s;
  s.windows.allOnMonitor = false;
  WriteFile(s.settingsFile(), test::SettingsBytes({0, -9000, -30000, 0, 0, 20}));
  ASSERT_EQ(s.run(), std::nullopt);
  EXPECT_EQ(s.main().form.top(), kCentreTop);
  EXPECT_EQ(s.main().form.left(), kCentreLeft);
  EXPECT_EQ(ReadFile(s.settingsFile()), test::SettingsBytes({0, 4182, 8157, 0, 0, 20}));
}

TEST(Startup, ARunningWindowIsRestoredAndActivatedAndNothingIsTouched) {
  Start s;
  s.windows.existingWindow = 42;
  EXPECT_EQ(s.run(), 0);
  EXPECT_EQ(s.windows.calls,
            (std::vector<std::string>{"findWindow  Typewell", "showWindowNormal 42",
                                      "setForegroundWindow 42"}));
  EXPECT_EQ(s.app, nullptr);
  EXPECT_TRUE(s.backend.log.empty());
  EXPECT_TRUE(s.folderEmpty());
}

TEST(Startup, AHeldLockWaitsBrieflyForTheFirstWindowAndTouchesNothing) {
  // The first instance shows its window after three waits.
  Start s;
  s.windows.lockTaken = true;
  s.windows.windowAfterSleeps = 3;
  EXPECT_EQ(s.run(), 0);
  EXPECT_EQ(s.windows.callsStartingWith("sleep").size(), 3u);
  EXPECT_EQ(s.windows.calls.back(), "setForegroundWindow 99");
  EXPECT_EQ(s.windows.calls[s.windows.calls.size() - 2], "showWindowNormal 99");
  EXPECT_EQ(s.app, nullptr);
  EXPECT_TRUE(s.folderEmpty());

  // It never shows one: the wait is bounded (5 seconds) and this process ends all the same.
  Start never;
  never.windows.lockTaken = true;
  EXPECT_EQ(never.run(), 0);
  const auto sleeps = never.windows.callsStartingWith("sleep");
  EXPECT_EQ(sleeps.size() * 100, 5000u);
  EXPECT_TRUE(never.windows.callsStartingWith("showWindowNormal").empty());
  EXPECT_TRUE(never.backend.log.empty());
  EXPECT_TRUE(never.folderEmpty());
}

TEST(Startup, AFileThatCannotBeUsedIsReportedAndNoWindowIsShown) {
  for (const char* blocked : {"Typewell.ini", "Forms.dat"}) {
    Start s;
    std::filesystem::create_directory(s.folder.file(blocked));
    EXPECT_EQ(s.run(), 1) << blocked;
    ASSERT_EQ(s.windows.errors.size(), 1u) << blocked;
    EXPECT_NE(s.windows.errors[0].find(s.folder.file(blocked)), std::string::npos);
    EXPECT_EQ(s.app, nullptr);
    EXPECT_EQ(std::count(s.backend.log.begin(), s.backend.log.end(), "show DoIt"), 0);
    // The window (and its timer) is gone before the report.
    EXPECT_EQ(std::vector(s.backend.log.end() - 2, s.backend.log.end()),
              (std::vector<std::string>{"destroy DoIt", "reportError"}));
  }
}

TEST(Startup, ProgramFolderAndInstanceLockName) {
  EXPECT_EQ(app::ProgramFolderOf("C:\\Typewell.exe"), "C:\\");
  EXPECT_EQ(app::ProgramFolderOf("C:\\Tools\\Typewell\\Typewell.exe"), "C:\\Tools\\Typewell\\");

  const std::string name = app::InstanceLockName("C:\\Tools\\Typewell\\");
  EXPECT_EQ(name.rfind("Typewell-", 0), 0u);
  EXPECT_EQ(name.find('\\'), std::string::npos);
  EXPECT_LT(name.size(), 64u);
  EXPECT_EQ(app::InstanceLockName("c:\\TOOLS\\typewell\\"), name);
  EXPECT_NE(app::InstanceLockName("C:\\Tools\\Other\\"), name);
}

}  // namespace
}  // namespace tw
