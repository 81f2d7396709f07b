// The Tutorial and Web Site buttons through the services fake: the placeholder "~.htm", the
// lookup, the exact command line, and what happens to the main window afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"
#include "weblinks/browser_launch.h"

namespace tw {
namespace {

namespace fs = std::filesystem;

constexpr const char* kBrowser = "C:\\Program Files\\Web Browser\\browser.exe";

// The program in a folder whose name has blanks, its window shown normally, the focus on the
// button that was just pressed.
class WebLinksTest : public ::testing::Test {
 protected:
  WebLinksTest() {
    fs::create_directory(programFolder);
    weblinks::WireWebLinks(app);
    app.main.form.setWindowState(forms::WindowState::Normal);
    app.main.form.load();
    windows.executable = kBrowser;
  }

  void Click(forms::Control& button) {
    button.setFocus();
    input.click(button);
  }

  std::string Placeholder() const { return programFolder + "~.htm"; }

  forms::HeadlessBackend backend;
  forms::Toolkit toolkit{backend};
  platform::RecordingWindowSystem windows;
  test::TempFolder folder;
  std::string programFolder =
      folder.file("My Tools") + static_cast<char>(fs::path::preferred_separator);
  core::App app{toolkit, windows, programFolder};
  forms::HeadlessInput input{app.main.form};
};

TEST_F(WebLinksTest, TutorialStartsTheBrowserWithBothPartsQuotedThenMinimises) {
  Click(*app.main.Command1);
  EXPECT_EQ(windows.calls, (std::vector<std::string>{
                               "findExecutable ~.htm " + programFolder,
                               "startProgram \"" + std::string(kBrowser) + "\" \"" + programFolder +
                                   "tutorial/tutorial.htm\"",
                           }));
  EXPECT_EQ(app.main.form.windowState(), forms::WindowState::Minimized);
  EXPECT_EQ(app.main.form.focused(), app.main.Holdfocus);
  EXPECT_TRUE(test::Exists(Placeholder()));
  EXPECT_EQ(test::ReadFile(Placeholder()), "");
  // The focus reaches the sink before the window is minimised.
  const auto focus = std::find(backend.log.begin(), backend.log.end(), "focus Holdfocus");
  const auto minimised = std::find(backend.log.begin(), backend.log.end(), "state DoIt minimized");
  ASSERT_NE(minimised, backend.log.end());
  EXPECT_LT(focus, minimised);
}

TEST_F(WebLinksTest, WebSiteOpensTheBuiltInAddress) {
  const std::string address = weblinks::WebsiteAddress();
  EXPECT_EQ(address.rfind("http", 0), 0u);
  EXPECT_TRUE(address.ends_with("/default.htm"));
  Click(*app.main.WebsiteBtn);
  EXPECT_EQ(windows.callsStartingWith("startProgram"),
            std::vector<std::string>{"startProgram \"" + std::string(kBrowser) + "\" \"" + address +
                                     "\""});
  EXPECT_EQ(app.main.form.windowState(), forms::WindowState::Minimized);
  EXPECT_EQ(app.main.form.focused(), app.main.Holdfocus);
}

TEST_F(WebLinksTest, AFailedLookupDoesNothingAtAll) {
  windows.executable.reset();
  for (forms::Control* button : {app.main.Command1, app.main.WebsiteBtn}) {
    SCOPED_TRACE(button->name());
    windows.calls.clear();
    backend.log.clear();
    Click(*button);
    EXPECT_EQ(windows.calls, std::vector<std::string>{"findExecutable ~.htm " + programFolder});
    EXPECT_EQ(app.main.form.windowState(), forms::WindowState::Normal);
    EXPECT_EQ(app.main.form.focused(), button);
    EXPECT_EQ(std::count(backend.log.begin(), backend.log.end(), "focus Holdfocus"), 0);
  }
  EXPECT_TRUE(windows.errors.empty());
}

TEST_F(WebLinksTest, TheReadOnlyPlaceholderIsMadeWritableAndKeptByteForByte) {
  const std::string bytes("kept\0\r\n", 7);
  test::WriteFile(Placeholder(), bytes);
  fs::permissions(Placeholder(),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  Click(*app.main.Command1);
  EXPECT_NE(fs::status(Placeholder()).permissions() & fs::perms::owner_write, fs::perms::none);
  app.main.form.setWindowState(forms::WindowState::Normal);
  Click(*app.main.WebsiteBtn);
  EXPECT_EQ(test::ReadFile(Placeholder()), bytes);
  EXPECT_EQ(windows.callsStartingWith("startProgram").size(), 2u);
}

TEST_F(WebLinksTest, APlaceholderThatCannotBeCreatedStopsTheClickQuietly) {
  fs::create_directory(Placeholder());  // a folder in the way: the file cannot be opened
  Click(*app.main.Command1);
  EXPECT_TRUE(windows.calls.empty());
  EXPECT_TRUE(windows.errors.empty());
  EXPECT_EQ(app.main.form.windowState(), forms::WindowState::Normal);
  EXPECT_EQ(app.main.form.focused(), app.main.Command1);
}

}  // namespace
}  // namespace tw
