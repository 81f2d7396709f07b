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
  // Each event as "down L7 b1 s0 10,20": the kind, the name's initial and the event's index,
  // the buttons, the shift keys and the position.
  void record(Control& c) {
    const auto mouse = [this, &c](const char* what) {
      return [this, &c, what](const MouseEvent& e) {
        log(what + c.name().substr(0, 1) + std::to_string(e.index) + " b" +
            std::to_string(e.button) + " s" + std::to_string(e.shift) + " " +
            std::to_string(int(e.x)) + "," + std::to_string(int(e.y)));
      };
    };
    c.onMouseDown = mouse("down ");
    c.onMouseMove = mouse("move ");
    c.onMouseUp = mouse("up ");
    c.onClick = [this, &c](int) { log("click " + c.name()); };
    c.onDragOver = [this, &c](const DragEvent& e) {
      log(std::string("enter leave over ").substr(6 * int(e.state), 6) + c.name() +
          std::to_string(e.index) + " " + std::to_string(int(e.x)) + "," +
          std::to_string(int(e.y)));
    };
    c.onDragDrop = [this, &c](const DragEvent& e) { log("drop " + c.name() + e.source->name()); };
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
    EXPECT_EQ(take(), "down L7 b" + s + " s1 20,30, move L7 b" + s + " s0 5,406, up L7 b" + s +
                          " s2 4900,3900");
  }
  // Without a press the moves go to the control under the pointer; over a gap or a disabled
  // control to none.
  input.move(*other, 0, 15, 25);
  input.moveTo({2500, 100}, 0);
  button->setEnabled(false);
  input.move(*button, 0);
  EXPECT_EQ(take(), "move L8 b0 s0 15,25");
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
            "down B3 b1 s0 10,10, move L8 b0 s0 1,2, down L7 b1 s0 10,10, up L7 "
            "b1 s0 10,10, move L8 b0 s0 1,2, down L7 b1 s0 10,10, up L7 b1 s0 "
            "10,10");
  // A hidden control is not under the pointer; a click follows the release of a push button.
  other->setVisible(false);
  EXPECT_EQ(form.controlAt({200, 1550}), frame);
  input.click(*button, kLeftButton);
  EXPECT_EQ(take(), "down B3 b1 s0 10,10, up B3 b1 s0 10,10, click Btn");
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
            "down L7 b1 s0 30,40, enter Lbl8 30,50, over Lbl8 60,40, "
            "leave Lbl8 -93,-1492, enter Btn3 7,8, drop LblLbl");
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
  EXPECT_EQ(take(), "down L7 b1 s0 10,10, down L7 b1 s0 10,10, down L7 b1 s0 10,10");
}

TEST_F(Toolkit, FocusLossIsRaisedWhenTheFocusMovesOrTheFocusedBoxIsHiddenAndOptionsAreExclusive) {
  EXPECT_EQ(form.focused(), sink) << "the first focusable control holds the focus at load";
  for (Control* c : {box, sink, box, label}) c->setFocus();  // a label cannot take it
  box->setVisible(false);
  box->setVisible(true);
  box->setFocus();
  form.nativeFocusChanged(box);  // the echo of the program's own request
  form.nativeFocusChanged(nullptr);
  EXPECT_EQ(take(), "lost Box, lost Box, lost Box");
  EXPECT_EQ(form.focused(), nullptr);
  // Option buttons: selected by a release of any button over them, never beside them.
  optA->setSelected(true);
  input.click(*optB, kRightButton);
  input.press(*optA);
  form.pointerUp(nullptr, kLeftButton, 0, {2000, 0});
  EXPECT_TRUE(optB->selected() && !optA->selected());
}

TEST_F(Toolkit, HitTestingTheTimerAndTheFormsLife) {
  Control& top = form.add(ControlKind::Label, "Top", -1, nullptr, {0, 0, 50, 50});
  EXPECT_EQ(form.controlAt({10, 10}), &top);
  top.sendToBack();
  EXPECT_EQ(form.controlAt({10, 10}), button);
  EXPECT_EQ(form.controlAt({200, 1200}), label) << "a container's child lies above it";
  EXPECT_EQ(form.controlAt({2500, 1200}), nullptr);
  for (Point p : {Point{-1, 10}, {10, -1}, {3000, 10}, {10, 3000}}) EXPECT_FALSE(form.controlAt(p));
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
}

}  // namespace
}  // namespace tw::forms
