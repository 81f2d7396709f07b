// A form: a top-level window with its controls, its window properties and its events, and the
// toolkit's input rules. The backend reports native input through the pointer*/native* calls;
// the rules here decide which control receives which event:
// - a mouse up belongs to the control on which the button went down, wherever the pointer is;
// - a disabled or hidden control raises nothing;
// - a manual drag consumes the release, sends drag-over to the control under the pointer and
//   the drop to the control under the pointer at the release;
// - focus loss is raised when the focus moves, also when the focused control is hidden.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/control.h"
#include "forms/geometry.h"

namespace tw::forms {

class Toolkit;
class Backend;

enum class WindowState { Normal, Minimized, Maximized };
// Why a form is asked to close.
enum class CloseReason {
  Request,     // the user (the close box, Alt+F4) or the program
  SessionEnd,  // the Windows session ends: the process ends whatever the handlers decide
};
enum class BorderStyle { FixedSingle, FixedDialog };

struct FormStyle {
  BorderStyle border = BorderStyle::FixedSingle;
  bool minimizeBox = true;
  bool showInTaskbar = true;
};

class Form {
 public:
  Form(Toolkit& toolkit, std::string name, FormStyle style);
  ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  Toolkit& toolkit() const { return toolkit_; }
  Backend& backend() const;
  const std::string& name() const { return name_; }
  const FormStyle& style() const { return style_; }

  // --- building (before load) -----------------------------------------------------------------
  // Adds a control; the order of adding is the keyboard tab order, and a control added later
  // lies above one added earlier within the same container.
  Control& add(ControlKind kind, std::string name, int index, Control* container, Rect bounds,
               std::string caption = {});
  void setClientSize(Twips width, Twips height);  // also sets the outer size from the backend

  // --- controls -------------------------------------------------------------------------------
  // Every control in one pass: containers' children and array elements included.
  int controlCount() const { return static_cast<int>(controls_.size()); }
  Control& controlAt(int position) const { return *controls_.at(position); }
  // By name and array index (-1 for a single control); throws std::out_of_range if absent.
  Control& control(std::string_view name, int index = -1) const;
  // The topmost shown control at a point of the client area (geometry only), or null.
  Control* controlAt(Point clientPoint) const;

  // --- window properties ----------------------------------------------------------------------
  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);
  // Outer position and size, screen coordinates, twips.
  Twips left() const { return left_; }
  Twips top() const { return top_; }
  Twips width() const { return width_; }
  Twips height() const { return height_; }
  void setLeft(Twips v);
  void setTop(Twips v);
  void setWidth(Twips v);
  void setHeight(Twips v);
  Twips clientWidth() const { return clientWidth_; }
  Twips clientHeight() const { return clientHeight_; }
  WindowState windowState() const { return state_; }
  void setWindowState(WindowState state);

  // --- life -----------------------------------------------------------------------------------
  bool loaded() const { return loaded_; }
  // Creates the window (hidden) and raises onLoad; once.
  void load();
  void show();       // loads first if needed
  void showModal();  // loads first if needed; returns when the form is unloaded
  bool onScreen() const { return onScreen_; }
  // Raises onQueryUnload (which may cancel) and onUnload, then destroys the window.
  // Returns false if the close was cancelled.
  bool unload(CloseReason reason = CloseReason::Request);
  std::uintptr_t hwnd() const { return hwnd_; }

  // --- focus ----------------------------------------------------------------------------------
  Control* focused() const { return focused_; }
  void setFocus(Control& control);

  // --- events ---------------------------------------------------------------------------------
  std::function<void()> onLoad;
  std::function<void()> onResize;
  std::function<void(bool& cancel, CloseReason reason)> onQueryUnload;
  std::function<void()> onUnload;
  // The form loses activation to another window (that window is then the foreground one).
  std::function<void()> onDeactivate;
  // A mouse press reaches the form while it is inactive, before it is activated.
  std::function<void()> onMouseActivate;

  // --- input from the backend -----------------------------------------------------------------
  // under: the control under the pointer (null: none of this form's); position in client twips.
  void pointerDown(Control* under, int button, int shift, Point client);
  void pointerMove(Control* under, int buttons, int shift, Point client);
  void pointerUp(Control* under, int button, int shift, Point client);
  // The pointer capture was taken away (a message box, another program): the press and any
  // drag end without events, so that the next press starts afresh.
  void cancelPress();
  // A push or option button was activated natively (mouse or keyboard).
  void nativeClicked(Control& control);
  // The native focus moved to a control of this form (null: away from the form's controls).
  void nativeFocusChanged(Control* gained);
  // The user moved or sized the window, or the system changed its state.
  void nativeMoved(Twips left, Twips top, Twips width, Twips height);
  void nativeStateChanged(WindowState state);
  // The user or the system asks to close the window.
  void nativeCloseRequested(CloseReason reason = CloseReason::Request);
  void nativeDeactivated();
  void nativeMouseActivated();

  // --- backend side ---------------------------------------------------------------------------
  std::uintptr_t native = 0;  // the backend's window object
  void setHwnd(std::uintptr_t hwnd) { hwnd_ = hwnd; }
  bool dragging() const { return dragSource_ != nullptr; }
  Control* pressedControl() const { return pressed_; }

  // Called by Control.
  void controlHidden(Control& control);
  void beginDrag(Control& control);

 private:
  MouseEvent relativeEvent(const Control& c, int button, int shift, Point client) const;
  void moveFocusAway(Control& from);
  void endPress();

  Toolkit& toolkit_;
  std::string name_;
  FormStyle style_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::string caption_;
  Twips left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  Twips clientWidth_ = 0, clientHeight_ = 0;
  WindowState state_ = WindowState::Normal;
  bool loaded_ = false;
  bool onScreen_ = false;
  std::uintptr_t hwnd_ = 0;
  Control* focused_ = nullptr;

  // Pointer state.
  Control* pressed_ = nullptr;  // the control on which the first held button went down
  int buttonsHeld_ = 0;
  Control* dragSource_ = nullptr;
  Control* dragOver_ = nullptr;
  Point dragGrab_{};  // pointer offset from the dragged control's top-left corner
  Point lastPointer_{};
};

}  // namespace tw::forms
