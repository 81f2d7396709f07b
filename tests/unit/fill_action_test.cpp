// The fill action through the recording services fake: the exact order of focus, title check,
// clipboard, activation, keys and yields; the one retry; the checks that keep keys out of the
// wrong window; and releases that must fill nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "core/entries.h"
#include "fill/filling.h"
#include "test_support.h"

namespace tw {
namespace {

using forms::kLeftButton;
using forms::kMiddleButton;
using forms::kRightButton;

constexpr platform::WindowHandle kTarget = 20480;
constexpr platform::WindowHandle kElsewhere = 30000;

const std::vector<std::string> kOneAttempt = {
    "setClipboardText Smith & Co",
    "setForegroundWindow 20480",
    "doEvents",
    "windowExists 20480",
    "windowHung 20480",
    "foregroundIsThreadOf 20480",
    "releaseHeldModifiers",
    "sendKeys {HOME} wait 20480",
    "sendKeys +{END} wait 20480",
    "sendKeys {BACKSPACE} wait 20480",
    "sendKeys +{INSERT} wait 20480",
    "doEvents",
    "sendKeys {TAB} nowait 20480",
    "doEvents",
};

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

class FillAction : public ::testing::Test {
 protected:
  FillAction() {
    fill::WireFilling(t.app);
    t.app.main.form.load();
    setEntry(3, "Smith & Co");
    setEntry(5, "second");
    t.app.targetWindow = kTarget;
    t.windows.titles[kTarget] = "Order form - Editor";
    t.windows.foreground = t.app.main.form.hwnd();  // the click activated Typewell
  }

  void setEntry(int slot, const std::string& text) {
    t.app.main.Names[slot]->setCaption(text);
    core::UpdateFillButton(t.app, slot);
  }
  forms::Control& insert(int slot) { return *t.app.main.FillBtn[slot]; }
  std::size_t keysSent() const { return t.windows.callsStartingWith("sendKeys").size(); }

  test::TestApp t;
};

TEST_F(FillAction, ReleaseReplacesTheLineThroughTheClipboardAndMovesOnWithTab) {
  t.input.press(insert(3));
  t.input.release(insert(3));

  EXPECT_EQ(t.windows.calls, Concat({{"windowTitle 20480"}, kOneAttempt}));
  EXPECT_EQ(t.windows.clipboard, "Smith & Co");
  EXPECT_TRUE(t.app.main.Holdfocus->hasFocus());
  EXPECT_EQ(t.app.targetWindow, kTarget);
  EXPECT_FALSE(t.app.fillRunning);
  // A fill touches no file.
  EXPECT_FALSE(test::Exists(t.entryFile()));
  EXPECT_FALSE(test::Exists(t.settingsFile()));
}

TEST_F(FillAction, AnyButtonWithAnyModifierFillsTheSameWayAlsoWhenReleasedOutside) {
  const std::vector<std::string> expected = Concat({{"windowTitle 20480"}, kOneAttempt});
  struct Case {
    int button;
    int shift;
  };
  for (const Case c : {Case{kRightButton, 0}, Case{kMiddleButton, 0},
                       Case{kLeftButton, forms::kShiftKey | forms::kCtrlKey | forms::kAltKey}}) {
    t.windows.calls.clear();
    t.input.press(insert(3), c.button, 10, 10, c.shift);
    t.input.release(insert(3), c.button, 10, 10, c.shift);
    EXPECT_EQ(t.windows.calls, expected) << c.button << " " << c.shift;
  }

  // Pressed on the button, released over the entry label of another row: the button fills.
  t.windows.calls.clear();
  t.input.press(insert(3));
  const forms::Rect label = t.app.main.Names[7]->absoluteBounds();
  t.input.releaseAt({label.left + 20, label.top + 20});
  EXPECT_EQ(t.windows.calls, expected);
}

TEST_F(FillAction, KeyboardActivationOfAFocusedButtonFillsNothing) {
  insert(3).setFocus();
  t.app.main.form.nativeClicked(insert(3));  // Space or Enter
  EXPECT_TRUE(t.windows.calls.empty());
}

TEST_F(FillAction, WithoutATargetOnlyTheFocusMoves) {
  t.app.targetWindow = 0;
  insert(3).setFocus();
  t.input.click(insert(3));
  EXPECT_TRUE(t.windows.calls.empty());
  EXPECT_TRUE(t.app.main.Holdfocus->hasFocus());
}

TEST_F(FillAction, TheDesktopIsNeverFilledWhateverItsCapitalisation) {
  for (const char* title :
       {"Program Manager", "PROGRAM MANAGER", "program manager", "pROGRAM mANAGER"}) {
    t.windows.calls.clear();
    t.windows.titles[kTarget] = title;
    t.input.click(insert(3));
    EXPECT_EQ(t.windows.calls, std::vector<std::string>{"windowTitle 20480"}) << title;
  }
  // Only the whole title counts.
  for (const char* title : {"Program Manager - notes", " Program Manager", "Program Manage"}) {
    t.windows.calls.clear();
    t.windows.titles[kTarget] = title;
    t.input.click(insert(3));
    EXPECT_EQ(keysSent(), 5u) << title;
  }
}

TEST_F(FillAction, AClipboardHeldByAnotherProgramIsRetriedOnceAfterAYield) {
  t.windows.clipboardFailures = 1;
  t.input.click(insert(3));
  EXPECT_EQ(
      t.windows.calls,
      Concat({{"windowTitle 20480", "setClipboardText Smith & Co", "doEvents"}, kOneAttempt}));
  EXPECT_EQ(t.windows.clipboard, "Smith & Co");
}

TEST_F(FillAction, TheRepeatedAttemptWaitsABoundedWhileForTheClipboardThenGivesUpQuietly) {
  // Held a little longer: the repeated attempt waits for it, answering events meanwhile.
  t.windows.clipboardFailures = 4;
  t.input.click(insert(3));
  EXPECT_EQ(
      t.windows.calls,
      Concat({{"windowTitle 20480", "setClipboardText Smith & Co", "doEvents",
               "setClipboardText Smith & Co", "sleep 20", "doEvents", "setClipboardText Smith & Co",
               "sleep 20", "doEvents", "setClipboardText Smith & Co", "sleep 20", "doEvents"},
              kOneAttempt}));

  // Never free: about a second of waiting, then nothing is activated or sent.
  t.windows.calls.clear();
  t.windows.clipboardFailures = 1000;
  t.input.click(insert(3));
  const auto tries = t.windows.callsStartingWith("setClipboardText").size();
  const auto pauses = t.windows.callsStartingWith("sleep 20").size();
  EXPECT_EQ(tries, 51u);
  EXPECT_EQ(pauses, 49u);
  EXPECT_EQ(t.windows.calls.back(), "setClipboardText Smith & Co");
  EXPECT_EQ(t.windows.callsStartingWith("setForegroundWindow").size(), 0u);
  EXPECT_EQ(keysSent(), 0u);
  EXPECT_TRUE(t.windows.errors.empty());
  EXPECT_FALSE(t.app.fillRunning);

  // Keys refused by the system: the whole attempt is repeated once, then given up.
  t.windows.calls.clear();
  t.windows.clipboardFailures = 0;
  t.windows.keysResult = platform::SendResult::Failed;
  t.input.click(insert(3));
  EXPECT_EQ(t.windows.callsStartingWith("sendKeys"),
            (std::vector<std::string>{"sendKeys {HOME} wait 20480", "sendKeys {HOME} wait 20480"}));
  EXPECT_EQ(t.windows.callsStartingWith("setClipboardText").size(), 2u);
  EXPECT_TRUE(t.windows.errors.empty());
}

TEST_F(FillAction, ATargetThatDoesNotProcessItsKeysInTimeEndsTheFill) {
  t.windows.keysResult = platform::SendResult::TimedOut;
  t.input.click(insert(3));
  EXPECT_EQ(t.windows.callsStartingWith("sendKeys"),
            std::vector<std::string>{"sendKeys {HOME} wait 20480"});
  EXPECT_EQ(t.windows.callsStartingWith("setClipboardText").size(), 1u);
  EXPECT_TRUE(t.windows.errors.empty());
}

TEST_F(FillAction, NoKeyIsSentWhenTheTargetIsGoneHungOrNotInFront) {
  auto fillsNothing = [&](const char* why) {
    t.windows.calls.clear();
    t.windows.foreground = kElsewhere;
    t.input.click(insert(3));
    EXPECT_EQ(keysSent(), 0u) << why;
    EXPECT_EQ(std::ranges::count(t.windows.calls, "releaseHeldModifiers"), 0) << why;
    EXPECT_EQ(t.windows.callsStartingWith("setForegroundWindow").size(), 1u) << why;
  };
  t.windows.goneWindows = {kTarget};
  fillsNothing("gone");  // its title reads as empty and does not stop the fill by itself
  t.windows.goneWindows.clear();

  t.windows.hungWindows = {kTarget};
  fillsNothing("hung");
  t.windows.hungWindows.clear();

  t.windows.activationRefused = true;
  fillsNothing("activation refused");
  t.windows.activationRefused = false;

  // The activation is checked after the yield: a pending event may take the foreground away.
  t.windows.calls.clear();
  t.windows.pendingEvents = [&] { t.windows.foreground = kElsewhere; };
  t.input.click(insert(3));
  EXPECT_EQ(keysSent(), 0u);
}

TEST_F(FillAction, AReleaseWhileAFillIsYieldingIsIgnored) {
  int nested = 0;
  t.windows.pendingEvents = [&] {
    ++nested;
    t.input.click(insert(5));
  };
  t.input.click(insert(3));
  EXPECT_EQ(nested, 1);
  EXPECT_EQ(t.windows.calls, Concat({{"windowTitle 20480"}, kOneAttempt}));
  EXPECT_EQ(t.windows.clipboard, "Smith & Co");

  // The guard ends with the fill: the next release fills.
  t.windows.calls.clear();
  t.input.click(insert(5));
  EXPECT_EQ(t.windows.callsStartingWith("setClipboardText"),
            std::vector<std::string>{"setClipboardText second"});
  EXPECT_EQ(keysSent(), 5u);
}

TEST_F(FillAction, TheGuardIsResetWhenAPendingEventThrows) {
  t.windows.pendingEvents = [] { throw std::runtime_error("from a pending event"); };
  EXPECT_THROW(t.input.click(insert(3)), std::runtime_error);
  EXPECT_FALSE(t.app.fillRunning);
  t.windows.calls.clear();
  t.input.click(insert(3));
  EXPECT_EQ(keysSent(), 5u);
}

TEST_F(FillAction, TheTextIsTheLabelsCurrentCaptionAndTheTargetTheOneChecked) {
  setEntry(3, "+^%~{}\r\nM\xFCller \x80");
  // A tick inside the first yield records another window; this fill still types into the
  // window whose title it checked.
  t.windows.pendingEvents = [&] { t.app.targetWindow = kElsewhere; };
  t.input.click(insert(3));
  EXPECT_EQ(t.windows.clipboard, "+^%~{}\r\nM\xFCller \x80");
  for (const auto& call : t.windows.callsStartingWith("sendKeys")) {
    EXPECT_TRUE(call.ends_with(" 20480")) << call;
  }
  EXPECT_EQ(keysSent(), 5u);
}

}  // namespace
}  // namespace tw
