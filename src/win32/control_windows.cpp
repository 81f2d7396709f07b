// The window procedures of the Win32 forms backend: the form's top-level window, the own
// classes (label, container, focus sink) and the subclass of BUTTON and EDIT windows. Each is
// noexcept, catches at the edge, finds its object through GWLP_USERDATA and hands native input
// to the toolkit. After a call into the toolkit a procedure touches no backend record again:
// the handler may have unloaded the form.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <optional>

#include "win32/ansi_text.h"
#include "win32/backend_windows.h"

namespace tw::win32 {

using forms::Control;
using forms::ControlKind;
using forms::Form;

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr int kLabelMargin = 2;  // pixels between a label's left edge and its text

bool IsMouseMessage(UINT message) {
  return message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK;
}

template <class T>
T* UserData(HWND window) {
  return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void StoreCreateParam(HWND window, LPARAM lParam) {
  const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
}

void PaintLabel(HWND window, const Control& label) {
  PaintScope paint(window);
  HDC dc = paint.dc();
  RECT r;
  GetClientRect(window, &r);
  const forms::Rgb c = label.backColor();
  const COLORREF back =
      label.hasBackColor() ? RGB(c.red, c.green, c.blue) : GetSysColor(COLOR_BTNFACE);
  HBRUSH dcBrush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
  SelectScope brush(dc, dcBrush);
  SetDCBrushColor(dc, back);
  FillRect(dc, &r, dcBrush);
  auto font = reinterpret_cast<HGDIOBJ>(GetWindowLongPtrW(window, 0));
  SelectScope selected(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  r.left += kLabelMargin;
  const std::wstring text = AnsiToWide(label.caption());
  DrawTextW(dc, text.data(), static_cast<int>(text.size()), &r,
            DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
}

// Whether the window has a non-client area to paint. A control without one skips the default
// WM_NCPAINT, which would take a device context of the window frame only to paint nothing (and
// under Wine keeps one more cached device context, with its bitmap and region, for every such
// window).
bool HasFrame(HWND window) {
  RECT outer, inner;
  if (!GetWindowRect(window, &outer) || !GetClientRect(window, &inner)) return true;
  return outer.right - outer.left != inner.right || outer.bottom - outer.top != inner.bottom;
}

// A button paints into the device context its class shares: whatever the button's painting
// leaves selected or set in it (font, colours, modes) is put back, so that the next button
// starts from the same state.
LRESULT PaintInSharedDc(HWND window) {
  PaintScope paint(window);
  const int saved = SaveDC(paint.dc());
  const LRESULT result = DefSubclassProc(window, WM_PAINT, reinterpret_cast<WPARAM>(paint.dc()), 0);
  RestoreDC(paint.dc(), saved);
  return result;
}

// A control lost the mouse capture to a window outside its form (a message box opened while a
// button was down, another program): the toolkit forgets the press, or the next click would
// be taken for the release of this one.
// The same holds for a press on the form's bare client area, which the form's window captures.
void CaptureTaken(Form& form, HWND formWindow, HWND newCapture) {
  if (newCapture != nullptr && GetAncestor(newCapture, GA_ROOT) == formWindow) return;
  if (newCapture == nullptr && form.pressedControl() == nullptr) return;
  form.cancelPress();
}

void CaptureTaken(Control& control, HWND newCapture) {
  CaptureTaken(control.form(), GetAncestor(reinterpret_cast<HWND>(control.native), GA_ROOT),
               newCapture);
}

// Messages of the own control classes; nothing means "the default processing".
std::optional<LRESULT> OnControlMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Labels keep their font in the window's extra bytes, even before their control is known.
  if (message == WM_SETFONT) {
    SetWindowLongPtrW(window, 0, static_cast<LONG_PTR>(wParam));
    if (LOWORD(lParam) != 0) InvalidateRect(window, nullptr, TRUE);
    return 0;
  }
  if (message == WM_GETFONT) return GetWindowLongPtrW(window, 0);
  Control* control = ControlOfWindow(window);
  if (control == nullptr) return std::nullopt;
  const ControlKind kind = control->kind();
  if (IsMouseMessage(message)) {
    BackendOf(*control).mouseInput(control->form(), window, message, wParam, lParam);
    return 0;
  }
  if (message == WM_CAPTURECHANGED) {
    CaptureTaken(*control, reinterpret_cast<HWND>(lParam));
    return 0;
  }
  switch (message) {
    case WM_PAINT:
      if (kind == ControlKind::Label) {
        PaintLabel(window, *control);
        return 0;
      }
      if (kind == ControlKind::FocusSink) {
        PaintScope nothing(window);
        return 0;
      }
      return std::nullopt;
    case WM_ERASEBKGND:
      if (kind == ControlKind::Container) return std::nullopt;
      return 1;
    case WM_SETFOCUS:
      if (control->canTakeFocus()) control->form().nativeFocusChanged(control);
      return 0;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      // Containers pass their children's notifications on to the form.
      return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    default:
      return std::nullopt;
  }
}

LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam,
                                   LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) StoreCreateParam(window, lParam);
  if (message == WM_NCPAINT && !HasFrame(window)) return 0;
  try {
    if (auto result = OnControlMessage(window, message, wParam, lParam)) return *result;
  } catch (...) {
    OutputDebugStringA("Typewell: an event handler failed\n");
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool NoButtonHeld(WPARAM wParam) {
  return (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0;
}

// The left button's release: the toolkit sees it first (MouseUp before Click), then the
// BUTTON's own processing releases its capture and reports BN_CLICKED.
LRESULT OnButtonLeftUp(HWND window, Control& control, WPARAM wParam, LPARAM lParam) {
  Win32Backend& backend = BackendOf(control);
  {
    FlagScope keepCapture(backend.deferCaptureRelease);
    backend.mouseInput(control.form(), window, WM_LBUTTONUP, wParam, lParam);
  }
  if (!IsWindow(window)) return 0;  // the handler unloaded the form
  const LRESULT result = DefSubclassProc(window, WM_LBUTTONUP, wParam, lParam);
  if (NoButtonHeld(wParam) && GetCapture() == window) ReleaseCapture();
  return result;
}

LRESULT OnSubclassedMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Control* control = ControlOfWindow(window);
  if (control == nullptr) return DefSubclassProc(window, message, wParam, lParam);
  Form& form = control->form();
  if (message == WM_SETFOCUS) {
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (ControlOfWindow(window) != nullptr) form.nativeFocusChanged(control);
    return result;
  }
  if (message == WM_CAPTURECHANGED) CaptureTaken(*control, reinterpret_cast<HWND>(lParam));
  if (control->kind() == ControlKind::TextBox || !IsMouseMessage(message)) {
    return DefSubclassProc(window, message, wParam, lParam);
  }
  Win32Backend& backend = BackendOf(*control);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE: {
      // The button's own processing first: pressed look, focus and its capture.
      const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
      if (ControlOfWindow(window) != nullptr) {
        backend.mouseInput(form, window, message, wParam, lParam);
      }
      return result;
    }
    case WM_LBUTTONUP:
      return OnButtonLeftUp(window, *control, wParam, lParam);
    default:
      // Right and middle buttons belong to the toolkit alone (no context menu).
      backend.mouseInput(form, window, message, wParam, lParam);
      return 0;
  }
}

LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) noexcept {
  if (message == WM_NCPAINT && !HasFrame(window)) return 0;
  if (message == WM_PAINT && wParam == 0 && (GetClassLongPtrW(window, GCL_STYLE) & CS_CLASSDC)) {
    return PaintInSharedDc(window);
  }
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, SubclassProc, kSubclassId);
    return DefSubclassProc(window, message, wParam, lParam);
  }
  try {
    return OnSubclassedMessage(window, message, wParam, lParam);
  } catch (...) {
    OutputDebugStringA("Typewell: an event handler failed\n");
    return 0;
  }
}

forms::WindowState StateOfSize(WPARAM sizeType) {
  if (sizeType == SIZE_MINIMIZED) return forms::WindowState::Minimized;
  if (sizeType == SIZE_MAXIMIZED) return forms::WindowState::Maximized;
  return forms::WindowState::Normal;
}

void ReportPlacement(FormWindow& fw, HWND window, UINT message, WPARAM wParam) {
  Form& form = *fw.form;
  const Win32Backend& backend = *fw.backend;
  if (!IsIconic(window)) {
    RECT r;
    GetWindowRect(window, &r);
    const double tx = backend.twipsPerPixelX();
    const double ty = backend.twipsPerPixelY();
    form.nativeMoved(static_cast<forms::Twips>(r.left * tx), static_cast<forms::Twips>(r.top * ty),
                     static_cast<forms::Twips>((r.right - r.left) * tx),
                     static_cast<forms::Twips>((r.bottom - r.top) * ty));
  }
  if (message == WM_SIZE && wParam <= SIZE_MAXIMIZED) form.nativeStateChanged(StateOfSize(wParam));
}

// Gives the native focus back to the control that the toolkit says has it.
bool RestoreFocus(const Form& form) {
  Control* focused = form.focused();
  if (focused == nullptr || !focused->shown()) return false;
  HWND target = Win32Backend::WindowOf(*focused);
  if (target == nullptr) return false;
  SetFocus(target);
  return true;
}

void OnCommand(Form& form, WPARAM wParam, LPARAM lParam) {
  Control* control = ControlOfWindow(reinterpret_cast<HWND>(lParam));
  if (control == nullptr || &control->form() != &form) return;
  const UINT code = HIWORD(wParam);
  const ControlKind kind = control->kind();
  if (code == BN_CLICKED &&
      (kind == ControlKind::PushButton || kind == ControlKind::OptionButton)) {
    form.nativeClicked(*control);
  } else if (code == EN_CHANGE && kind == ControlKind::TextBox) {
    HWND edit = reinterpret_cast<HWND>(lParam);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    control->nativeTextChanged(WideToAnsi(text));
  }
}

void OnTimer(Form& form, WPARAM id) {
  const int position = static_cast<int>(id) - kFirstControlId;
  if (position < 0 || position >= form.controlCount()) return;
  Control& timer = form.controlAt(position);
  if (timer.kind() == ControlKind::Timer) timer.tick();
}

std::optional<LRESULT> OnFormMessage(FormWindow& fw, HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) {
  Form& form = *fw.form;
  if (IsMouseMessage(message)) {
    fw.backend->mouseInput(form, window, message, wParam, lParam);
    return 0;
  }
  switch (message) {
    case WM_COMMAND:
      OnCommand(form, wParam, lParam);
      return 0;
    case WM_TIMER:
      OnTimer(form, wParam);
      return 0;
    case WM_DPICHANGED:
      fw.backend->dpiChanged(form, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      CaptureTaken(form, window, reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_SETFOCUS:
      RestoreFocus(form);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        form.nativeDeactivated();
        return 0;
      }
      if (HIWORD(wParam) == 0 && RestoreFocus(form)) return 0;
      return std::nullopt;
    case WM_MOUSEACTIVATE:
      form.nativeMouseActivated();
      return MA_ACTIVATE;
    case WM_MOVE:
    case WM_SIZE:
      if (!fw.applying && IsWindowVisible(window)) ReportPlacement(fw, window, message, wParam);
      return std::nullopt;
    case WM_CLOSE:
      form.nativeCloseRequested(forms::CloseReason::Request);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // The session ends: close through the toolkit, so that an open edit is saved.
      if (wParam != 0) form.nativeCloseRequested(forms::CloseReason::SessionEnd);
      return 0;
    default:
      return std::nullopt;
  }
}

}  // namespace

FormWindow* FormWindowOf(const Form& form) {
  return reinterpret_cast<FormWindow*>(form.native);
}

FormWindow* FormWindowOfWindow(HWND formWindow) {
  wchar_t className[32] = {};
  if (GetClassNameW(formWindow, className, 32) == 0 || lstrcmpW(className, kFormClass) != 0) {
    return nullptr;
  }
  DWORD process = 0;
  GetWindowThreadProcessId(formWindow, &process);
  if (process != GetCurrentProcessId()) return nullptr;
  auto* fw = UserData<FormWindow>(formWindow);
  if (fw == nullptr || fw->form == nullptr || !fw->form->loaded()) return nullptr;
  return fw;
}

Control* ControlOfWindow(HWND window) {
  if (window == nullptr) return nullptr;
  auto* control = UserData<Control>(window);
  if (control == nullptr || reinterpret_cast<HWND>(control->native) != window) return nullptr;
  const Form& form = control->form();
  if (!form.loaded() || form.native == 0) return nullptr;
  return control;
}

Win32Backend& BackendOf(const Control& control) {
  return static_cast<Win32Backend&>(control.form().backend());
}

LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) StoreCreateParam(window, lParam);
  auto* fw = UserData<FormWindow>(window);
  if (fw != nullptr && fw->form->loaded()) {
    try {
      if (auto result = OnFormMessage(*fw, window, message, wParam, lParam)) return *result;
    } catch (...) {
      OutputDebugStringA("Typewell: an event handler failed\n");
      return 0;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void SubclassControlWindow(HWND window) {
  SetWindowSubclass(window, SubclassProc, kSubclassId, 0);
}

// The controls paint through one device context per class (CS_CLASSDC) instead of one each:
// a device context is a costly object, and Wine keeps one for every window painted (with its
// bitmap and region), up to 64 a process. The buttons are the system's buttons with that style.
void RegisterButtonClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(nullptr, L"BUTTON", &wc)) return;
  wc.style |= CS_CLASSDC;
  wc.hInstance = instance;
  wc.lpszClassName = kButtonClass;
  RegisterClassExW(&wc);
}

void RegisterWindowClasses(HINSTANCE instance) {
  // Registering again (a second backend in one process) fails harmlessly.
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));

  wc.lpfnWndProc = FormWindowProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  wc.lpszClassName = kFormClass;
  RegisterClassExW(&wc);

  wc.hIcon = nullptr;
  wc.hIconSm = nullptr;
  wc.lpfnWndProc = ControlWindowProc;
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_CLASSDC;
  wc.cbWndExtra = sizeof(LONG_PTR);  // the label's font
  wc.lpszClassName = kLabelClass;
  RegisterClassExW(&wc);
  wc.lpszClassName = kContainerClass;
  RegisterClassExW(&wc);
  wc.hbrBackground = nullptr;
  wc.lpszClassName = kFocusSinkClass;
  RegisterClassExW(&wc);

  RegisterButtonClass(instance);
  DragOutline::RegisterClass(instance);
}

}  // namespace tw::win32
