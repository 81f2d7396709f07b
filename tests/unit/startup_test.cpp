// The start-up: the window's state, place, hint and look, the files as a first start leaves
// them, files that cannot be used, and a second start that hands over to the first.
#include <gtest/gtest.h>

#include <tuple>

#include "app/instance.h"
#include "test_support.h"

namespace tw::test {
namespace {

TEST(Startup, TheWindowOpensAtTheSavedPlaceInTheSavedLookAndWithoutSettingsNormalAndCentred) {
  // No settings (a first start); then bold, top 1500, left 3000 (100 and 200 pixels), yellow,
  // reserved 7 after 8, 9 and 20 starts: the hint shows while fewer than ten starts are counted.
  for (const std::int16_t starts : {0, 8, 9, 20}) {
    const store::SettingsRecord stored{1, 1500, 3000, 3, 7, starts};
    Running t(EntryRecords({{2, "two"}}), starts ? SettingsBytes(stored) : "");
    // A first start is centred on the 1280 × 1024 screen for the layout size (192 × 466).
    EXPECT_EQ(
        std::tuple(t.view.shownMinimized, t.view.bold, t.view.place.left, t.view.place.top,
                   t.view.entries[2], t.view.entries[3]),
        std::tuple(starts > 0, starts > 0, starts ? 200 : 544, starts ? 100 : 279, "two", ""));
    EXPECT_EQ(t.view.labelColour, (starts ? ui::Rgb{255, 255, 0} : ui::Rgb{255, 255, 255}));
    EXPECT_EQ(t.view.hint, starts < 9) << starts;
    EXPECT_EQ(
        ReadFile(t.SettingsFile()),
        starts ? SettingsBytes({1, 1500, 3000, 3, 7, std::int16_t(std::min(starts + 1, 20))}) : "");
    fs::remove(t.EntryFile());  // ticks write nothing
    t.app.OnTick();
    EXPECT_EQ(std::tuple(fs::exists(t.EntryFile()), t.messages.reports.size()),
              std::tuple(false, 0u));
  }
}

TEST(Startup, AFileThatCannotBeUsedEndsTheStartNamingItAndTheReason) {
  for (const auto& [file, spoil] :
       {std::pair{"Typewell.ini", &Hold}, {"Forms.dat", &Hold}, {"Forms.dat", &FillDisk}}) {
    Program p;
    spoil(p.folder.File(file));
    const auto failure = p.Start();
    ASSERT_TRUE(failure.has_value()) << file;
    EXPECT_TRUE(failure->starts_with(L"Typewell cannot start: the file " +
                                     p.folder.File(file).wstring() + L" cannot be used.\n\n"));
    EXPECT_FALSE(p.view.shownMinimized.has_value());
  }
}

TEST(Instance, TheProgramFolderTheLockNameAndASecondStartThatHandsOver) {
  EXPECT_EQ(app::ProgramFolderOf(L"C:\\Typewell.exe") + L"|" +
                app::ProgramFolderOf(L"C:\\Tools\\Typewell\\Typewell.exe") + L"|" +
                app::ProgramFolderOf(L"Typewell.exe"),
            L"C:\\|C:\\Tools\\Typewell\\|\\");
  // The same for every spelling of the folder that differs in the case of ASCII letters only.
  EXPECT_EQ(app::InstanceLockName(L"C:\\Tools\\Typewell\\"), L"Typewell-728aa4daff8be659");
  for (const auto& [a, b] : {std::pair{L"C:\\Tools\\Typewell\\", L"c:\\TOOLS\\typewell\\"},
                             {L"AZ@[", L"az@["},
                             {L"@[", L"`{"},
                             {L"\u0417\u0430", L"\u0437\u0430"},
                             {L"\u0161", L"a"}})
    EXPECT_EQ(app::InstanceLockName(a) == app::InstanceLockName(b), a[0] != L'@' && a[0] < 0x80);
  // A running window is restored and activated; a first start that holds the lock but shows its
  // window only later is waited for; no other start means this one runs.
  FakeDesktop desktop;
  EXPECT_FALSE(app::AnotherInstanceRuns(desktop, L"C:\\T\\"));
  desktop.running = 77;
  EXPECT_TRUE(app::AnotherInstanceRuns(desktop, L"C:\\T\\"));
  desktop.running = 0;
  desktop.lockTaken = true;
  desktop.whileSleeping = [&] { desktop.running = desktop.sleptMs >= 300 ? 88 : 0; };
  EXPECT_TRUE(app::AnotherInstanceRuns(desktop, L"C:\\T\\"));
  EXPECT_EQ(desktop.restored, (std::vector<WindowHandle>{77, 88}));
  EXPECT_EQ(desktop.sleptMs, 300);
  // A first start that never shows its window is waited for five seconds.
  desktop.whileSleeping = nullptr;
  desktop.running = 0;
  EXPECT_TRUE(app::AnotherInstanceRuns(desktop, L"C:\\T\\"));
  EXPECT_EQ(desktop.sleptMs, 5300);
}

}  // namespace
}  // namespace tw::test
