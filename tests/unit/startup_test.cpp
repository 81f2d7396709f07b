// The start-up end to end: the order of the steps (seen at each topmost request), the window's
// state, place, size, hint and appearance, the files as a first start leaves them, and files that
// cannot be used.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_support.h"

namespace tw::test {
namespace {

// The program with a look at the main window at every topmost request.
struct Start : Program {
  std::vector<std::string> looks;
  Start() {
    windows.onTopmost = [this] {
      const core::MainWindow& m = app->main;
      looks.push_back(
          std::string(m.form.onScreen() ? "shown " : "hidden ") +
          Numbers({int(m.form.top()), int(m.form.left()), int(m.form.height()),
                   m.Page[0]->selected(), m.Names[0]->bold(), m.Names[0]->backColor().red}) +
          " '" + m.Names[0]->caption() + "'");
    };
  }
};

TEST(Startup, AFirstStartRunsTheStepsInOrderAndOpensNormalCentredAndHinted) {
  Start s;
  ASSERT_EQ(s.start(), std::nullopt);
  EXPECT_EQ(s.app->programFolder, s.folder.withSeparator());
  ASSERT_GE(s.windows.calls.size(), 2u);
  EXPECT_EQ(s.windows.calls[0] + "|" + s.windows.calls[1],
            "findWindow  Typewell|acquireInstanceLock " +
                app::InstanceLockName(s.folder.withSeparator()));
  // Topmost at the load (nothing read yet), at the show and once more after it: top, left,
  // height, page 1 shown, bold, the red of the first label.
  EXPECT_EQ(s.looks, (std::vector<std::string>{"hidden 0 0 6996 0 0 255 ''",
                                               "shown 4182 8157 6204 1 0 255 ''",
                                               "shown 4182 8157 6204 1 0 255 ''"}));
  EXPECT_EQ(s.windows.calls.back().rfind("setWindowTopmost", 0), 0u);
  const core::MainWindow& m = s.app->main;
  EXPECT_TRUE(m.form.caption() == " Typewell" &&
              m.form.windowState() == forms::WindowState::Normal);
  EXPECT_LT(std::ranges::find(s.backend.log, "state DoIt normal"),
            std::ranges::find(s.backend.log, "show DoIt"));
  EXPECT_EQ(m.form.clientHeight() + m.WebsiteBtn->width(), 5784 + 2784);
  EXPECT_EQ(s.app->settings, (store::SettingsRecord{0, 4182, 8157, 0, 0, 1}));
  for (int slot = 0; slot < 60; ++slot)
    EXPECT_EQ(m.Names[slot]->toolTip().empty(), slot >= 15) << slot;
  EXPECT_EQ(m.Names[14]->toolTip(), " Click to add or edit text ");
  EXPECT_EQ(ReadFile(s.settingsFile()) + ReadFile(s.entryFile()), std::string(12000, ' '));
  EXPECT_TRUE(s.windows.errors.empty());
}

TEST(Startup, AFileThatCannotBeUsedIsReportedAfterTheWindowIsGone) {
  for (const auto& [file, spoil] : {std::pair{"Typewell.ini", &BlockFile},
                                    {"Forms.dat", &BlockFile},
                                    {"Forms.dat", &FailWrites}}) {
    Start s;
    spoil(s.folder.file(file));
    s.windows.onReport = [&] { s.backend.log.push_back("report"); };
    EXPECT_EQ(s.start(), 1) << file;
    EXPECT_TRUE(s.windows.errors.size() == 1 &&
                s.windows.errors[0].starts_with("Typewell cannot start: the file " +
                                                s.folder.file(file) + " cannot be used.\n\n"));
    EXPECT_TRUE(s.app == nullptr && !std::ranges::count(s.backend.log, "show DoIt"));
    EXPECT_EQ(std::vector(s.backend.log.end() - 2, s.backend.log.end()),
              (std::vector<std::string>{"destroy DoIt", "report"}));
  }
}

TEST(Startup, TheProgramFolderAndTheInstanceLockName) {
  EXPECT_EQ(app::ProgramFolderOf("C:\\Typewell.exe") + "|" +
                app::ProgramFolderOf("C:\\Tools\\Typewell\\Typewell.exe") + "|" +
                app::ProgramFolderOf("Typewell.exe"),
            "C:\\|C:\\Tools\\Typewell\\|\\");
  // The same for every spelling of the folder that differs in the case of ASCII letters only.
  EXPECT_EQ(app::InstanceLockName("C:\\Tools\\Typewell\\"), "Typewell-4797d9e9e7d9ec0b");
  for (const auto& [a, b] : {std::pair{"C:\\Tools\\Typewell\\", "c:\\TOOLS\\typewell\\"},
                             {"AZ@[", "az@["},
                             {"@[", "`{"}})
    EXPECT_EQ(app::InstanceLockName(a) == app::InstanceLockName(b), a[0] != '@') << a;
}

}  // namespace
}  // namespace tw::test
