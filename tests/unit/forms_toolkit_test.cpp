// The forms toolkit's event rules, headless: which control receives which event.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/form.h"
#include "forms/headless_backend.h"
#include "forms/toolkit.h"

namespace tw::forms {
namespace {

class ToolkitTest : public ::testing::Test {
 protected:
  ToolkitTest() {
    form.setClientSize(3000, 3000);
    sink = &form.add(ControlKind::FocusSink, "Sink", -1, nullptr, {0, 0, 100, 100});
    button = &form.add(ControlKind::PushButton, "Btn", 3, nullptr, {0, 0, 600, 300}, "Go");
    box = &form.add(ControlKind::TextBox, "Box", -1, nullptr, {0, 400, 600, 300});
    frame = &form.add(ControlKind::Container, "Frame", 0, nullptr, {0, 1000, 2000, 1000});
    label = &form.add(ControlKind::Label, "Lbl", 7, frame, {100, 100, 900, 300});
    other = &form.add(ControlKind::Label, "Lbl", 8, frame, {100, 500, 900, 300});
    optA = &form.add(ControlKind::OptionButton, "Opt", 0, nullptr, {0, 2200, 400, 300}, "A");
    optB = &form.add(ControlKind::OptionButton, "Opt", 1, nullptr, {500, 2200, 400, 300}, "B");
    timer = &form.add(ControlKind::Timer, "Tick", -1, nullptr, {});
    record(*button);
    record(*label);
    record(*other);
    record(*optB);
    box->onLostFocus = [this](int) { events.push_back("lost Box"); };
    form.load();
  }

  void record(Control& c) {
    const std::string n = c.name() + std::to_string(c.index());
    c.onMouseDown = [this, n](const MouseEvent& e) {
      events.push_back("down " + n + " b" + std::to_string(e.button));
    };
    c.onMouseMove = [this, n](const MouseEvent& e) {
      events.push_back("move " + n + " b" + std::to_string(e.button));
    };
    c.onMouseUp = [this, n](const MouseEvent& e) {
      events.push_back("up " + n + " i" + std::to_string(e.index) + " b" +
                       std::to_string(e.button) + " x" + std::to_string(static_cast<int>(e.x)));
    };
    c.onClick = [this, n](int) { events.push_back("click " + n); };
    c.onDragOver = [this, n](const DragEvent& e) {
      events.push_back("over " + n + " from " + e.source->name());
    };
    c.onDragDrop = [this, n](const DragEvent& e) {
      events.push_back("drop " + n + " from " + e.source->name());
    };
  }

  HeadlessBackend backend;
  Toolkit toolkit{backend};
  Form form{toolkit, "F", FormStyle{}};
  HeadlessInput input{form};
  Control *sink, *button, *box, *frame, *label, *other, *optA, *optB, *timer;
  std::vector<std::string> events;
};

TEST_F(ToolkitTest, ReleaseGoesToThePressedControlWithItsIndexForEveryButton) {
  for (int b : {kLeftButton, kRightButton, kMiddleButton}) {
    events.clear();
    input.press(*label, b);
    // Released over another label and then outside the window: still the pressed label's.
    form.pointerUp(other, b, 0, {150, 1650});
    EXPECT_EQ(events, (std::vector<std::string>{"down Lbl7 b" + std::to_string(b),
                                                "up Lbl7 i7 b" + std::to_string(b) + " x50"}));
  }
  events.clear();
  input.press(*button, kRightButton);
  form.pointerUp(nullptr, kRightButton, 0, {5000, 5000});
  EXPECT_EQ(events.back(), "up Btn3 i3 b2 x5000");
}

TEST_F(ToolkitTest, MovesWhileAButtonIsHeldGoToThePressedControlOrNowhere) {
  input.press(*label);
  input.move(*other, kLeftButton);
  EXPECT_EQ(events.back(), "move Lbl7 b1");
  input.release(*other);
  events.clear();
  input.move(*other, 0);
  EXPECT_EQ(events, std::vector<std::string>{"move Lbl8 b0"});
  // A press that no control took (a gap, a disabled button, outside the window): its moves and
  // its release reach no control, also with the button that it holds.
  button->setEnabled(false);
  for (Point start : {Point{2500, 100}, Point{100, 100}}) {
    events.clear();
    form.pointerDown(form.controlAt(start), kLeftButton, 0, start);
    input.move(*other, kLeftButton, 10, 20);
    input.move(*label, kLeftButton, 10, 20);
    input.release(*label);
    EXPECT_TRUE(events.empty()) << events.front();
  }
  input.move(*label, kLeftButton, 10, 20);  // held down outside the window, dragged in
  EXPECT_TRUE(events.empty());
}

TEST_F(ToolkitTest, DisabledAndHiddenControlsRaiseNothing) {
  button->setEnabled(false);
  input.click(*button);
  button->setEnabled(true);
  other->setVisible(false);
  // The hidden label is no longer found under the pointer.
  EXPECT_EQ(form.controlAt({200, 1550}), frame);
  EXPECT_TRUE(events.empty());
}

TEST_F(ToolkitTest, ClickFollowsTheMouseUpOfAPushButton) {
  input.click(*button);
  EXPECT_EQ(events, (std::vector<std::string>{"down Btn3 b1", "up Btn3 i3 b1 x10", "click Btn3"}));
}

TEST_F(ToolkitTest, FocusLossIsRaisedWhenFocusMovesAndWhenTheFocusedBoxIsHidden) {
  EXPECT_EQ(form.focused(), sink) << "the first focusable control holds the focus at load";
  box->setFocus();
  EXPECT_TRUE(events.empty());
  sink->setFocus();
  EXPECT_EQ(events, std::vector<std::string>{"lost Box"});
  box->setFocus();
  box->setVisible(false);
  EXPECT_EQ(events, (std::vector<std::string>{"lost Box", "lost Box"}));
  EXPECT_EQ(form.focused(), sink);
  // A native focus change raises it once; the echo of our own request raises nothing.
  box->setVisible(true);
  box->setFocus();
  form.nativeFocusChanged(box);
  form.nativeFocusChanged(button);
  EXPECT_EQ(events.size(), 3u);
}

TEST_F(ToolkitTest, DragConsumesTheReleaseAndDropsOnTheControlUnderThePointer) {
  input.press(*label, kLeftButton, 30, 40);
  label->beginDrag();
  EXPECT_TRUE(backend.outlineShown);
  EXPECT_EQ(backend.outline, (Rect{100, 1100, 900, 300}));
  input.move(*other, kLeftButton, 30, 40);
  EXPECT_EQ(backend.outline, (Rect{100, 1500, 900, 300})) << "the outline follows the pointer";
  input.move(*other, kLeftButton, 60, 40);
  input.release(*other);
  EXPECT_FALSE(backend.outlineShown);
  EXPECT_EQ(events, (std::vector<std::string>{"down Lbl7 b1", "over Lbl8 from Lbl",
                                              "over Lbl8 from Lbl", "drop Lbl8 from Lbl"}));
  EXPECT_EQ(form.pressedControl(), nullptr);
}

TEST_F(ToolkitTest, ALostCaptureEndsThePressSoTheNextClickIsNotSwallowed) {
  input.press(*button);
  form.cancelPress();  // a message box took the mouse while the button was down
  form.pointerUp(nullptr, kLeftButton, 0, {5000, 5000});
  input.press(*label);
  input.release(*label);
  EXPECT_EQ(events,
            (std::vector<std::string>{"down Btn3 b1", "down Lbl7 b1", "up Lbl7 i7 b1 x10"}));
  // A drag ends as well: no drop, no outline.
  input.press(*label);
  label->beginDrag();
  form.cancelPress();
  EXPECT_FALSE(backend.outlineShown);
  EXPECT_FALSE(form.dragging());
}

TEST_F(ToolkitTest, DragReleasedOutsideAnyControlDropsNothing) {
  input.press(*label);
  label->beginDrag();
  form.pointerUp(nullptr, kLeftButton, 0, {9000, 9000});
  EXPECT_EQ(events, std::vector<std::string>{"down Lbl7 b1"});
  EXPECT_FALSE(form.dragging());
}

TEST_F(ToolkitTest, OptionButtonsAreExclusiveWithinTheirContainerAndSelectedByAnyRelease) {
  optA->setSelected(true);
  input.press(*optB, kRightButton);
  input.release(*optB, kRightButton);
  EXPECT_TRUE(optB->selected());
  EXPECT_FALSE(optA->selected());
  // Released outside the option: not selected.
  input.press(*optA);
  form.pointerUp(nullptr, kLeftButton, 0, {2000, 0});
  EXPECT_TRUE(optB->selected());
}

TEST_F(ToolkitTest, EnumerationReachesEveryControlAndTheTimerHasNoFont) {
  int fonts = 0;
  int failures = 0;
  for (int i = 0; i < form.controlCount(); ++i) {
    try {
      form.controlAt(i).setBold(true);
      ++fonts;
    } catch (const NoFontError&) {
      ++failures;
    }
  }
  EXPECT_EQ(fonts, 8);
  EXPECT_EQ(failures, 1);
  EXPECT_TRUE(label->bold());
  EXPECT_FALSE(timer->bold());
}

TEST_F(ToolkitTest, TimerTicksOnlyWhileEnabledWithAnInterval) {
  int ticks = 0;
  timer->onTimer = [&](int) { ++ticks; };
  timer->tick();
  timer->setInterval(1000);
  timer->tick();
  timer->setEnabled(false);
  timer->tick();
  EXPECT_EQ(ticks, 1);
}

TEST_F(ToolkitTest, HitTestPrefersLaterControlsAndRespectsSendToBack) {
  Control& top = form.add(ControlKind::Label, "Top", -1, nullptr, {0, 0, 50, 50});
  EXPECT_EQ(form.controlAt({10, 10}), &top);
  top.sendToBack();
  EXPECT_EQ(form.controlAt({10, 10}), button);
  EXPECT_EQ(form.controlAt({200, 1200}), label) << "a container's child lies above it";
  EXPECT_EQ(form.controlAt({2500, 1200}), nullptr);
}

TEST_F(ToolkitTest, UnloadCanBeCancelledAndRemovesTheFormFromTheCollection) {
  EXPECT_EQ(toolkit.formCount(), 1);
  form.onQueryUnload = [](bool& cancel, forms::CloseReason) { cancel = true; };
  EXPECT_FALSE(form.unload());
  EXPECT_TRUE(form.loaded());
  int unloads = 0;
  form.onQueryUnload = nullptr;
  form.onUnload = [&] { ++unloads; };
  EXPECT_TRUE(form.unload());
  EXPECT_EQ(unloads, 1);
  EXPECT_EQ(toolkit.formCount(), 0);
}

TEST_F(ToolkitTest, ModalShowRunsUntilTheFormIsUnloaded) {
  Form dialog{toolkit, "Dlg", FormStyle{BorderStyle::FixedDialog, false, false}};
  bool seenLoaded = false;
  backend.modalScript = [&](Form& f) {
    seenLoaded = f.loaded() && toolkit.formCount() == 2;
    f.unload();
  };
  dialog.showModal();
  EXPECT_TRUE(seenLoaded);
  EXPECT_FALSE(dialog.loaded());
  EXPECT_EQ(toolkit.formCount(), 1);
}

}  // namespace
}  // namespace tw::forms
