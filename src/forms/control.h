// A control of a form: push button, label, text box, option button, borderless container,
// focus sink or timer. Properties live here; a setter updates the object and tells the backend,
// a getter never asks the backend. Native changes (typed text, focus) come back through Form.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "forms/events.h"
#include "forms/geometry.h"

namespace tw::forms {

class Form;

enum class ControlKind { PushButton, Label, TextBox, OptionButton, Container, FocusSink, Timer };

// The property that a setter changed, so that a backend can update only that.
enum class Property {
  Caption,
  Bounds,
  Visible,
  Enabled,
  BackColor,
  Bold,
  ToolTip,
  Selected,
  MaxLength,
  Timer,   // interval or enabled state of a timer
  ZOrder,  // the control was sent behind its siblings
};

// Raised by a font operation on a control that has no font (the timer).
class NoFontError : public std::logic_error {
 public:
  NoFontError() : std::logic_error("the control has no font") {}
};

class Control {
 public:
  Control(Form& form, ControlKind kind, std::string name, int index, Control* container,
          Rect bounds, int zOrder);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // --- identity -----------------------------------------------------------------------------
  Form& form() const { return form_; }
  ControlKind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  int index() const { return index_; }               // -1 unless part of a control array
  Control* container() const { return container_; }  // null: the form's client area
  bool hasFont() const { return kind_ != ControlKind::Timer; }
  bool canTakeFocus() const;

  // --- properties ---------------------------------------------------------------------------
  // The caption of a button, label or option button, and the text of a text box (bytes in the
  // ANSI code page).
  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);

  // Relative to the container, in twips.
  Twips left() const { return bounds_.left; }
  Twips top() const { return bounds_.top; }
  Twips width() const { return bounds_.width; }
  Twips height() const { return bounds_.height; }
  const Rect& bounds() const { return bounds_; }
  void setLeft(Twips v);
  void setTop(Twips v);
  void setWidth(Twips v);
  void setHeight(Twips v);
  void setBounds(const Rect& r);
  // Relative to the form's client area.
  Rect absoluteBounds() const;

  bool visible() const { return visible_; }
  void setVisible(bool visible);
  // Visible itself and every container above it visible.
  bool shown() const;

  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);

  // Labels and containers show the system's face colour until a colour is set.
  bool hasBackColor() const { return hasBackColor_; }
  Rgb backColor() const { return backColor_; }
  void setBackColor(Rgb color);

  bool bold() const { return bold_; }
  void setBold(bool bold);  // throws NoFontError for a control without a font

  const std::string& toolTip() const { return toolTip_; }
  void setToolTip(std::string tip);

  // Option buttons: selecting one deselects the other option buttons of the same container.
  bool selected() const { return selected_; }
  void setSelected(bool selected);

  // Text boxes: the most characters the box accepts (0: no limit).
  int maxLength() const { return maxLength_; }
  void setMaxLength(int length);

  // Timers: interval in milliseconds; a tick is raised while enabled with an interval above 0.
  int interval() const { return interval_; }
  void setInterval(int milliseconds);

  // Stacking among the siblings of the same container: higher lies above. A control added
  // later lies above one added earlier until it is sent to the back.
  int zOrder() const { return zOrder_; }
  void sendToBack();

  // --- actions ------------------------------------------------------------------------------
  void setFocus();
  bool hasFocus() const;
  // Starts a manual drag of this control: an outline of its size follows the pointer until the
  // button is released; the control under the pointer gets onDragOver and, at the release,
  // onDragDrop. The release is not delivered as a mouse up.
  void beginDrag();

  // --- events -------------------------------------------------------------------------------
  std::function<void(const MouseEvent&)> onMouseDown;
  std::function<void(const MouseEvent&)> onMouseMove;
  std::function<void(const MouseEvent&)> onMouseUp;
  std::function<void(int index)> onClick;
  std::function<void(int index)> onLostFocus;
  std::function<void(const DragEvent&)> onDragOver;
  std::function<void(const DragEvent&)> onDragDrop;
  std::function<void(int index)> onTimer;

  // --- backend side -------------------------------------------------------------------------
  // The native object of this control, owned by the backend (a window handle on Win32).
  std::uintptr_t native = 0;
  // A native change of the text (the user typed): updates the property without telling the
  // backend again.
  void nativeTextChanged(std::string text) { caption_ = std::move(text); }
  // A timer tick from the backend; raises onTimer while enabled.
  void tick();

 private:
  void changed(Property p);

  Form& form_;
  ControlKind kind_;
  std::string name_;
  int index_;
  Control* container_;
  Rect bounds_;
  std::string caption_;
  bool visible_ = true;
  bool enabled_ = true;
  Rgb backColor_{};
  bool hasBackColor_ = false;
  int zOrder_ = 0;
  bool bold_ = false;
  std::string toolTip_;
  bool selected_ = false;
  int maxLength_ = 0;
  int interval_ = 0;
};

}  // namespace tw::forms
