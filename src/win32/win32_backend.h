// The Win32 forms backend: realises each form as a top-level window and each control as a child
// window of its container (control ID 1000 + the control's position in the form's
// enumeration), renders what the toolkit's objects say, and feeds native input back into
// Form's input rules. It holds no behaviour of its own.
//
// The controls of a hidden container (the pages not on show) get their windows when it is first
// shown. Windows: push button = BUTTON, option button = BUTTON BS_RADIOBUTTON (checked from the
// control's selected state), text box = EDIT, label / container / focus sink = own classes,
// timer = SetTimer on the form's window. Every window procedure is noexcept and catches at the
// edge; GWLP_USERDATA of a form's window holds its FormWindow, that of a control's window its
// Control.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "forms/backend.h"
#include "forms/form.h"
#include "win32/fonts.h"
#include "win32/startup_trace.h"

namespace tw::win32 {

inline constexpr int kFirstControlId = 1000;

struct FormWindow;

class Win32Backend final : public forms::Backend {
 public:
  explicit Win32Backend(HINSTANCE instance);
  ~Win32Backend() override;
  Win32Backend(const Win32Backend&) = delete;
  Win32Backend& operator=(const Win32Backend&) = delete;

  void createForm(forms::Form& form) override;
  void destroyForm(forms::Form& form) override;
  void formChanged(forms::Form& form, forms::FormProperty property) override;
  void showForm(forms::Form& form) override;
  void showModal(forms::Form& form) override;
  forms::Point outerSizeForClient(const forms::Form& form, forms::Twips clientWidth,
                                  forms::Twips clientHeight) override;
  void controlChanged(forms::Control& control, forms::Property property) override;
  void setFocus(forms::Control& control) override;
  void showDragOutline(forms::Form& form, const forms::Rect& rect) override;
  void moveDragOutline(forms::Form& form, const forms::Rect& rect) override;
  void hideDragOutline(forms::Form& form) override;
  void releaseCapture(forms::Form& form) override;
  double twipsPerPixelX() const override { return twipsPerPixelX_; }
  double twipsPerPixelY() const override { return twipsPerPixelY_; }
  forms::Twips screenWidth() const override;
  forms::Twips screenHeight() const override;

  // The window of a control or form (null when not realised), for tests and tools.
  static HWND WindowOf(const forms::Control& control);
  static HWND WindowOf(const forms::Form& form);
  // The tool tip window of a form, and its drag outline window (null until first shown).
  static HWND ToolTipOf(const forms::Form& form);
  static HWND DragOutlineOf(const forms::Form& form);

  HFONT font(Weight weight) const { return fonts_.get(weight); }
  HINSTANCE instance() const { return instance_; }

  // --- used by the window procedures ------------------------------------------------------------
  int toPixelsX(forms::Twips t) const;
  int toPixelsY(forms::Twips t) const;
  RECT pixelRect(const forms::Rect& r) const;
  // A control's rectangle in its parent window. Edges are rounded in the form's client area and
  // then made relative, so that controls of different containers placed at the same twips (the
  // edit box over a label) meet at the same pixels.
  RECT controlPixelRect(const forms::Control& control) const;
  void placeControlWindow(const forms::Control& control) const;
  // Mouse input on a window of a form (the form's client area or one of its controls).
  void mouseInput(forms::Form& form, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The window of a form moved to a monitor of another DPI (WM_DPICHANGED): every form is laid
  // out again from the same twips at that DPI, with fonts made for it, and the window takes
  // the rectangle that the system suggests.
  void dpiChanged(forms::Form& form, int dpi, const RECT& suggested);
  // A button's own release processing runs after the toolkit's: until it has, the capture that
  // the button holds must stay.
  bool deferCaptureRelease = false;

  // During start-up only: notes when the windows of a form have been made.
  void setStartupTrace(StartupTrace* trace) { startupTrace_ = trace; }

 private:
  void createWindows(FormWindow& fw, const forms::Control* container);
  void createControl(FormWindow& fw, forms::Control& control, int position);
  // Makes the windows of a container shown for the first time and of everything in it.
  void realise(forms::Control& container);
  void applyStacking(forms::Form& form, const forms::Control* container);
  void applyToolTip(forms::Control& control);
  void applyTimer(forms::Control& control);
  void applyBounds(FormWindow& fw);
  void setFormBoundsFromObject(FormWindow& fw);
  forms::Control* controlUnder(const FormWindow& fw, POINT screen) const;
  DWORD formStyle(const forms::Form& form) const;
  DWORD formExStyle(const forms::Form& form) const;

  HINSTANCE instance_;
  double twipsPerPixelX_ = 15;
  double twipsPerPixelY_ = 15;
  SharedFonts fonts_;
  std::vector<std::unique_ptr<FormWindow>> forms_;
  StartupTrace* startupTrace_ = nullptr;
};

// The program's message loop: Tab moves the focus in the controls' order, other dialog keys go
// through IsDialogMessage of the window that has the input. Returns the WM_QUIT code.
int RunMessageLoop();

}  // namespace tw::win32
