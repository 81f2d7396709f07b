#include "forms/control.h"

#include "forms/backend.h"
#include "forms/form.h"

namespace tw::forms {

Control::Control(Form& form, ControlKind kind, std::string name, int index, Control* container,
                 Rect bounds, int zOrder)
    : form_(form),
      kind_(kind),
      name_(std::move(name)),
      index_(index),
      container_(container),
      bounds_(bounds),
      zOrder_(zOrder) {}

bool Control::canTakeFocus() const {
  switch (kind_) {
    case ControlKind::PushButton:
    case ControlKind::TextBox:
    case ControlKind::OptionButton:
    case ControlKind::FocusSink:
      return true;
    default:
      return false;
  }
}

void Control::changed(Property p) {
  if (form_.loaded()) form_.backend().controlChanged(*this, p);
}

void Control::setCaption(std::string caption) {
  if (kind_ == ControlKind::TextBox && maxLength_ > 0 &&
      caption.size() > static_cast<std::size_t>(maxLength_)) {
    caption.resize(static_cast<std::size_t>(maxLength_));
  }
  caption_ = std::move(caption);
  changed(Property::Caption);
}

void Control::setLeft(Twips v) {
  bounds_.left = v;
  changed(Property::Bounds);
}
void Control::setTop(Twips v) {
  bounds_.top = v;
  changed(Property::Bounds);
}
void Control::setWidth(Twips v) {
  bounds_.width = v;
  changed(Property::Bounds);
}
void Control::setHeight(Twips v) {
  bounds_.height = v;
  changed(Property::Bounds);
}
void Control::setBounds(const Rect& r) {
  bounds_ = r;
  changed(Property::Bounds);
}

Rect Control::absoluteBounds() const {
  Rect r = bounds_;
  for (const Control* c = container_; c != nullptr; c = c->container_) {
    r.left += c->bounds_.left;
    r.top += c->bounds_.top;
  }
  return r;
}

void Control::setVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  changed(Property::Visible);
  if (!visible) form_.controlHidden(*this);
}

bool Control::shown() const {
  for (const Control* c = this; c != nullptr; c = c->container_) {
    if (!c->visible_) return false;
  }
  return true;
}

void Control::setEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  changed(Property::Enabled);
}

void Control::setBackColor(Rgb color) {
  backColor_ = color;
  hasBackColor_ = true;
  changed(Property::BackColor);
}

void Control::setBold(bool bold) {
  if (!hasFont()) throw NoFontError();
  bold_ = bold;
  changed(Property::Bold);
}

void Control::setToolTip(std::string tip) {
  toolTip_ = std::move(tip);
  changed(Property::ToolTip);
}

void Control::setSelected(bool selected) {
  if (selected && kind_ == ControlKind::OptionButton) {
    for (int i = 0; i < form_.controlCount(); ++i) {
      Control& other = form_.controlAt(i);
      if (&other != this && other.kind_ == ControlKind::OptionButton &&
          other.container_ == container_ && other.selected_) {
        other.selected_ = false;
        other.changed(Property::Selected);
      }
    }
  }
  selected_ = selected;
  changed(Property::Selected);
}

void Control::setMaxLength(int length) {
  maxLength_ = length;
  changed(Property::MaxLength);
}

void Control::setInterval(int milliseconds) {
  interval_ = milliseconds;
  changed(Property::Timer);
}

void Control::sendToBack() {
  int lowest = zOrder_;
  for (int i = 0; i < form_.controlCount(); ++i) {
    const Control& other = form_.controlAt(i);
    if (other.container_ == container_ && other.zOrder_ < lowest) lowest = other.zOrder_;
  }
  zOrder_ = lowest - 1;
  changed(Property::ZOrder);
}

void Control::setFocus() {
  form_.setFocus(*this);
}

bool Control::hasFocus() const {
  return form_.focused() == this;
}

void Control::beginDrag() {
  form_.beginDrag(*this);
}

void Control::tick() {
  if (kind_ == ControlKind::Timer && enabled_ && interval_ > 0 && onTimer) onTimer(index_);
}

}  // namespace tw::forms
