// A backend without windows, for tests: it keeps a log of what it was asked to do, places
// nothing on a screen, and runs a test's script while a form is shown modally.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "forms/backend.h"
#include "forms/form.h"

namespace tw::forms {

class HeadlessBackend : public Backend {
 public:
  // The frame that the headless backend adds around a client area, in twips.
  static constexpr Twips kFrameWidth = 90;    // 3 pixels on each side at 96 dpi
  static constexpr Twips kFrameHeight = 420;  // 3-pixel border and 22-pixel caption

  void createForm(Form& form) override;
  void destroyForm(Form& form) override;
  void formChanged(Form& form, FormProperty property) override;
  void showForm(Form& form) override;
  void showModal(Form& form) override;
  Point outerSizeForClient(const Form& form, Twips clientWidth, Twips clientHeight) override;
  void controlChanged(Control& control, Property property) override;
  void setFocus(Control& control) override;
  void showDragOutline(Form& form, const Rect& rect) override;
  void moveDragOutline(Form& form, const Rect& rect) override;
  void hideDragOutline(Form& form) override;
  void releaseCapture(Form& form) override;
  double twipsPerPixelX() const override { return 15; }
  double twipsPerPixelY() const override { return 15; }
  Twips screenWidth() const override { return screenWidth_; }
  Twips screenHeight() const override { return screenHeight_; }

  void setScreenSize(Twips width, Twips height) {
    screenWidth_ = width;
    screenHeight_ = height;
  }

  // Runs while a form is shown modally; it must unload the form (as a user closing it would).
  std::function<void(Form&)> modalScript;

  // What the toolkit asked for, one line each ("show DoIt", "focus Gettext", ...).
  std::vector<std::string> log;
  bool outlineShown = false;
  Rect outline{};

 private:
  Twips screenWidth_ = 19200;   // 1280 pixels
  Twips screenHeight_ = 15360;  // 1024 pixels
  std::uintptr_t nextHandle_ = 0x1000;
};

// Drives a form headless as a user would: press, move and release over controls (positions
// relative to the control, in twips) and clicks.
class HeadlessInput {
 public:
  explicit HeadlessInput(Form& form) : form_(form) {}
  void press(Control& c, int button = kLeftButton, Twips x = 10, Twips y = 10, int shift = 0);
  void move(Control& c, int buttons = kLeftButton, Twips x = 10, Twips y = 10, int shift = 0);
  void release(Control& c, int button = kLeftButton, Twips x = 10, Twips y = 10, int shift = 0);
  // Moves or releases over a point of the client area: the control there is found by geometry.
  void moveTo(Point client, int buttons = kLeftButton);
  void releaseAt(Point client, int button = kLeftButton);
  // A mouse click: press and release, then the native click of a push or option button.
  void click(Control& c, int button = kLeftButton);

 private:
  Point at(const Control& c, Twips x, Twips y) const;
  Form& form_;
};

}  // namespace tw::forms
