#include "forms/headless_backend.h"

#include <stdexcept>

namespace tw::forms {

namespace {
std::string nameOf(const Control& c) {
  return c.index() < 0 ? c.name() : c.name() + "(" + std::to_string(c.index()) + ")";
}
}  // namespace

void HeadlessBackend::createForm(Form& form) {
  form.setHwnd(nextHandle_);
  nextHandle_ += 0x10;
  log.push_back("create " + form.name());
}

void HeadlessBackend::destroyForm(Form& form) {
  log.push_back("destroy " + form.name());
}

void HeadlessBackend::formChanged(Form& form, FormProperty property) {
  if (property == FormProperty::WindowState) {
    static const char* const kStates[] = {"normal", "minimized", "maximized"};
    log.push_back("state " + form.name() + " " + kStates[static_cast<int>(form.windowState())]);
  }
}

void HeadlessBackend::showForm(Form& form) {
  log.push_back("show " + form.name());
}

void HeadlessBackend::showModal(Form& form) {
  log.push_back("modal " + form.name());
  if (!modalScript) throw std::logic_error("no script for the modal form " + form.name());
  modalScript(form);
  if (form.loaded()) throw std::logic_error("the modal form " + form.name() + " was left open");
}

Point HeadlessBackend::outerSizeForClient(const Form&, Twips clientWidth, Twips clientHeight) {
  return {clientWidth + kFrameWidth, clientHeight + kFrameHeight};
}

void HeadlessBackend::controlChanged(Control&, Property) {}

void HeadlessBackend::setFocus(Control& control) {
  log.push_back("focus " + nameOf(control));
}

void HeadlessBackend::showDragOutline(Form&, const Rect& rect) {
  outlineShown = true;
  outline = rect;
}

void HeadlessBackend::moveDragOutline(Form&, const Rect& rect) {
  outline = rect;
}

void HeadlessBackend::hideDragOutline(Form&) {
  outlineShown = false;
}

void HeadlessBackend::releaseCapture(Form&) {}

Point HeadlessInput::at(const Control& c, Twips x, Twips y) const {
  const Rect r = c.absoluteBounds();
  return {r.left + x, r.top + y};
}

void HeadlessInput::press(Control& c, int button, Twips x, Twips y, int shift) {
  form_.pointerDown(&c, button, shift, at(c, x, y));
}

void HeadlessInput::move(Control& c, int buttons, Twips x, Twips y, int shift) {
  const Point p = at(c, x, y);
  form_.pointerMove(form_.controlAt(p), buttons, shift, p);
}

void HeadlessInput::release(Control& c, int button, Twips x, Twips y, int shift) {
  const Point p = at(c, x, y);
  form_.pointerUp(form_.controlAt(p), button, shift, p);
}

void HeadlessInput::moveTo(Point client, int buttons) {
  form_.pointerMove(form_.controlAt(client), buttons, 0, client);
}

void HeadlessInput::releaseAt(Point client, int button) {
  form_.pointerUp(form_.controlAt(client), button, 0, client);
}

void HeadlessInput::click(Control& c, int button) {
  press(c, button);
  release(c, button);
  if (button == kLeftButton &&
      (c.kind() == ControlKind::PushButton || c.kind() == ControlKind::OptionButton)) {
    form_.nativeClicked(c);
  }
}

}  // namespace tw::forms
