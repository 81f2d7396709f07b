#include "win32/controls.h"

#include <commctrl.h>

#include <iterator>
#include <optional>

#include "ui/colours.h"
#include "win32/accessibility.h"
#include "win32/control_input.h"
#include "win32/dpi.h"
#include "win32/scoped_handles.h"

namespace tw::win32 {

namespace {

constexpr wchar_t kLabelClass[] = L"TypewellLabel";
constexpr wchar_t kContainerClass[] = L"TypewellContainer";
// The system's button with one device context for all its windows (see RegisterButtonClass).
constexpr wchar_t kButtonClass[] = L"TypewellButton";
constexpr UINT_PTR kSubclassId = 1;
constexpr int kLabelMargin = 2;  // pixels between a label's left edge and its text
// A label keeps its font, its colour and whether it has a colour in its window's extra bytes.
constexpr int kFontSlot = 0;
constexpr int kColourSlot = sizeof(LONG_PTR);
constexpr LONG_PTR kNoColour = -1;

ui::Rgb ToRgb(COLORREF c) {
  return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

bool HighContrast() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// An entry label in its chosen colour with a text that contrasts with it, or the system's
// window colours in high contrast; another label in the colours of the window's face.
ui::LabelColours ColoursOf(HWND label) {
  const LONG_PTR chosen = GetWindowLongPtrW(label, kColourSlot);
  if (chosen == kNoColour) {
    return {ToRgb(GetSysColor(COLOR_BTNFACE)), ToRgb(GetSysColor(COLOR_BTNTEXT))};
  }
  return ui::LabelColoursFor(
      ToRgb(static_cast<COLORREF>(chosen)), HighContrast(),
      {ToRgb(GetSysColor(COLOR_WINDOW)), ToRgb(GetSysColor(COLOR_WINDOWTEXT))});
}

void PaintLabel(HWND label) {
  PaintScope paint(label);
  RECT r;
  GetClientRect(label, &r);
  const ui::LabelColours colours = ColoursOf(label);
  HDC dc = paint.dc();
  SelectScope brush(dc, GetStockObject(DC_BRUSH));
  SetDCBrushColor(dc,
                  RGB(colours.background.red, colours.background.green, colours.background.blue));
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  const auto font = reinterpret_cast<HGDIOBJ>(GetWindowLongPtrW(label, kFontSlot));
  SelectScope selected(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(colours.text.red, colours.text.green, colours.text.blue));
  wchar_t text[256];
  const int length = GetWindowTextW(label, text, static_cast<int>(std::size(text)));
  RECT textRect = r;
  textRect.left += kLabelMargin;
  DrawTextW(dc, text, length, &textRect,
            DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
  // The focus shows once the user works with the keyboard (the window's UI state says so).
  if (GetFocus() == label && (SendMessageW(label, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0) {
    DrawFocusRect(dc, &r);
  }
}

// Whether the window has a non-client area to paint. A control without one skips the default
// WM_NCPAINT, which would take a device context of the window frame only to paint nothing (and
// under Wine keeps one more cached device context, with its bitmap and region, per window).
bool HasFrame(HWND window) {
  RECT outer, inner;
  if (!GetWindowRect(window, &outer) || !GetClientRect(window, &inner)) return true;
  return outer.right - outer.left != inner.right || outer.bottom - outer.top != inner.bottom;
}

// What a screen reader hears of the control: the name its window gives it.
std::optional<LRESULT> OnAccessibilityMessage(HWND control, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  return AnswerAccessibility(control, message, wParam, lParam, [control] {
    ControlEvents* events = EventsOf(control);
    return events != nullptr ? events->AccessibleName(control) : std::wstring();
  });
}

std::optional<LRESULT> OnLabelMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE: {
      const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, FALSE);
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
    const auto runDefault = [&] { return DefWindowProcW(window, message, wParam, lParam); };
    if (const auto answer = OnAccessibilityMessage(window, message, wParam, lParam)) {
      return *answer;
    }
    if (PressTracking::OnMessage(window, message, wParam, lParam, runDefault)) return 0;
    if (const auto result =
            OnKeyMessage(window, KeySet::Label, message, wParam, lParam, runDefault)) {
      return *result;
    }
    if (const auto result = OnLabelMessage(window, message, wParam, lParam)) return *result;
  } catch (...) {
    OutputDebugStringA("Typewell: an event handler of a label failed\n");
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

KeySet KeysOf(HWND control) {
  if (GetPropW(control, L"TypewellEditBox") != nullptr) return KeySet::EditBox;
  const auto type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_RADIOBUTTON ? KeySet::OptionButton : KeySet::PushButton;
}

// The buttons' and the edit box's subclass: presses of buttons (reports != 0), keys, names.
LRESULT CALLBACK ControlSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR reports) noexcept {
  if (message == WM_NCPAINT && !HasFrame(window)) return 0;
  if (message == WM_PAINT && wParam == 0 && reports != 0) return PaintInSharedDc(window);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, ControlSubclass, kSubclassId);
    RemovePropW(window, L"TypewellEvents");
    RemovePropW(window, L"TypewellEditBox");
    return DefSubclassProc(window, message, wParam, lParam);
  }
  try {
    LRESULT result = 0;
    const auto runDefault = [&] {
      return result = DefSubclassProc(window, message, wParam, lParam);
    };
    if (const auto answer = OnAccessibilityMessage(window, message, wParam, lParam)) {
      return *answer;
    }
    if (reports != 0 && PressTracking::OnMessage(window, message, wParam, lParam, runDefault)) {
      return result;
    }
    if (const auto keys =
            OnKeyMessage(window, KeysOf(window), message, wParam, lParam, runDefault)) {
      return *keys;
    }
    if (message == WM_KILLFOCUS && KeysOf(window) == KeySet::EditBox) {
      runDefault();
      if (ControlEvents* events = EventsOf(window)) events->OnEditBoxLostFocus(window);
      return result;
    }
  } catch (...) {
    OutputDebugStringA("Typewell: an event handler of a control failed\n");
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
  }
  return {kLabelClass, 0, 0};
}

// The first option button of a container begins its group.
bool FirstOptionIn(HWND parent) {
  for (HWND c = GetWindow(parent, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    if ((GetWindowLongPtrW(c, GWL_STYLE) & BS_TYPEMASK) == BS_RADIOBUTTON) return false;
  }
  return true;
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
  RegisterButtonClass(instance);
}

HWND CreateControl(HWND parent, const ui::ControlPlan& plan, const ui::TwipsRect& container,
                   int dpi, ControlEvents& events, DWORD extraStyle) {
  const WindowKind kind = KindOf(plan.kind);
  const RECT r = PixelRectIn(plan.rect, container, dpi);
  DWORD style = kind.style | extraStyle | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  if (plan.kind == ui::ControlKind::OptionButton && FirstOptionIn(parent)) style |= WS_GROUP;
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
      // A choice is made by a click or a key, never by the focus arriving (Windows Vista on).
      SendMessageW(control, BM_SETDONTCLICK, TRUE, 0);
      SetWindowSubclass(control, ControlSubclass, kSubclassId, 1);
      break;
    case ui::ControlKind::EditBox:
      SetPropW(control, L"TypewellEditBox", control);
      SetWindowSubclass(control, ControlSubclass, kSubclassId, 0);
      SendMessageW(control, EM_LIMITTEXT, ui::kEditBoxMaxLength, 0);
      break;
    default:
      break;
  }
  return control;
}

bool PressHeld(HWND control) {
  return PressTracking::Held(control);
}

void SetLabelColour(HWND label, COLORREF colour) {
  if (GetWindowLongPtrW(label, kColourSlot) == static_cast<LONG_PTR>(colour)) return;
  SetWindowLongPtrW(label, kColourSlot, static_cast<LONG_PTR>(colour));
  InvalidateRect(label, nullptr, TRUE);
}

void CheckOption(HWND option, bool checked) {
  SendMessageW(option, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  const LONG_PTR style = GetWindowLongPtrW(option, GWL_STYLE);
  SetWindowLongPtrW(option, GWL_STYLE, checked ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

}  // namespace tw::win32
