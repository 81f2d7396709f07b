#include "forms/form.h"

#include <stdexcept>

#include "forms/backend.h"
#include "forms/toolkit.h"

namespace tw::forms {

Form::Form(Toolkit& toolkit, std::string name, FormStyle style)
    : toolkit_(toolkit), name_(std::move(name)), style_(style) {}

Form::~Form() {
  if (loaded_) {
    backend().destroyForm(*this);
    toolkit_.formUnloaded(*this);
  }
}

Backend& Form::backend() const {
  return toolkit_.backend();
}

Control& Form::add(ControlKind kind, std::string name, int index, Control* container, Rect bounds,
                   std::string caption) {
  const int z = static_cast<int>(controls_.size());
  controls_.push_back(
      std::make_unique<Control>(*this, kind, std::move(name), index, container, bounds, z));
  Control& c = *controls_.back();
  c.nativeTextChanged(std::move(caption));
  return c;
}

void Form::setClientSize(Twips width, Twips height) {
  clientWidth_ = width;
  clientHeight_ = height;
  const Point outer = backend().outerSizeForClient(*this, width, height);
  width_ = outer.x;
  height_ = outer.y;
  if (loaded_) backend().formChanged(*this, FormProperty::Bounds);
}

Control& Form::control(std::string_view name, int index) const {
  for (const auto& c : controls_) {
    if (c->name() == name && c->index() == index) return *c;
  }
  throw std::out_of_range("no control " + std::string(name) + "(" + std::to_string(index) + ")");
}

namespace {

// The topmost shown child of container at a point relative to that container.
Control* hitTest(const std::vector<std::unique_ptr<Control>>& controls, const Control* container,
                 Point p) {
  Control* best = nullptr;
  for (const auto& c : controls) {
    if (c->container() != container || !c->visible() || c->kind() == ControlKind::Timer) continue;
    if (!c->bounds().contains(p)) continue;
    if (best == nullptr || c->zOrder() > best->zOrder()) best = c.get();
  }
  if (best != nullptr && best->kind() == ControlKind::Container) {
    Control* inner = hitTest(controls, best, {p.x - best->left(), p.y - best->top()});
    if (inner != nullptr) return inner;
  }
  return best;
}

}  // namespace

Control* Form::controlAt(Point clientPoint) const {
  if (clientPoint.x < 0 || clientPoint.y < 0 || clientPoint.x >= clientWidth_ ||
      clientPoint.y >= clientHeight_) {
    return nullptr;
  }
  return hitTest(controls_, nullptr, clientPoint);
}

void Form::setCaption(std::string caption) {
  caption_ = std::move(caption);
  if (loaded_) backend().formChanged(*this, FormProperty::Caption);
}

void Form::setLeft(Twips v) {
  left_ = v;
  if (loaded_) backend().formChanged(*this, FormProperty::Bounds);
}
void Form::setTop(Twips v) {
  top_ = v;
  if (loaded_) backend().formChanged(*this, FormProperty::Bounds);
}
void Form::setWidth(Twips v) {
  clientWidth_ += v - width_;
  width_ = v;
  if (loaded_) backend().formChanged(*this, FormProperty::Bounds);
}
void Form::setHeight(Twips v) {
  clientHeight_ += v - height_;
  height_ = v;
  if (loaded_) backend().formChanged(*this, FormProperty::Bounds);
}

void Form::setWindowState(WindowState state) {
  state_ = state;
  if (!loaded_) return;
  backend().formChanged(*this, FormProperty::WindowState);
  if (onScreen_ && onResize) onResize();
}

void Form::load() {
  if (loaded_) return;
  loaded_ = true;
  toolkit_.formLoaded(*this);
  backend().createForm(*this);
  // The first control in the tab order that can take the focus holds it when the form opens.
  for (const auto& c : controls_) {
    if (c->canTakeFocus() && c->shown() && c->enabled()) {
      focused_ = c.get();
      break;
    }
  }
  if (onLoad) onLoad();
}

void Form::show() {
  load();
  if (!loaded_) return;  // the load handler may have unloaded it
  const bool first = !onScreen_;
  onScreen_ = true;
  backend().showForm(*this);
  if (first && onResize) onResize();
}

void Form::showModal() {
  load();
  if (!loaded_) return;
  onScreen_ = true;
  backend().showModal(*this);
}

bool Form::unload(CloseReason reason) {
  if (!loaded_) return true;
  bool cancel = false;
  if (onQueryUnload) onQueryUnload(cancel, reason);
  if (cancel || !loaded_) return false;
  if (onUnload) onUnload();
  if (!loaded_) return true;
  loaded_ = false;
  onScreen_ = false;
  focused_ = nullptr;
  pressed_ = nullptr;
  dragSource_ = nullptr;
  dragOver_ = nullptr;
  buttonsHeld_ = 0;
  toolkit_.formUnloaded(*this);
  backend().destroyForm(*this);
  hwnd_ = 0;
  return true;
}

void Form::setFocus(Control& control) {
  if (!control.canTakeFocus() || !control.shown() || !control.enabled()) return;
  if (focused_ == &control) return;
  Control* old = focused_;
  focused_ = &control;
  if (loaded_) backend().setFocus(control);
  if (old != nullptr && old->onLostFocus) old->onLostFocus(old->index());
}

void Form::controlHidden(Control&) {
  // A hidden control, or a control inside a hidden container, cannot keep the focus.
  if (focused_ != nullptr && !focused_->shown()) moveFocusAway(*focused_);
}

void Form::moveFocusAway(Control& from) {
  Control* next = nullptr;
  for (const auto& c : controls_) {
    if (c.get() != &from && c->canTakeFocus() && c->shown() && c->enabled()) {
      next = c.get();
      break;
    }
  }
  focused_ = next;
  if (next != nullptr && loaded_) backend().setFocus(*next);
  if (from.onLostFocus) from.onLostFocus(from.index());
}

MouseEvent Form::relativeEvent(const Control& c, int button, int shift, Point client) const {
  const Rect r = c.absoluteBounds();
  return MouseEvent{c.index(), button, shift, client.x - r.left, client.y - r.top};
}

void Form::pointerDown(Control* under, int button, int shift, Point client) {
  lastPointer_ = client;
  if (buttonsHeld_ == 0) {
    pressed_ = (under != nullptr && under->enabled() && under->shown()) ? under : nullptr;
  }
  buttonsHeld_ |= button;
  if (dragSource_ != nullptr || pressed_ == nullptr) return;
  if (pressed_->onMouseDown) pressed_->onMouseDown(relativeEvent(*pressed_, button, shift, client));
}

void Form::pointerMove(Control* under, int buttons, int shift, Point client) {
  lastPointer_ = client;
  if (dragSource_ != nullptr) {
    const Rect outline{client.x - dragGrab_.x, client.y - dragGrab_.y, dragSource_->width(),
                       dragSource_->height()};
    backend().moveDragOutline(*this, outline);
    Control* target = (under != nullptr && under->enabled()) ? under : nullptr;
    Control* source = dragSource_;
    if (target != dragOver_) {
      Control* left = dragOver_;
      dragOver_ = target;
      if (left != nullptr && left->onDragOver) {
        const MouseEvent e = relativeEvent(*left, 0, shift, client);
        left->onDragOver(DragEvent{left->index(), source, e.x, e.y, DragState::Leave});
      }
      if (target != nullptr && target->onDragOver) {
        const MouseEvent e = relativeEvent(*target, 0, shift, client);
        target->onDragOver(DragEvent{target->index(), source, e.x, e.y, DragState::Enter});
      }
    } else if (target != nullptr && target->onDragOver) {
      const MouseEvent e = relativeEvent(*target, 0, shift, client);
      target->onDragOver(DragEvent{target->index(), source, e.x, e.y, DragState::Over});
    }
    return;
  }
  // During a press the moves belong to the pressed control alone; a press that no control took
  // (a gap, a disabled button, or one begun outside the window) sends its moves nowhere.
  const bool pressing = buttons != 0 || buttonsHeld_ != 0;
  Control* receiver = pressing ? pressed_ : under;
  if (receiver == nullptr || !receiver->enabled() || !receiver->onMouseMove) return;
  receiver->onMouseMove(relativeEvent(*receiver, buttons, shift, client));
}

void Form::pointerUp(Control* under, int button, int shift, Point client) {
  lastPointer_ = client;
  buttonsHeld_ &= ~button;
  if (dragSource_ != nullptr) {
    Control* source = dragSource_;
    dragSource_ = nullptr;
    dragOver_ = nullptr;
    backend().hideDragOutline(*this);
    if (buttonsHeld_ == 0) endPress();
    if (under != nullptr && under->enabled() && under->onDragDrop) {
      const MouseEvent e = relativeEvent(*under, button, shift, client);
      under->onDragDrop(DragEvent{under->index(), source, e.x, e.y, DragState::Over});
    }
    return;
  }
  Control* receiver = pressed_;
  if (buttonsHeld_ == 0) endPress();
  if (receiver == nullptr || !receiver->enabled()) return;
  if (receiver->kind() == ControlKind::OptionButton && receiver->shown() &&
      receiver->absoluteBounds().contains(client)) {
    receiver->setSelected(true);
  }
  if (receiver->onMouseUp) receiver->onMouseUp(relativeEvent(*receiver, button, shift, client));
}

void Form::cancelPress() {
  if (pressed_ == nullptr && dragSource_ == nullptr && buttonsHeld_ == 0) return;
  if (dragSource_ != nullptr) {
    dragSource_ = nullptr;
    dragOver_ = nullptr;
    if (loaded_) backend().hideDragOutline(*this);
  }
  pressed_ = nullptr;
  buttonsHeld_ = 0;
}

void Form::endPress() {
  pressed_ = nullptr;
  buttonsHeld_ = 0;
  if (loaded_) backend().releaseCapture(*this);
}

void Form::nativeClicked(Control& control) {
  if (!control.enabled()) return;
  if (control.kind() == ControlKind::OptionButton) control.setSelected(true);
  if (control.onClick) control.onClick(control.index());
}

void Form::nativeFocusChanged(Control* gained) {
  if (gained == focused_) return;
  Control* old = focused_;
  focused_ = gained;
  if (old != nullptr && old->onLostFocus) old->onLostFocus(old->index());
}

void Form::nativeMoved(Twips left, Twips top, Twips width, Twips height) {
  left_ = left;
  top_ = top;
  clientWidth_ += width - width_;
  clientHeight_ += height - height_;
  width_ = width;
  height_ = height;
}

void Form::nativeStateChanged(WindowState state) {
  if (state == state_) return;
  state_ = state;
  if (onResize) onResize();
}

void Form::nativeCloseRequested(CloseReason reason) {
  unload(reason);
}

void Form::nativeDeactivated() {
  if (onDeactivate) onDeactivate();
}

void Form::nativeMouseActivated() {
  if (onMouseActivate) onMouseActivate();
}

void Form::beginDrag(Control& control) {
  dragSource_ = &control;
  dragOver_ = nullptr;
  const Rect r = control.absoluteBounds();
  dragGrab_ = {lastPointer_.x - r.left, lastPointer_.y - r.top};
  if (loaded_) backend().showDragOutline(*this, r);
}

}  // namespace tw::forms
