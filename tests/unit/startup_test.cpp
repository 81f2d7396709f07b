// The start-up: the window's state, place, hint and look, the files as a first start leaves
// them, files that cannot be used, and a second start that hands over to the first.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <functional>

#include "app/instance.h"
#include "test_support.h"

namespace tw::test {
namespace {

TEST(Startup, AFirstStartOpensNormalCentredHintedWithBlankEntriesAndWritesNoSettings) {
  Program p;
  ASSERT_EQ(p.Start(), std::nullopt);
  // Centred on the 1280 × 1024 screen for the window's layout size (192 × 466 pixels).
  EXPECT_TRUE(p.view.shownMinimized == false && p.view.place.left == 544 &&
              p.view.place.top == 279 && p.view.hint && p.view.page == 0 && !p.view.bold &&
              p.view.labelColour == (ui::Rgb{255, 255, 255}));
  for (const auto& entry : p.view.entries) EXPECT_TRUE(entry.text.empty() && !entry.insertEnabled);
  // The settings file stays empty until something changes; ticks write nothing.
  EXPECT_EQ(ReadFile(p.SettingsFile()) + ReadFile(p.EntryFile()), std::string(12000, ' '));
  fs::remove(p.EntryFile());
  p.view.minimized = false;
  p.app.OnTick();
  EXPECT_FALSE(fs::exists(p.EntryFile()));
  EXPECT_TRUE(p.messages.reports.empty());
}

TEST(Startup, ALaterStartOpensMinimisedAtTheSavedPlaceInTheSavedLookAndCountsIt) {
  // Bold, top 1500, left 3000 (100 and 200 pixels), yellow, reserved 7; the hint shows while
  // fewer than ten starts are counted.
  for (const std::int16_t starts : {8, 9, 20}) {
    Running t(EntryRecords({{2, "two"}}), SettingsBytes({1, 1500, 3000, 3, 7, starts}));
    EXPECT_TRUE(t.view.shownMinimized == true && t.view.place.left == 200 &&
                t.view.place.top == 100 && t.view.bold &&
                t.view.labelColour == (ui::Rgb{255, 255, 0}) && t.view.entries[2].insertEnabled);
    EXPECT_EQ(t.view.hint, starts < 9) << starts;
    const std::int16_t counted = starts < 20 ? starts + 1 : 20;
    EXPECT_EQ(ReadFile(t.SettingsFile()), SettingsBytes({1, 1500, 3000, 3, 7, counted}));
  }
}

TEST(Startup, AFileThatCannotBeUsedEndsTheStartNamingItAndTheReason) {
  // A pipe in place of the file: it opens, but has no length.
  const auto pipe = [](const fs::path& path) {
#ifndef _WIN32
    fs::remove(path);
    mkfifo(path.c_str(), 0600);
#else
    Hold(path);
#endif
  };
  for (const auto& [file, spoil] :
       {std::pair<const char*, std::function<void(const fs::path&)>>{"Typewell.ini", &Hold},
        {"Forms.dat", &Hold},
        {"Forms.dat", &FillDisk},
        {"Forms.dat", pipe}}) {
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
