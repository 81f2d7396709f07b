// What the forms toolkit asks of a window system. The Win32 backend realises forms and
// controls as windows; the headless backend (tests) keeps no windows at all. A backend holds no
// behaviour: it renders what the objects say and feeds native input back into Form.
#pragma once

#include <cstdint>

#include "forms/control.h"
#include "forms/geometry.h"

namespace tw::forms {

class Form;

// A property of a form that a setter changed.
enum class FormProperty { Caption, Bounds, WindowState };

class Backend {
 public:
  virtual ~Backend() = default;

  // Creates the native window of a form and of all its controls, hidden.
  virtual void createForm(Form& form) = 0;
  virtual void destroyForm(Form& form) = 0;
  virtual void formChanged(Form& form, FormProperty property) = 0;
  virtual void showForm(Form& form) = 0;
  // Shows the form modally: every other form takes no input until this one is unloaded; the
  // call returns after the unload.
  virtual void showModal(Form& form) = 0;
  // The outer size of a form whose client area has the given size, in twips.
  virtual Point outerSizeForClient(const Form& form, Twips clientWidth, Twips clientHeight) = 0;

  virtual void controlChanged(Control& control, Property property) = 0;
  virtual void setFocus(Control& control) = 0;

  // The drag outline, in the form's client coordinates (twips).
  virtual void showDragOutline(Form& form, const Rect& rect) = 0;
  virtual void moveDragOutline(Form& form, const Rect& rect) = 0;
  virtual void hideDragOutline(Form& form) = 0;
  // Pointer capture while a button is held on a control (release outside still comes back).
  virtual void releaseCapture(Form& form) = 0;

  // Twips per pixel (1440 / dots per inch) and the primary screen's size in twips.
  virtual double twipsPerPixelX() const = 0;
  virtual double twipsPerPixelY() const = 0;
  virtual Twips screenWidth() const = 0;
  virtual Twips screenHeight() const = 0;
};

}  // namespace tw::forms
