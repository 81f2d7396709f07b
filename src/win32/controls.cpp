#include "win32/controls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <iterator>
#include <optional>

#include "win32/dpi.h"
#include "win32/scoped_handles.h"

namespace tw::win32 {

namespace {

constexpr wchar_t kLabelClass[] = L"TypewellLabel";
constexpr wchar_t kContainerClass[] = L"TypewellContainer";
constexpr wchar_t kFocusSinkClass[] = L"TypewellFocusSink";
// The system's button with one device context for all its windows (see RegisterButtonClass).
constexpr wchar_t kButtonClass[] = L"TypewellButton";
constexpr UINT_PTR kSubclassId = 1;
constexpr int kLabelMargin = 2;  // pixels between a label's left edge and its text
// A label keeps its font, its colour and whether it has a colour in its window's extra bytes.
constexpr int kFontSlot = 0;
constexpr int kColourSlot = sizeof(LONG_PTR);
constexpr LONG_PTR kNoColour = -1;

// The one press of the thread: the mouse has one capture at a time.
struct Press {
  HWND control = nullptr;
  bool inRelease = false;
};
Press press;

ControlEvents* EventsOf(HWND control) {
  return reinterpret_cast<ControlEvents*>(GetPropW(control, L"TypewellEvents"));
}

bool IsButtonDown(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
         message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
}

bool IsButtonUp(UINT message) {
  return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

bool AnyButtonHeld(WPARAM wParam) {
  return (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
}

// Presses, moves and releases of a control that reports them; false for other messages. The
// control's own processing (a button's pressed look, its capture and BN_CLICKED) runs as usual
// for the left button; right and middle buttons belong to the press alone (no context menu).
template <class Default>
bool OnPressMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, Default runDefault) {
  ControlEvents* events = EventsOf(control);
  const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (IsButtonDown(message)) {
    const bool left = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK;
    if (left) runDefault();
    if (press.control != nullptr) return true;  // a second button of the same press
    if (GetCapture() != control) SetCapture(control);
    press.control = control;
    if (events != nullptr) events->OnControlPressed(control, at);
    return true;
  }
  if (message == WM_MOUSEMOVE) {
    runDefault();
    if (events == nullptr) return true;
    if (press.control == control) {
      events->OnControlMoved(control, at, wParam);
    } else {
      events->OnControlHovered(control, at);
    }
    return true;
  }
  if (IsButtonUp(message)) {
    const bool ends = press.control == control && !AnyButtonHeld(wParam);
    if (ends) press.control = nullptr;
    if (message == WM_LBUTTONUP) {
      press.inRelease = ends;
      runDefault();
      press.inRelease = false;
    }
    if (ends && GetCapture() == control) ReleaseCapture();
    if (ends && events != nullptr) events->OnControlReleased(control);
    return true;
  }
  if (message == WM_CAPTURECHANGED && press.control == control &&
      reinterpret_cast<HWND>(lParam) != control) {
    press.control = nullptr;
    if (events != nullptr) events->OnPressTakenAway(control);
    runDefault();
    return true;
  }
  return false;
}

void PaintLabel(HWND label) {
  PaintScope paint(label);
  RECT r;
  GetClientRect(label, &r);
  const LONG_PTR colour = GetWindowLongPtrW(label, kColourSlot);
  HDC dc = paint.dc();
  SelectScope brush(dc, GetStockObject(DC_BRUSH));
  SetDCBrushColor(dc,
                  colour == kNoColour ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(colour));
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  const auto font = reinterpret_cast<HGDIOBJ>(GetWindowLongPtrW(label, kFontSlot));
  SelectScope selected(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  wchar_t text[256];
  const int length = GetWindowTextW(label, text, static_cast<int>(std::size(text)));
  r.left += kLabelMargin;
  DrawTextW(dc, text, length, &r,
            DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
}

// Whether the window has a non-client area to paint. A control without one skips the default
// WM_NCPAINT, which would take a device context of the window frame only to paint nothing (and
// under Wine keeps one more cached device context, with its bitmap and region, per window).
bool HasFrame(HWND window) {
  RECT outer, inner;
  if (!GetWindowRect(window, &outer) || !GetClientRect(window, &inner)) return true;
  return outer.right - outer.left != inner.right || outer.bottom - outer.top != inner.bottom;
}

std::optional<LRESULT> OnOwnClassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFONT:
      SetWindowLongPtrW(window, kFontSlot, static_cast<LONG_PTR>(wParam));
      if (LOWORD(lParam) != 0) InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return GetWindowLongPtrW(window, kFontSlot);
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, TRUE);
      return result;
    }
    case WM_NCPAINT:
      if (!HasFrame(window)) return 0;
      return std::nullopt;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      PaintLabel(window);
      return 0;
    default:
      return std::nullopt;
  }
}

LRESULT CALLBACK LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    const auto runDefault = [&] { DefWindowProcW(window, message, wParam, lParam); };
    if (OnPressMessage(window, message, wParam, lParam, runDefault)) return 0;
    if (const auto result = OnOwnClassMessage(window, message, wParam, lParam)) return *result;
  } catch (...) {
    OutputDebugStringA("Typewell: an event handler failed\n");
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A container passes its children's notifications on to its window.
LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCPAINT && !HasFrame(window)) return 0;
  if (message == WM_COMMAND || message == WM_NOTIFY) {
    return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The focus sink takes the focus and shows nothing.
LRESULT CALLBACK FocusSinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_NCPAINT:
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintScope nothing(window);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// The first option button of a container begins its group and is where Tab stops.
bool FirstOptionIn(HWND parent) {
  for (HWND c = GetWindow(parent, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    wchar_t name[32];
    if (GetClassNameW(c, name, 32) && lstrcmpW(name, kButtonClass) == 0 &&
        (GetWindowLongPtrW(c, GWL_STYLE) & BS_TYPEMASK) == BS_RADIOBUTTON) {
      return false;
    }
  }
  return true;
}

// A button paints into the device context its class shares: whatever its painting leaves
// selected or set in it (font, colours, modes) is put back, so that the next button starts from
// the same state.
LRESULT PaintInSharedDc(HWND window) {
  PaintScope paint(window);
  const int saved = SaveDC(paint.dc());
  const LRESULT result = DefSubclassProc(window, WM_PAINT, reinterpret_cast<WPARAM>(paint.dc()), 0);
  RestoreDC(paint.dc(), saved);
  return result;
}

LRESULT CALLBACK ButtonSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR reports) noexcept {
  if (message == WM_NCPAINT && !HasFrame(window)) return 0;
  if (message == WM_PAINT && wParam == 0) return PaintInSharedDc(window);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, ButtonSubclass, kSubclassId);
    RemovePropW(window, L"TypewellEvents");
  }
  try {
    LRESULT result = 0;
    const auto runDefault = [&] { result = DefSubclassProc(window, message, wParam, lParam); };
    if (reports != 0 && OnPressMessage(window, message, wParam, lParam, runDefault)) return result;
    if (message == WM_KILLFOCUS && GetPropW(window, L"TypewellEditBox") != nullptr) {
      runDefault();
      if (ControlEvents* events = EventsOf(window)) events->OnEditBoxLostFocus(window);
      return result;
    }
  } catch (...) {
    OutputDebugStringA("Typewell: an event handler failed\n");
    return 0;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

// The controls paint through one device context per class (CS_CLASSDC) instead of one each: a
// device context is a costly object, and Wine keeps one for every window painted (with its
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

struct WindowKind {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

WindowKind KindOf(ui::ControlKind kind) {
  switch (kind) {
    case ui::ControlKind::PushButton:
      return {kButtonClass, BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ui::ControlKind::OptionButton:
      return {kButtonClass, BS_RADIOBUTTON, 0};
    case ui::ControlKind::Label:
      return {kLabelClass, 0, 0};
    case ui::ControlKind::EditBox:
      return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0};
    case ui::ControlKind::Container:
      return {kContainerClass, 0, WS_EX_CONTROLPARENT};
    case ui::ControlKind::FocusSink:
      return {kFocusSinkClass, WS_TABSTOP, 0};
  }
  return {kLabelClass, 0, 0};
}

}  // namespace

void RegisterControlClasses(HINSTANCE instance) {
  // Registering again (a second window in one process) fails harmlessly.
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_CLASSDC;
  wc.lpfnWndProc = LabelProc;
  wc.cbWndExtra = 2 * sizeof(LONG_PTR);
  wc.lpszClassName = kLabelClass;
  RegisterClassExW(&wc);
  wc.cbWndExtra = 0;
  wc.lpfnWndProc = ContainerProc;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kContainerClass;
  RegisterClassExW(&wc);
  wc.lpfnWndProc = FocusSinkProc;
  wc.hbrBackground = nullptr;
  wc.lpszClassName = kFocusSinkClass;
  RegisterClassExW(&wc);
  RegisterButtonClass(instance);
}

HWND CreateControl(HWND parent, const ui::ControlPlan& plan, const ui::TwipsRect& container,
                   int dpi, ControlEvents& events, DWORD extraStyle) {
  const WindowKind kind = KindOf(plan.kind);
  const RECT r = PixelRectIn(plan.rect, container, dpi);
  DWORD style = kind.style | extraStyle | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  if (plan.kind == ui::ControlKind::OptionButton && FirstOptionIn(parent)) {
    style |= WS_GROUP | WS_TABSTOP;
  }
  HWND control = CreateWindowExW(kind.exStyle, kind.className, plan.caption, style, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(plan.id)),
                                 GetModuleHandleW(nullptr), nullptr);
  if (control == nullptr) return nullptr;
  SetPropW(control, L"TypewellEvents", &events);
  switch (plan.kind) {
    case ui::ControlKind::Label:
      SetWindowLongPtrW(control, kColourSlot, kNoColour);
      break;
    case ui::ControlKind::PushButton:
    case ui::ControlKind::OptionButton:
      SetWindowSubclass(control, ButtonSubclass, kSubclassId, 1);
      break;
    case ui::ControlKind::EditBox:
      SetPropW(control, L"TypewellEditBox", control);
      SetWindowSubclass(control, ButtonSubclass, kSubclassId, 0);
      SendMessageW(control, EM_LIMITTEXT, ui::kEditBoxMaxLength, 0);
      break;
    default:
      break;
  }
  return control;
}

bool InMouseRelease() {
  return press.inRelease;
}

void SetLabelColour(HWND label, COLORREF colour) {
  if (GetWindowLongPtrW(label, kColourSlot) == static_cast<LONG_PTR>(colour)) return;
  SetWindowLongPtrW(label, kColourSlot, static_cast<LONG_PTR>(colour));
  InvalidateRect(label, nullptr, TRUE);
}

}  // namespace tw::win32
