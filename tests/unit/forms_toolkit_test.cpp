// The forms toolkit's input rules that the main window leaves to it, headless: which control
// receives which event with which index, buttons, shift keys and position.
#include <gtest/gtest.h>

#include <string>

#include "forms/form.h"
#include "forms/headless_backend.h"
#include "forms/toolkit.h"

namespace tw::forms {
namespace {

TEST(Toolkit, APressOwnsItsMovesAndReleaseADragReportsWhereItPassesAndACancelledPressEnds) {
  HeadlessBackend backend;
  Toolkit toolkit{backend};
  Form form{toolkit, "F", FormStyle{}};
  HeadlessInput input{form};
  form.setClientSize(3000, 3000);
  Control& button = form.add(ControlKind::PushButton, "B", 3, nullptr, {0, 0, 600, 300});
  Control* frame = &form.add(ControlKind::Container, "F", 0, nullptr, {0, 1000, 2000, 1000});
  Control& label = form.add(ControlKind::Label, "L", 7, frame, {100, 100, 900, 300});
  Control& other = form.add(ControlKind::Label, "L", 8, frame, {100, 500, 900, 300});
  form.load();
  // Each event as "down b1 s0 L7 10,20": kind, buttons, shift keys, name and index, position.
  std::string events;
  for (Control* c : {&button, &label, &other}) {
    const auto log = [&events, c](const std::string& what, const auto& e) {
      events += (events.empty() ? "" : ", ") + what + c->name() + std::to_string(e.index) + " " +
                std::to_string(int(e.x)) + "," + std::to_string(int(e.y));
    };
    const auto mouse = [log](const std::string& what) {
      return [log, what](const MouseEvent& e) {
        log(what + " b" + std::to_string(e.button) + " s" + std::to_string(e.shift) + " ", e);
      };
    };
    c->onMouseDown = mouse("down"), c->onMouseMove = mouse("move"), c->onMouseUp = mouse("up");
    c->onDragOver = [log](auto& e) { log(&"enter \0leave \0over "[7 * int(e.state)], e); };
    c->onDragDrop = [log](const DragEvent& e) { log("drop ", e); };
  }
  for (int b : {kLeftButton, kRightButton, kMiddleButton}) {
    input.press(label, b, 20, 30, kShiftKey);
    input.move(other, b, 5, 6);
    form.pointerUp(nullptr, b, kCtrlKey, {5000, 5000});  // released outside the window
    const std::string n = std::to_string(b);
    EXPECT_EQ(events, "down b" + n + " s1 L7 20,30, move b" + n + " s0 L7 5,406, up b" + n +
                          " s2 L7 4900,3900");
    events.clear();
  }
  // Without a press the moves go to the control under the pointer, over a gap or a disabled
  // control to none; a press that no control took sends its moves and release nowhere.
  input.move(other, 0, 15, 25);
  input.moveTo({2500, 100}, 0);
  button.setEnabled(false);
  input.move(button, 0);
  for (Point start : {Point{2500, 100}, Point{100, 100}}) {
    form.pointerDown(form.controlAt(start), kLeftButton, 0, start);
    input.move(label);
    input.release(label);
  }
  input.move(label, kLeftButton);  // held down outside the window, dragged in
  // A press taken away (a message box took the capture) ends: the next move is a plain one.
  for (Control* pressed : {&label, static_cast<Control*>(nullptr)}) {
    form.pointerDown(pressed, kLeftButton, 0, {150, 1150});
    form.cancelPress();
    input.move(other, 0, 1, 2);
  }
  EXPECT_EQ(events,
            "move b0 s0 L8 15,25, down b1 s0 L7 50,50, move b0 s0 L8 1,2, move b0 s0 L8 1,2");
  events.clear();
  // A drag: enter, over and leave where the pointer passes; the drop where it is released.
  input.press(label, kLeftButton, 30, 40);
  label.beginDrag();
  input.move(other, kLeftButton, 30, 50);
  EXPECT_EQ(backend.outline, (Rect{100, 1510, 900, 300})) << "the outline follows the pointer";
  input.move(other, kLeftButton, 60, 40);
  button.setEnabled(true);
  input.move(button, kLeftButton, 7, 8);
  input.release(other);
  EXPECT_FALSE(backend.outlineShown || form.dragging() || form.pressedControl());
  EXPECT_EQ(events,
            "down b1 s0 L7 30,40, enter L8 30,50, over L8 60,40, leave L8 -93,-1492, enter B3 7,8, "
            "drop L8 10,10");
}

}  // namespace
}  // namespace tw::forms
