// The forms toolkit's input rules, headless: which control receives which event, with which
// index, button and position; focus, drag, option buttons, hit testing and a form's life.
#include <gtest/gtest.h>

#include <string>

#include "forms/form.h"
#include "forms/headless_backend.h"
#include "forms/toolkit.h"

namespace tw::forms {
namespace {

class Toolkit : public ::testing::Test {
 protected:
  Toolkit() {
    form.setClientSize(3000, 3000);
    for (Control* c : {button, label, other, optB}) record(*c);
    box->onLostFocus = [this](int) { log("lost Box"); };
    form.load();
  }
  void log(const std::string& line) { events += (events.empty() ? "" : ", ") + line; }
  void record(Control& c) {
    const std::string n = c.name() + std::to_string(c.index());
    const auto mouse = [this, n](const char* what) {
      return [this, n, what](const MouseEvent& e) {
        log(what + n + " i" + std::to_string(e.index) + " b" + std::to_string(e.button) + " s" +
            std::to_string(e.shift) + " " + std::to_string(int(e.x)) + "," +
            std::to_string(int(e.y)));
      };
    };
    c.onMouseDown = mouse("down ");
    c.onMouseMove = mouse("move ");
    c.onMouseUp = mouse("up ");
    c.onClick = [this, n](int) { log("click " + n); };
    c.onDragOver = [this, n](const DragEvent& e) {
      const char* states[] = {"enter ", "leave ", "over "};
      log(states[int(e.state)] + n + " from " + e.source->name() + " " + std::to_string(int(e.x)) +
          "," + std::to_string(int(e.y)));
    };
    c.onDragDrop = [this, n](const DragEvent& e) {
      log("drop " + n + " from " + e.source->name());
    };
  }
  std::string take() { return std::exchange(events, ""); }

  HeadlessBackend backend;
  forms::Toolkit toolkit{backend};
  Form form{toolkit, "F", FormStyle{}};
  HeadlessInput input{form};
  Control* sink = &form.add(ControlKind::FocusSink, "Sink", -1, nullptr, {0, 0, 100, 100});
  Control* button = &form.add(ControlKind::PushButton, "Btn", 3, nullptr, {0, 0, 600, 300}, "Go");
  Control* box = &form.add(ControlKind::TextBox, "Box", -1, nullptr, {0, 400, 600, 300});
  Control* frame = &form.add(ControlKind::Container, "Frame", 0, nullptr, {0, 1000, 2000, 1000});
  Control* label = &form.add(ControlKind::Label, "Lbl", 7, frame, {100, 100, 900, 300});
  Control* other = &form.add(ControlKind::Label, "Lbl", 8, frame, {100, 500, 900, 300});
  Control* optA = &form.add(ControlKind::OptionButton, "Opt", 0, nullptr, {0, 2200, 400, 300});
  Control* optB = &form.add(ControlKind::OptionButton, "Opt", 1, nullptr, {500, 2200, 400, 300});
  Control* timer = &form.add(ControlKind::Timer, "Tick", -1, nullptr, {});
  std::string events;
};

TEST_F(Toolkit, APressOwnsItsMovesAndReleaseWhereverThePointerGoes) {
  for (int b : {kLeftButton, kRightButton, kMiddleButton}) {
    input.press(*label, b, 20, 30, kShiftKey);
    input.move(*other, b, 5, 6);
    form.pointerUp(nullptr, b, kCtrlKey, {5000, 5000});  // released outside the window
    const std::string s = std::to_string(b);
    EXPECT_EQ(take(), "down Lbl7 i7 b" + s + " s1 20,30, move Lbl7 i7 b" + s +
                          " s0 5,406, up Lbl7 i7 b" + s + " s2 4900,3900");
  }
  // Without a press the moves go to the control under the pointer; over a gap or a disabled
  // control to none.
  input.move(*other, 0, 15, 25);
  input.moveTo({2500, 100}, 0);
  button->setEnabled(false);
  input.move(*button, 0);
  EXPECT_EQ(take(), "move Lbl8 i8 b0 s0 15,25");
  // A press that no control took (a gap, a disabled button): its moves and release reach none.
  for (Point start : {Point{2500, 100}, Point{100, 100}}) {
    form.pointerDown(form.controlAt(start), kLeftButton, 0, start);
    input.move(*label);
    input.release(*label);
    input.click(*button);
    EXPECT_EQ(take(), "") << start.x;
  }
  // A press taken away (a message box took the capture) ends: the next events are fresh.
  button->setEnabled(true);
  for (Control* pressed : {button, static_cast<Control*>(nullptr)}) {
    form.pointerDown(pressed, kLeftButton, 0, {10, 10});
    form.cancelPress();
    form.pointerUp(nullptr, kLeftButton, 0, {5000, 5000});
    input.move(*other, 0, 1, 2);
    input.click(*label);
  }
  EXPECT_EQ(take(),
            "down Btn3 i3 b1 s0 10,10, move Lbl8 i8 b0 s0 1,2, down Lbl7 i7 b1 s0 10,10, up Lbl7 "
            "i7 b1 s0 10,10, move Lbl8 i8 b0 s0 1,2, down Lbl7 i7 b1 s0 10,10, up Lbl7 i7 b1 s0 "
            "10,10");
  // A hidden control is not under the pointer; a click follows the release of a push button.
  other->setVisible(false);
  EXPECT_EQ(form.controlAt({200, 1550}), frame);
  input.click(*button, kLeftButton);
  EXPECT_EQ(take(), "down Btn3 i3 b1 s0 10,10, up Btn3 i3 b1 s0 10,10, click Btn3");
}

TEST_F(Toolkit, ADragConsumesTheReleaseAndDropsOnTheEnabledControlUnderThePointer) {
  input.press(*label, kLeftButton, 30, 40);
  label->beginDrag();
  EXPECT_EQ(backend.outline, (Rect{100, 1100, 900, 300}));
  input.move(*other, kLeftButton, 30, 50);
  EXPECT_EQ(backend.outline, (Rect{100, 1510, 900, 300})) << "the outline follows the pointer";
  input.move(*other, kLeftButton, 60, 40);
  input.move(*button, kLeftButton, 7, 8);
  input.release(*other);
  EXPECT_FALSE(backend.outlineShown);
  EXPECT_EQ(take(),
            "down Lbl7 i7 b1 s0 30,40, enter Lbl8 from Lbl 30,50, over Lbl8 from Lbl 60,40, "
            "leave Lbl8 from Lbl -93,-1492, enter Btn3 from Lbl 7,8, drop Lbl8 from Lbl");
  EXPECT_EQ(form.pressedControl(), nullptr);
  // Dropped outside any control, on a disabled one, or called off: nothing, and no outline.
  other->setEnabled(false);
  for (int i = 0; i < 3; ++i) {
    input.press(*label);
    label->beginDrag();
    if (i == 0) form.pointerUp(nullptr, kLeftButton, 0, {9000, 9000});
    if (i == 1) input.release(*other);
    if (i == 2) form.cancelPress();
    EXPECT_FALSE(form.dragging() || backend.outlineShown);
  }
  EXPECT_EQ(take(), "down Lbl7 i7 b1 s0 10,10, down Lbl7 i7 b1 s0 10,10, down Lbl7 i7 b1 s0 10,10");
}

TEST_F(Toolkit, FocusLossIsRaisedWhenTheFocusMovesAndWhenTheFocusedBoxIsHidden) {
  EXPECT_EQ(form.focused(), sink) << "the first focusable control holds the focus at load";
  box->setFocus();
  sink->setFocus();
  box->setFocus();
  box->setVisible(false);
  EXPECT_EQ(form.focused(), sink);
  label->setFocus();  // a label cannot take it
  EXPECT_EQ(form.focused(), sink);
  EXPECT_EQ(take(), "lost Box, lost Box");
  // A native focus change raises it once; the echo of the program's own request nothing.
  box->setVisible(true);
  box->setFocus();
  form.nativeFocusChanged(box);
  form.nativeFocusChanged(nullptr);
  EXPECT_EQ(take(), "lost Box");
}

TEST_F(Toolkit, OptionButtonsAreExclusiveInTheirContainerAndSelectedByAnyReleaseOverThem) {
  optA->setSelected(true);
  input.press(*optB, kRightButton);
  input.release(*optB, kRightButton);
  EXPECT_TRUE(optB->selected() && !optA->selected());
  input.press(*optA);
  form.pointerUp(nullptr, kLeftButton, 0, {2000, 0});  // released outside the option
  EXPECT_TRUE(optB->selected() && !optA->selected());
  form.nativeClicked(*optA);  // the keyboard
  EXPECT_TRUE(optA->selected() && !optB->selected());
}

TEST_F(Toolkit, HitTestingTheTimerAndTheFormsLife) {
  Control& top = form.add(ControlKind::Label, "Top", -1, nullptr, {0, 0, 50, 50});
  EXPECT_EQ(form.controlAt({10, 10}), &top);
  top.sendToBack();
  EXPECT_EQ(form.controlAt({10, 10}), button);
  EXPECT_EQ(form.controlAt({200, 1200}), label) << "a container's child lies above it";
  EXPECT_EQ(form.controlAt({2500, 1200}), nullptr);
  EXPECT_EQ(form.controlAt({-1, 10}), nullptr);
  EXPECT_EQ(form.controlAt({10, 3000}), nullptr);
  EXPECT_EQ(&form.control("Lbl", 8), other);
  EXPECT_THROW(timer->setBold(true), NoFontError);
  int ticks = 0;
  timer->onTimer = [&](int) { ++ticks; };
  timer->tick();
  timer->setInterval(1000);
  timer->tick();
  timer->setEnabled(false);
  timer->tick();
  EXPECT_EQ(ticks, 1);
  // The client area follows the outer size.
  form.nativeMoved(10, 20, form.width() + 15, form.height() - 30);
  EXPECT_EQ(form.clientWidth(), 3015);
  EXPECT_EQ(form.clientHeight(), 2970);
  // A modal form runs until it is unloaded; a close may be called off.
  Form dialog{toolkit, "Dlg", FormStyle{BorderStyle::FixedDialog, false, false}};
  backend.modalScript = [&](Form& f) {
    EXPECT_EQ(toolkit.formCount(), 2);
    f.onQueryUnload = [](bool& cancel, CloseReason) { cancel = true; };
    EXPECT_FALSE(f.unload());
    f.onQueryUnload = nullptr;
    f.onUnload = [&] { ++ticks; };
    EXPECT_TRUE(f.unload());
  };
  dialog.showModal();
  EXPECT_EQ(ticks, 2);
  EXPECT_EQ(toolkit.formCount(), 1);
}

}  // namespace
}  // namespace tw::forms
