// The fill, the target it goes to, the window's saved place, the options and the web links, as
// the user meets them: what the other program's field holds, what the files hold, what the
// window shows.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

#include "services/key_groups.h"
#include "test_support.h"
#include "ui/colours.h"

namespace tw::test {
namespace {

constexpr WindowHandle kTypewell = 1, kTarget = 20480, kOther = 30000;
constexpr wchar_t kNoProgram[] = L"Nothing filled: no other program was active before Typewell.";

// Two entries, and an editor in front at the last tick before the click, its first field
// holding a line that the fill replaces; another program's field holds "old text".
struct Filling : Running {
  Filling() : Running(EntryRecords({{3, "Smith & Co"}, {5, "second"}})) {
    desktop.own = {kTypewell};
    desktop.events = &app;
    desktop.titles[kTarget] = L"Order form - Editor";
    typing.forms[kTarget].fields[0] = "old line";
    typing.forms[kOther].fields[0] = "old text";
    desktop.foreground = kTarget;
    app.OnTick();
    desktop.foreground = kTypewell;  // the click activated Typewell
  }
  const FakeForm& Form(WindowHandle w = kTarget) { return typing.forms[w]; }
  // The form's fields, then the number of the focused one.
  std::string Fields(WindowHandle w = kTarget) {
    std::string out;
    for (const auto& f : Form(w).fields) out += f + "|";
    return out + std::to_string(Form(w).focus);
  }
};

TEST(Fill, TheLastForeignWindowsLineBecomesTheEntryAloneAndItsNextFieldHasTheFocus) {
  Filling t;
  t.app.OnInsertReleased(3);
  EXPECT_EQ(t.Fields(), "Smith & Co|||1");
  EXPECT_EQ(std::tuple(t.typing.clipboard, t.typing.modifierReleases), std::tuple("Smith & Co", 1));
  // An entry edited and committed by the release itself is the one filled.
  t.app.OnEntryLabelReleased(5);
  t.Type("edited");
  t.app.OnInsertReleased(5);
  EXPECT_EQ(t.Fields(), "Smith & Co|edited||2");
  // Never into the desktop, whatever its capitals; only the whole title counts.
  for (const wchar_t* title :
       {L"Program Manager", L"pROGRAM mANAGER", L"Program Manager - notes"}) {
    Filling d;
    d.desktop.titles[kTarget] = title;
    d.app.OnInsertReleased(3);
    EXPECT_EQ(d.Fields(), std::wstring(title).size() > 15 ? "Smith & Co|||1" : "old line|||0");
  }
  // Nothing before another program was in front, and the user is told.
  Running none(EntryRecords({{3, "x"}}));
  none.app.OnInsertReleased(3);
  EXPECT_EQ(std::tuple(none.typing.forms.size(), none.typing.clipboard), std::tuple(0u, ""));
  EXPECT_EQ(none.messages.notices, std::vector<std::wstring>{kNoProgram});
}

TEST(Fill, TheTargetIsTheLastWindowTheUserWorksInNeverAShellsWindowOnTheWayToTypewell) {
  // What comes to the front between the program and Typewell, and which is filled then: the
  // program past the taskbar (the user restores Typewell from its button), the other screen's,
  // Alt+Tab's switcher, the Start menu, a hidden window, a disabled popup; a program's palette
  // (its owner maybe hidden) or an app window itself; the desktop never.
  const std::pair<services::WindowFacts, WindowHandle> cases[] = {
      {{.toolWindow = true, .className = L"Shell_TrayWnd"}, kTarget},
      {{.className = L"Shell_SecondaryTrayWnd"}, kTarget},
      {{.toolWindow = true, .className = L"MultitaskingViewFrame"}, kTarget},
      {{.cloaked = true, .className = L"Windows.UI.Core.CoreWindow"}, kTarget},
      {{.shown = false}, kTarget},
      {{.enabled = false, .owned = true}, kTarget},
      {{.toolWindow = true, .owned = true}, kOther},
      {{.toolWindow = true, .appWindow = true}, kOther},
      {{.toolWindow = true, .className = L"WorkerW"}, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    Filling t;
    // More of them than are kept, each named by the system once Typewell is in front already.
    for (const WindowHandle w : {kOther + 3, kOther + 2, kOther + 1, kOther, kTypewell}) {
      if (w != kOther) t.desktop.facts[w] = c.first;
      t.app.OnForegroundChanged(w);
    }
    // kOther came to the front as a window the user works in; at the fill it is what the row says.
    t.desktop.facts[kOther] = c.first;
    t.app.OnInsertReleased(3);
    EXPECT_EQ(std::tuple(t.Fields(), t.Fields(kOther), t.messages.notices.empty()),
              std::tuple(c.second == kTarget ? "Smith & Co|||1" : "old line|||0",
                         c.second == kOther ? "Smith & Co|||1" : "old text|||0", c.second != 0));
  }
}

TEST(Fill, NoKeyGoesToAWindowGoneHungNotInFrontOrOfMoreRightsAndABusyClipboardIsWaitedForOnce) {
  struct Case {
    int clipboardFailures, refusedGroups;
    char fault;  // gone (the user went on to it), hung, not activated, slow, left, more rights
    int sleptMs;
    const char* fields;
    const wchar_t* notice;
  };
  const wchar_t* kHung = L"Nothing filled: Order form - Editor does not answer.";
  const Case cases[] = {
      {1, 0, 0, 0, "Smith & Co|||1", nullptr},
      {4, 0, 0, 60, "Smith & Co|||1", nullptr},
      {1000, 0, 0, 980, "old line|||0", L"Nothing filled: another program holds the clipboard."},
      {0, 1, 0, 0, "Smith & Co|||1", nullptr},
      {0, 3, 0, 0, "old line|||0",
       L"Nothing filled: Windows did not let Typewell type into Order form - Editor."},
      {0, 0, 's', 0, "Smith & Co|||1", nullptr},
      {0, 0, 'l', 0, "old line|||0", L"The fill stopped: another program came to the front."},
      {0, 0, 'r', 0, "old line|||0",
       L"Nothing filled: Order form - Editor runs as administrator, and Windows lets no program "
       L"with fewer rights type into it. Start Typewell as administrator to fill it."},
      {0, 0, 'g', 0, "old line|||0", L"Nothing filled: the program to fill is closed."},
      {0, 0, 'h', 0, "old line|||0", kHung},
      {0, 0, 'a', 0, "old line|||0", kHung}};
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    Filling t;
    t.typing.clipboardFailures = c.clipboardFailures;
    t.typing.refusedGroups = c.refusedGroups;  // the first key; then its release or the retry's
    if (c.fault == 'h') t.desktop.hung = {kTarget};
    t.desktop.activationRefused = c.fault == 'a';
    if (c.fault == 'g') t.desktop.BringToFront(kOther);  // it closes then
    if (c.fault == 'g') t.desktop.gone = {kOther};
    if (c.fault == 's' || c.fault == 'l') t.typing.slow = {kTarget};
    // The user clicks into another program while the target takes its first key.
    if (c.fault == 'l') t.desktop.whileSleeping = [&] { t.desktop.BringToFront(kOther); };
    // Wine has no integrity levels of its own (it answers 0x3000 for every process, and equal
    // levels refuse nothing): the fake desktop reports them as Windows does, Typewell's at 0.
    t.desktop.integrity = {{0, 0x2000}, {kTarget, c.fault == 'r' ? 0x3000 : 0x2000}};
    t.app.OnInsertReleased(3);
    EXPECT_EQ(t.desktop.sleptMs, c.sleptMs);
    // A target too slow to take the keys in time still gets the rest of them, its Tab too.
    EXPECT_EQ(std::tuple(t.Fields(), t.Fields(kOther)), std::tuple(c.fields, "old text|||0"));
    EXPECT_EQ(t.messages.notices,
              c.notice ? std::vector<std::wstring>{c.notice} : std::vector<std::wstring>{});
    EXPECT_EQ(std::tuple(t.messages.reports.size(), t.typing.forms.count(kTypewell), t.typing.held),
              std::tuple(0u, 0u, std::set<std::uint8_t>{}));  // no key left down
  }
}

TEST(Fill, AWaitForAnEarlierTargetsPasteEndsWithinItsBoundAndNeverStopsLaterFills) {
  // The earlier target takes its keys late ('t') or never ('n'), is gone or hangs.
  for (const char end : {'t', 'n', 'g', 'h'}) {
    SCOPED_TRACE(end);
    Filling t;
    t.typing.slow = {kTarget};  // the paste is not taken in time
    t.app.OnInsertReleased(3);
    if (end != 'n') t.typing.slow.clear();
    if (end == 'g') t.desktop.gone = {kTarget};
    if (end == 'h') t.desktop.hung = {kTarget};
    t.desktop.foreground = kOther;  // the user went on to another program
    t.app.OnTick();
    t.desktop.foreground = kTypewell;
    t.app.OnInsertReleased(5);
    EXPECT_EQ(std::tuple(t.typing.clipboard, t.Fields(kOther)), std::tuple("second", "second|||1"));
    t.app.OnInsertReleased(5);  // nothing pending any more
    EXPECT_EQ(t.typing.waitsForEarlierKeys, end == 't' || end == 'n' ? 1 : 0);
  }
}

TEST(Fill, HeldModifiersAreReleasedAndALoneReleaseOfAltOrWinOpensNoMenu) {
  using services::KeyStroke;
  const auto releases = [](std::set<std::uint8_t> held) {
    return services::ModifierReleases([&](std::uint8_t key) { return held.contains(key); });
  };
  EXPECT_EQ(releases({0x10, 0xA1}), (std::vector<KeyStroke>{{0x10, true}, {0xA1, true}}));
  EXPECT_EQ(releases({0x5C, 0xA0, 0x12}),
            (std::vector<KeyStroke>{
                {0xE8, false}, {0xE8, true}, {0x12, true}, {0xA0, true}, {0x5C, true}}));
}

TEST(Placement, AMoveIsStoredOnceInTwipsAtTheSystemDpiWhateverTheWindowsOwnDpi) {
  // top 1200, left 2400 twips: 80 and 160 pixels at 96 DPI.
  Running t("", SettingsBytes({1, 1200, 2400, 2, 7, 20}));
  EXPECT_EQ(std::tuple(t.view.place.top, t.view.place.left), std::tuple(80, 160));
  struct Step {
    int left, top, dpi;
    bool minimized;
    std::int16_t savedLeft, savedTop;
  };
  const Step steps[] = {{161, 80, 96, false, 2415, 1200},
                        {300, 200, 96, true, 2415, 1200},
                        {1000, 500, 144, false, 15000, 7500},
                        {2200, 10, 96, false, 15000, 7500},
                        {-2184, -3, 96, false, -32760, -45}};
  for (const Step& s : steps) {
    t.view.dpi = s.dpi;  // a monitor of another DPI: the file keeps the system's
    t.view.minimized = s.minimized;
    t.view.MoveTo(s.left, s.top);
    t.app.OnTick();
    const std::string saved = SettingsBytes({1, s.savedTop, s.savedLeft, 2, 7, 20});
    EXPECT_EQ(ReadFile(t.SettingsFile()), saved) << s.left;
    fs::remove(t.SettingsFile());  // standing still, no tick writes again
    t.app.OnTick();
    EXPECT_FALSE(fs::exists(t.SettingsFile()));
    WriteFile(t.SettingsFile(), saved);
  }
  // At a system DPI of 144 a twip is a tenth of a pixel: the same screen point comes back.
  Program high("", SettingsBytes({0, 1500, 3000, 0, 0, 20}));
  high.desktop.systemDpi = 144;
  ASSERT_EQ(high.Start(), std::nullopt);
  EXPECT_EQ(std::tuple(high.view.place.top, high.view.place.left), std::tuple(150, 300));
}

TEST(Options, EachChoiceInRangeIsSavedThenAppliedAndAFailedSaveIsReportedAppliedAndWrittenLater) {
  const ui::Rgb colours[] = {{255, 255, 255}, {0, 255, 0}, {0, 255, 255}, {255, 255, 0}};
  struct Step {
    char what;  // 'c' a colour, 'f' a font
    int choice;
    std::int16_t font, colour;  // saved and shown after it
  };
  const Step steps[] = {{'c', 3, 0, 3}, {'c', 4, 0, 3}, {'c', -1, 0, 3},
                        {'f', 1, 1, 3}, {'f', 2, 1, 3}, {'f', -1, 1, 3},
                        {'c', 0, 1, 0}, {'f', 0, 0, 0}, {'f', 1, 1, 0}};
  Running t("", SettingsBytes({0, 2100, 1500, 0, 7, 20}));
  t.view.optionsDialog = [&](ui::OptionsEvents& e) {
    for (const Step& s : steps) {
      s.what == 'c' ? e.OnColourChosen(s.choice) : e.OnFontChosen(s.choice);
      EXPECT_TRUE(ReadFile(t.SettingsFile()) ==
                      SettingsBytes({s.font, 2100, 1500, s.colour, 7, 20}) &&
                  e.Current().colour == s.colour && t.view.bold == (s.font == 1) &&
                  t.view.labelColour == colours[s.colour])
          << s.what << s.choice;
    }
    FillDisk(t.SettingsFile());  // the disk is full: applied, reported, written at the next tick
    e.OnColourChosen(2);
    LetGo(t.SettingsFile());
    t.app.OnTick();
  };
  t.app.OnCommand(ui::Command::Options);
  EXPECT_EQ(t.view.labelColour, colours[2]);
  EXPECT_EQ(ReadFile(t.SettingsFile()), SettingsBytes({1, 2100, 1500, 2, 7, 20}));
  // Reported again after a save succeeded; written at the close.
  FillDisk(t.SettingsFile());
  t.view.optionsDialog = [](ui::OptionsEvents& e) { e.OnColourChosen(3); };
  t.app.OnCommand(ui::Command::Options);
  LetGo(t.SettingsFile());
  EXPECT_EQ(std::tuple(t.app.OnCloseRequested(), t.messages.reports.size()), std::tuple(true, 2u));
  EXPECT_EQ(ReadFile(t.SettingsFile()), SettingsBytes({1, 2100, 1500, 3, 7, 20}));
}

TEST(Appearance, ALabelsTextContrastsWithItsColourAndHighContrastTakesTheSystemsWindowColours) {
  constexpr ui::Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kYellow{255, 255, 0}, kNavy{0, 0, 128},
      kGrey{128, 128, 128};
  struct Case {
    ui::Rgb chosen;
    bool highContrast;
    ui::LabelColours system, painted;
  };
  const Case cases[] = {{kYellow, false, {kBlack, kWhite}, {kYellow, kBlack}},
                        {kNavy, false, {kWhite, kBlack}, {kNavy, kWhite}},
                        {kYellow, true, {kBlack, kWhite}, {kBlack, kWhite}},
                        {kYellow, true, {kGrey, {120, 120, 120}}, {kGrey, kBlack}}};
  for (const Case& c : cases) {
    EXPECT_EQ(ui::LabelColoursFor(c.chosen, c.highContrast, c.system), c.painted) << &c - cases;
  }
  EXPECT_EQ(std::lround(ui::ContrastRatio(kWhite, kBlack) * 100), 2100);
}

TEST(WebLinks, TheBrowserOfTheKeptPlaceholderGetsThePageQuotedAndWithoutOneNothingHappens) {
  const std::wstring browser = L"C:\\Program Files\\Web Browser\\browser.exe";
  Running t;
  t.shell.browser = browser;
  const fs::path placeholder = t.folder.File("~.htm");
  WriteFile(placeholder, std::string("kept\0\r\n", 7));
  fs::permissions(placeholder, fs::perms::owner_write, fs::perm_options::remove);
  t.app.OnCommand(ui::Command::WebSite);
  EXPECT_EQ(t.shell.started, std::vector<std::wstring>{
                                 L"\"" + browser + L"\" \"http://www.example.com/default.htm\""});
  EXPECT_EQ(std::tuple(t.view.minimized, ReadFile(placeholder),
                       (fs::status(placeholder).permissions() & fs::perms::owner_write) !=
                           fs::perms::none),
            std::tuple(true, std::string("kept\0\r\n", 7), true));
  // No registered browser, or a placeholder that cannot be made: nothing happens at all.
  for (const bool blocked : {false, true}) {
    Running n;
    if (blocked) Hold(n.folder.File("~.htm"));
    if (blocked) n.shell.browser = browser;
    n.app.OnCommand(ui::Command::Tutorial);
    EXPECT_EQ(std::tuple(n.shell.started.size(), n.view.minimized, n.messages.notices.size()),
              std::tuple(0u, false, 0u));
  }
}

}  // namespace
}  // namespace tw::test
