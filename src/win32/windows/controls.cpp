#include "win32/windows/controls.h"

#include "win32/system/scoped_handles.h"
#include "win32/system/window_binding.h"
#include "win32/windows/control_input.h"

namespace tw::win32 {

namespace {

constexpr wchar_t kLabelClass[] = L"TypewellLabel";
constexpr wchar_t kContainerClass[] = L"TypewellContainer";

// A button paints into the device context its class shares: whatever its painting leaves
// selected or set in it (font, colours, modes) is put back, so that the next button starts from
// the same state.
LRESULT PaintInSharedDc(HWND button) {
  PaintScope paint(button);
  const int saved = SaveDC(paint.dc());
  const LRESULT result = DefSubclassProc(button, WM_PAINT, reinterpret_cast<WPARAM>(paint.dc()), 0);
  RestoreDC(paint.dc(), saved);
  return result;
}

// The system's buttons and edit box: what a control of ours takes, the rest is theirs.
LRESULT SystemControlMessage(ControlEvents& events, HWND control, UINT message, WPARAM wParam,
                             LPARAM lParam) {
  if (message == WM_NCPAINT && !HasFrame(control)) return 0;
  if (message == WM_PAINT && wParam == 0 && ControlOf(control).role != ui::Role::EditBox) {
    return PaintInSharedDc(control);
  }
  const ControlMessage m{control, message, wParam, lParam, DefSubclassProc};
  if (const auto answer = ControlMessages::OnMessage(events, m)) return *answer;
  return m.RunDefault();
}

// A container passes its children's notifications on to its window.
LRESULT ContainerMessage(ControlEvents&, HWND container, UINT message, WPARAM wParam,
                         LPARAM lParam) {
  if (message == WM_NCPAINT && !HasFrame(container)) return 0;
  if (message == WM_COMMAND || message == WM_NOTIFY) {
    return SendMessageW(GetAncestor(container, GA_ROOT), message, wParam, lParam);
  }
  return DefWindowProcW(container, message, wParam, lParam);
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

// The controls paint through one device context per class (CS_CLASSDC) instead of one each: a
// device context is a costly object, and Wine keeps one for every window painted (with its
// bitmap and region). The buttons are the system's buttons with that style.
void RegisterControlClasses() {
  Register({.name = kButtonClass, .procedure = nullptr, .style = CS_CLASSDC, .base = L"BUTTON"});
  Register({kLabelClass, BoundWindowProc<ControlEvents, &LabelMessage>,
            CS_HREDRAW | CS_VREDRAW | CS_CLASSDC, kLabelExtraBytes});
  Register({kContainerClass, BoundWindowProc<ControlEvents, &ContainerMessage>,
            CS_HREDRAW | CS_VREDRAW | CS_CLASSDC, 0, COLOR_BTNFACE});
}

HWND CreateControl(HWND parent, const ui::ControlPlan& plan, const ui::TwipsRect& container,
                   int dpi, ControlEvents& events, DWORD extraStyle) {
  const WindowKind kind = KindOf(plan.kind);
  const services::PixelRect r = ui::PixelRectIn(plan.rect, container, dpi);
  DWORD style = kind.style | extraStyle | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  if (plan.kind == ui::ControlKind::OptionButton && FirstOptionIn(parent)) style |= WS_GROUP;
  // A class of our own is bound to the events as it is made; the system's, once it is made.
  const bool ours = kind.className == kLabelClass || kind.className == kContainerClass;
  HWND control = CreateWindowExW(kind.exStyle, kind.className, plan.caption, style, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(plan.id)),
                                 GetModuleHandleW(nullptr), ours ? &events : nullptr);
  if (control == nullptr) return nullptr;
  switch (plan.kind) {
    case ui::ControlKind::Label:
      SetLabelColour(control, kNoLabelColour);
      return control;
    case ui::ControlKind::PushButton:
    case ui::ControlKind::OptionButton:
      // A choice is made by a click or a key, never by the focus arriving (Windows Vista on).
      SendMessageW(control, BM_SETDONTCLICK, TRUE, 0);
      break;
    case ui::ControlKind::EditBox:
      SendMessageW(control, EM_LIMITTEXT, ui::kEditBoxMaxLength, 0);
      break;
    case ui::ControlKind::Container:
      return control;
  }
  if (!Subclass<ControlEvents, &SystemControlMessage>(control, events)) {
    DestroyWindow(control);
    return nullptr;
  }
  return control;
}

namespace {

ui::TwipsRect ContainerOf(std::span<const ui::ControlPlan> plans, const ui::ControlPlan& plan,
                          const ui::TwipsRect& clientArea) {
  for (const ui::ControlPlan& parent : plans) {
    if (parent.id == plan.parentId) return parent.rect;
  }
  return clientArea;
}

}  // namespace

bool CreateControls(HWND window, std::span<const ui::ControlPlan> plans,
                    const ui::TwipsRect& clientArea, int dpi, ControlEvents& events) {
  for (const ui::ControlPlan& plan : plans) {
    HWND parent = plan.parentId == 0 ? window : GetDlgItem(window, plan.parentId);
    if (!CreateControl(parent, plan, ContainerOf(plans, plan, clientArea), dpi, events)) {
      return false;
    }
  }
  return true;
}

void PlaceControls(HWND window, std::span<const ui::ControlPlan> plans,
                   const ui::TwipsRect& clientArea, int dpi) {
  for (const ui::ControlPlan& plan : plans) {
    const services::PixelRect r =
        ui::PixelRectIn(plan.rect, ContainerOf(plans, plan, clientArea), dpi);
    SetWindowPos(FindControl(window, plan.id), nullptr, r.left, r.top, r.right - r.left,
                 r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

HWND FindControl(HWND window, int id) {
  if (HWND control = GetDlgItem(window, id)) return control;
  for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    if ((GetWindowLongPtrW(c, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) == 0) continue;
    if (HWND control = GetDlgItem(c, id)) return control;
  }
  return nullptr;
}

ui::Control ControlOf(HWND control) {
  return ui::ControlOf(GetDlgCtrlID(control));
}

void CheckOption(HWND option, bool checked) {
  SendMessageW(option, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  const LONG_PTR style = GetWindowLongPtrW(option, GWL_STYLE);
  SetWindowLongPtrW(option, GWL_STYLE, checked ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

void ForwardToControls(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    SendMessageW(c, message, wParam, lParam);
    ForwardToControls(c, message, wParam, lParam);
  }
}

void SetFontOfChildren(HWND window, HFONT font) {
  const auto wanted = reinterpret_cast<WPARAM>(font);
  for (HWND c = GetWindow(window, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    if (static_cast<WPARAM>(SendMessageW(c, WM_GETFONT, 0, 0)) != wanted) {
      SendMessageW(c, WM_SETFONT, wanted, TRUE);
    }
    SetFontOfChildren(c, font);
  }
}

}  // namespace tw::win32
