#include "win32/controls.h"

#include <commctrl.h>

#include <iterator>
#include <optional>

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
    if (reports != 0 && IsPressMessage(message) &&
        PressTracking::OnMessage(window, message, wParam, lParam, runDefault)) {
      return result;
    }
    if (IsKeyMessage(message)) {
      if (const auto keys =
              OnKeyMessage(window, KeysOf(window), message, wParam, lParam, runDefault)) {
        return *keys;
      }
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
  wc.cbWndExtra = kLabelExtraBytes;
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
      SetLabelColour(control, kNoLabelColour);
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

void CheckOption(HWND option, bool checked) {
  SendMessageW(option, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  const LONG_PTR style = GetWindowLongPtrW(option, GWL_STYLE);
  SetWindowLongPtrW(option, GWL_STYLE, checked ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

}  // namespace tw::win32
