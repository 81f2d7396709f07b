// The started program's other handlers, driven as the user does: the fill action and its key
// order, the tick's target tracking and position saves, the options dialog, the web links and
// the main window's life.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "test_support.h"

namespace tw::test {
namespace {

using forms::kLeftButton;
using forms::kRightButton;
constexpr platform::WindowHandle kTarget = 20480, kElsewhere = 30000;

std::string Join(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& l : lines) out += (out.empty() ? "" : "|") + l;
  return out;
}

// The program with two entries, and an editor in front at the last tick before the click.
struct Filling : Running {
  Filling() : Running(EntryFileWith({{3, "Smith & Co"}, {5, "second"}})) {
    windows.titles[kTarget] = "Order form - Editor";
    windows.foreground = kTarget;
    main.Timer1->tick();
    windows.foreground = main.form.hwnd();  // the click activated Typewell
    windows.calls.clear();
  }
  std::size_t keys() const { return windows.callsStartingWith("sendKeys").size(); }
};

const std::string kAttempt =
    "setClipboardText Smith & Co|setForegroundWindow 20480|doEvents|windowExists 20480|windowHung "
    "20480|foregroundIsThreadOf 20480|releaseHeldModifiers|sendKeys {HOME} wait 20480|sendKeys "
    "+{END} wait 20480|sendKeys {BACKSPACE} wait 20480|sendKeys +{INSERT} wait 20480|doEvents|"
    "sendKeys {TAB} nowait 20480|doEvents";

TEST(Fill, AReleaseOfAnyButtonReplacesTheTargetsLineThroughTheClipboardAndMovesOnWithTab) {
  for (const auto& [button, shift, outside] :
       {std::tuple{1, 0, false}, {2, 0, false}, {4, 0, true}, {1, 7, false}}) {
    Filling t;
    t.input.press(*t.main.FillBtn[3], button, 10, 10, shift);
    outside ? t.input.releaseAt({1000, 2400}, button)  // over another row's label
            : t.input.release(*t.main.FillBtn[3], button, 10, 10, shift);
    EXPECT_EQ(Join(t.windows.calls), "windowTitle 20480|" + kAttempt);
    EXPECT_TRUE(t.main.Holdfocus->hasFocus() && !t.app->fillRunning);
  }
  // Never into the desktop, whatever its capitals; only the whole title counts.
  const char* titles[] = {"Program Manager", "pROGRAM mANAGER", "Program Manager - notes",
                          " Program Manager", "Program Manage"};
  for (int i = 0; i < 5; ++i) {
    Filling t;
    t.windows.titles[kTarget] = titles[i];
    t.input.click(*t.main.FillBtn[3]);
    EXPECT_EQ(t.keys(), i < 2 ? 0u : 5u) << titles[i];
  }
  // Nothing from the keyboard (Space or Enter), nor without a target.
  Filling t;
  t.main.FillBtn[3]->setFocus();
  t.main.form.nativeClicked(*t.main.FillBtn[3]);
  t.app->targetWindow = 0;
  t.input.click(*t.main.FillBtn[3]);
  EXPECT_EQ(Join(t.windows.calls), "");
}

TEST(Fill, AFailedAttemptIsRepeatedOnceAndNoKeyGoesToATargetThatIsGoneHungOrNotInFront) {
  using enum platform::SendResult;
  struct Case {
    int clipboardFailures;
    platform::SendResult keys;
    char fault;  // the target is gone, hung, not activated, or loses the front in the yield
    std::size_t clipboards, pauses, sent;  // sent: modifier releases and key strings
  };
  const Case cases[] = {
      {1, Delivered, 0, 2, 0, 6},   {4, Delivered, 0, 5, 3, 6},   {1000, Delivered, 0, 51, 49, 0},
      {0, Failed, 0, 2, 0, 4},      {0, TimedOut, 0, 1, 0, 2},    {0, Delivered, 'g', 1, 0, 0},
      {0, Delivered, 'h', 1, 0, 0}, {0, Delivered, 'a', 1, 0, 0}, {0, Delivered, 'y', 1, 0, 0}};
  for (const Case& c : cases) {
    Filling t;
    t.windows.clipboardFailures = c.clipboardFailures;
    t.windows.keysResult = c.keys;
    if (c.fault == 'g') t.windows.goneWindows = {kTarget};
    if (c.fault == 'h') t.windows.hungWindows = {kTarget};
    t.windows.activationRefused = c.fault == 'a';
    if (c.fault == 'y') t.windows.pendingEvents = [&] { t.windows.foreground = kElsewhere; };
    t.input.click(*t.main.FillBtn[3]);
    EXPECT_EQ(t.windows.callsStartingWith("setClipboardText").size(), c.clipboards);
    EXPECT_EQ(t.windows.callsStartingWith("sleep 20").size(), c.pauses);
    EXPECT_EQ(t.windows.callsStartingWith("releaseHeldModifiers").size() + t.keys(), c.sent);
    EXPECT_TRUE(t.windows.errors.empty() && !t.app->fillRunning);
  }
}

TEST(Tracking, TheLastForeignWindowInFrontBecomesTheTargetAndTypewellGoesOnTopAgainOnce) {
  Running t;
  forms::Form& form = t.main.form;
  forms::Form dialog(t.toolkit, "Options", {});
  dialog.load();
  t.windows.ownWindows = {72000};  // a message box of Typewell's own
  // t: a tick, d: the window lost the activation, m: a press on the inactive window.
  const char hows[] = "tmtdttmdt";
  const platform::WindowHandle fronts[] = {form.hwnd(), 7,           0, 8, dialog.hwnd(),
                                           72000,       form.hwnd(), 0, 0},
                               targets[] = {0, 7, 7, 8, 8, 8, 8, 8, 8};
  for (int i = 0; i < 9; ++i) {
    t.windows.foreground = fronts[i];
    hows[i] == 't' ? t.main.Timer1->tick()
                   : (hows[i] == 'd' ? form.nativeDeactivated() : form.nativeMouseActivated());
    EXPECT_EQ(t.app->targetWindow, targets[i]) << i;
  }
  // Lost to its own windows nothing happens; with another program in front, one raise.
  EXPECT_TRUE(t.windows.callsStartingWith("raiseTopmost").empty());
  t.windows.foreground = 73000;
  t.main.Timer1->tick();
  t.main.Timer1->tick();
  EXPECT_EQ(Join(t.windows.callsStartingWith("raiseTopmost")),
            "raiseTopmost " + std::to_string(form.hwnd()));
}

TEST(Tracking, AMoveInTheNormalStateIsSavedOnceRoundedAndWithinSixteenBits) {
  Running t("", SettingsBytes({1, 1200, 2400, 2, 7, 20}));
  forms::Form& form = t.main.form;
  form.nativeStateChanged(forms::WindowState::Normal);
  // Top and left, then the file's position after the tick; the third move is while minimised.
  const float steps[][4] = {{1200, 2400, 1200, 2400},
                            {1200, 2415, 1200, 2415},
                            {-32000, -32000, 1200, 2415},
                            {1000.5f, 2001.5f, 1000, 2002},
                            {-0.5f, 2.5f, 0, 2},
                            {-1.5f, 10.4f, -2, 10},
                            {32767.4f, -32768.5f, 32767, -32768},
                            {577.5f, 757.5f, 578, 758},
                            {1200, 40000, 578, 758},
                            {-32769, 2400, 578, 758},
                            {32767.5f, 0, 578, 758},
                            {659.9978f, 865.7114f, 660, 866}};
  for (const auto& [top, left, savedTop, savedLeft] : steps) {
    form.nativeStateChanged(top == -32000 ? forms::WindowState::Minimized
                                          : forms::WindowState::Normal);
    form.nativeMoved(left, top, form.width(), form.height());
    t.main.Timer1->tick();
    const std::string saved =
        SettingsBytes({1, std::int16_t(savedTop), std::int16_t(savedLeft), 2, 7, 20});
    EXPECT_EQ(ReadFile(t.settingsFile()), saved) << top << "/" << left;
    // Standing still, no tick writes again.
    fs::remove(t.settingsFile());
    t.main.Timer1->tick();
    EXPECT_FALSE(fs::exists(t.settingsFile()));
    WriteFile(t.settingsFile(), saved);
  }
}

TEST(Tracking, AFailingPositionSaveIsReportedOnceUntilASaveSucceedsAgain) {
  Running t;
  FailWrites(t.settingsFile());
  for (const float left : {2415.0f, 2430.0f}) {
    t.main.form.setLeft(left);
    t.main.Timer1->tick();
  }
  EXPECT_TRUE(t.windows.errors.size() == 1 && t.app->settings.WindowLeft == 8157 &&
              t.windows.errors[0].starts_with("Typewell could not save " + t.settingsFile()));
  fs::remove(t.settingsFile());
  t.main.Timer1->tick();
  EXPECT_EQ(ReadFile(t.settingsFile()), SettingsBytes({0, 4182, 2430, 0, 0, 1}));
  FailWrites(t.settingsFile());
  t.main.form.setLeft(2445);
  t.main.Timer1->tick();
  EXPECT_EQ(t.windows.errors.size(), 2u);
}

// Clicks "Options"; script runs while the dialog is shown modally and must close it.
void WithDialog(Running& t,
                const std::function<void(forms::Form&, forms::HeadlessInput&)>& script) {
  t.backend.modalScript = [&](forms::Form& dialog) {
    forms::HeadlessInput in(dialog);
    script(dialog, in);
  };
  t.main.OptionsBtn->setFocus();  // as the real press on the button does
  t.input.click(*t.main.OptionsBtn);
}

bool AllBold(const forms::Form& form, bool bold) {
  for (int i = 0; i < form.controlCount(); ++i)
    if (form.controlAt(i).hasFont() && form.controlAt(i).bold() != bold) return false;
  return true;
}

TEST(Options, EachChoiceIsSavedAndTakesEffectWhateverTheButtonAndTheNextOpeningShowsIt) {
  Running t("", SettingsBytes({0, 2100, 1500, 0, 7, 20}));
  // A written settings file opens the window minimised, and after 20 starts without hints.
  EXPECT_TRUE(t.main.form.windowState() == forms::WindowState::Minimized &&
              t.main.Names[0]->toolTip().empty());
  // The dialog opens at the main window's corner with the stored choices, and saves nothing;
  // the close box and "OK" just close it.
  t.main.form.nativeMoved(4350, 2700, t.main.form.width(), t.main.form.height());
  for (const char* close : {"box", "OK"}) {
    WithDialog(t, [&](forms::Form& d, forms::HeadlessInput& in) {
      EXPECT_TRUE(d.top() == 2700 && d.left() == 4350 && t.toolkit.formCount() == 2 &&
                  d.control("ColorOption", 0).selected() && d.control("FontOption", 0).selected() &&
                  AllBold(d, false));
      EXPECT_EQ(t.windows.callsStartingWith("setWindowTopmost").back(),
                "setWindowTopmost " + std::to_string(d.hwnd()) + " 0,0,0,0");
      close[0] == 'b' ? d.nativeCloseRequested() : in.click(d.control("OKBtn"));
    });
    EXPECT_TRUE(t.toolkit.formCount() == 1 && t.main.Holdfocus->hasFocus());
  }
  EXPECT_EQ(ReadFile(t.settingsFile()), SettingsBytes({0, 2100, 1500, 0, 7, 20}));
  const forms::Rgb colours[] = {{255, 255, 255}, {0, 255, 0}, {0, 255, 255}, {255, 255, 0}};
  // The font (1) or colour (0) option of the given index released with the given button; then
  // the font and colour saved.
  const std::int16_t steps[][5] = {{0, 1, kLeftButton, 0, 1},          {0, 2, kRightButton, 0, 2},
                                   {1, 1, forms::kMiddleButton, 1, 2}, {0, 3, kLeftButton, 1, 3},
                                   {0, 0, kLeftButton, 1, 0},          {1, 0, kRightButton, 0, 0}};
  for (const auto& [font, index, button, savedFont, savedColour] : steps) {
    const char* option = font ? "FontOption" : "ColorOption";
    const store::SettingsRecord saved{savedFont, 2100, 1500, savedColour, 7, 20};
    WithDialog(t, [&](forms::Form& d, forms::HeadlessInput& in) {
      in.press(d.control(option, index), button);
      in.release(d.control(option, index), button);
      EXPECT_EQ(ReadFile(t.settingsFile()), SettingsBytes(saved));
      for (forms::Control* label : t.main.Names)
        EXPECT_EQ(label->backColor(), colours[saved.ColorChoice]);
      EXPECT_TRUE(AllBold(d, saved.FontChoice == 1) && AllBold(t.main.form, saved.FontChoice) &&
                  d.control("Holdfocus").hasFocus());
      d.nativeCloseRequested();
    });
    WithDialog(t, [&](forms::Form& d, forms::HeadlessInput&) {  // the next opening shows it
      EXPECT_TRUE(d.control(option, index).selected() && AllBold(d, saved.FontChoice));
      d.nativeCloseRequested();
    });
    EXPECT_EQ(t.app->settings, saved);
  }
  // A choice that cannot be saved is reported, before it takes effect, and still applied.
  FailWrites(t.settingsFile());
  t.windows.onReport = [&] { EXPECT_EQ(t.main.Names[0]->backColor(), colours[0]); };
  WithDialog(t, [&](forms::Form& d, forms::HeadlessInput& in) {
    in.click(d.control("ColorOption", 3));
    EXPECT_EQ(t.windows.errors.size(), 1u);
    EXPECT_EQ(t.main.Names[59]->backColor(), colours[3]);
    in.click(d.control("OKBtn"));
  });
}

TEST(WebLinks, TheBrowserStartsWithThePageQuotedAndTheWindowGetsOutOfTheWay) {
  constexpr const char* kBrowser = "C:\\Program Files\\Web Browser\\browser.exe";
  for (const bool tutorial : {true, false}) {
    Running t;
    t.windows.executable = kBrowser;
    const std::string placeholder = t.folder.file("~.htm"), h = std::to_string(t.main.form.hwnd());
    WriteFile(placeholder, std::string("kept\0\r\n", 7));
    fs::permissions(placeholder, fs::perms::owner_write, fs::perm_options::remove);
    forms::Control& button = tutorial ? *t.main.Command1 : *t.main.WebsiteBtn;
    button.setFocus();
    t.input.click(button);
    const std::string page = tutorial ? t.folder.withSeparator() + "tutorial/tutorial.htm"
                                      : "http://www.example.com/default.htm";
    EXPECT_EQ(Join(t.windows.calls),
              "findExecutable ~.htm " + t.folder.withSeparator() + "|startProgram \"" + kBrowser +
                  "\" \"" + page + "\"|windowRect " + h + "|setWindowTopmost " + h + " 0,0,0,0");
    EXPECT_TRUE(t.main.form.windowState() == forms::WindowState::Minimized &&
                std::ranges::find(t.backend.log, "focus Holdfocus") <
                    std::ranges::find(t.backend.log, "state DoIt minimized"));
    // The placeholder was made writable and kept byte for byte.
    EXPECT_TRUE(ReadFile(placeholder) == std::string("kept\0\r\n", 7) &&
                (fs::status(placeholder).permissions() & fs::perms::owner_write) !=
                    fs::perms::none);
  }
  // No registered browser, or a placeholder that cannot be created: nothing happens at all.
  for (const bool blocked : {false, true}) {
    Running t;
    if (blocked) BlockFile(t.folder.file("~.htm"));
    t.windows.executable = blocked ? std::optional<std::string>(kBrowser) : std::nullopt;
    for (forms::Control* button : {t.main.Command1, t.main.WebsiteBtn}) {
      button->setFocus();
      t.input.click(*button);
      EXPECT_TRUE(button->hasFocus() && t.main.form.windowState() == forms::WindowState::Normal);
    }
    EXPECT_EQ(t.windows.calls.size() + t.windows.errors.size(), blocked ? 0u : 2u);
  }
}

TEST(Lifecycle, MinimizeCommitsAnOpenEditAndEveryChangeOfStatePutsTheWindowOnTopAgain) {
  Running t;
  t.windows.rects[t.main.form.hwnd()] = {10, 20, 200, 460};
  t.input.click(*t.main.Names[4]);
  t.main.Gettext->nativeTextChanged("before minimising");
  t.input.click(*t.main.MinimizeBtn);
  EXPECT_EQ(WithEntry(std::string(12000, ' '), 4, "before minimising"), ReadFile(t.entryFile()));
  EXPECT_TRUE(t.main.Holdfocus->hasFocus() && !t.main.Gettext->visible() &&
              t.main.form.windowState() == forms::WindowState::Minimized);
  t.main.form.nativeStateChanged(forms::WindowState::Normal);
  EXPECT_EQ(t.windows.callsStartingWith("setWindowTopmost"),
            std::vector<std::string>(
                2, "setWindowTopmost " + std::to_string(t.main.form.hwnd()) + " 10,20,200,460"));
  EXPECT_TRUE(t.windows.callsStartingWith("setForegroundWindow").empty() && t.exits.empty());
}

}  // namespace
}  // namespace tw::test
