#include "win32/windows/control_input.h"

#include <windowsx.h>

#include <utility>

#include "win32/windows/accessibility.h"

namespace tw::win32 {

namespace {

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

bool IsPushButton(ui::Role role) {
  return role == ui::Role::InsertButton || role == ui::Role::Command || role == ui::Role::OkButton;
}

// A push button looks pressed while Enter is down and acts as it goes up, as for Space; an option
// button acts on Space as it goes up, after its own processing; the other keys act as they go down.
std::optional<LRESULT> OnKeyMessage(ControlEvents& events, const ControlMessage& m) {
  const HWND control = m.control;
  const ui::Role role = ControlOf(control).role;
  const ui::Key key = KeyOf(m.wParam);
  switch (m.message) {
    case WM_GETDLGCODE: {
      const auto* pending = reinterpret_cast<const MSG*>(m.lParam);
      LRESULT code = m.RunDefault();
      if (ui::TakesKey(role, ui::Key::Left)) code |= DLGC_WANTARROWS;
      if (pending != nullptr && pending->message == WM_KEYDOWN &&
          ui::TakesKey(role, KeyOf(pending->wParam))) {
        code |= DLGC_WANTMESSAGE;
      }
      return code;
    }
    case WM_KEYDOWN:
      if (!ui::TakesKey(role, key) || key == ui::Key::Space) return std::nullopt;
      if (IsPushButton(role)) {
        SendMessageW(control, BM_SETSTATE, TRUE, 0);
      } else {
        events.OnControlKey(control, {key, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0});
      }
      return 0;
    case WM_KEYUP:
      if (IsPushButton(role) && key == ui::Key::Enter &&
          (SendMessageW(control, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0) {
        SendMessageW(control, BM_SETSTATE, FALSE, 0);
        events.OnControlKey(control, {key});
        return 0;
      }
      if (key == ui::Key::Space && ui::TakesKey(role, key)) {
        const LRESULT result = m.RunDefault();
        events.OnControlKey(control, {key});
        return result;
      }
      return std::nullopt;
    case WM_CHAR:
      // Enter and Esc taken as keys above; their characters would only beep.
      if ((m.wParam == L'\r' && ui::TakesKey(role, ui::Key::Enter)) ||
          (m.wParam == 0x1B && ui::TakesKey(role, ui::Key::Escape))) {
        return 0;
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<LRESULT> ControlMessages::OnPress(ControlEvents& events, const ControlMessage& m) {
  ControlEvents::Press& press = events.press_;
  const HWND control = m.control;
  const POINT at{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
  if (IsButtonDown(m.message)) {
    const bool left = m.message == WM_LBUTTONDOWN || m.message == WM_LBUTTONDBLCLK;
    const LRESULT result = left ? m.RunDefault() : 0;
    if (press.control != nullptr) return result;  // a second button of the same press
    if (GetCapture() != control) SetCapture(control);
    press.control = control;
    events.OnControlPressed(control, at);
    return result;
  }
  if (m.message == WM_MOUSEMOVE) {
    const LRESULT result = m.RunDefault();
    if (press.control == control) {
      events.OnControlMoved(control, at, m.wParam);
    } else {
      events.OnControlHovered(control, at);
    }
    return result;
  }
  if (IsButtonUp(m.message)) {
    const bool ends = press.control == control && !AnyButtonHeld(m.wParam);
    if (ends) press.control = nullptr;
    LRESULT result = 0;
    if (m.message == WM_LBUTTONUP) {
      press.inRelease = ends;
      result = m.RunDefault();
      press.inRelease = false;
    }
    if (ends && GetCapture() == control) ReleaseCapture();
    if (ends) events.OnControlReleased(control);
    return result;
  }
  if (m.message == WM_CAPTURECHANGED && press.control == control &&
      reinterpret_cast<HWND>(m.lParam) != control) {
    press.control = nullptr;
    events.OnPressTakenAway(control);
    return m.RunDefault();
  }
  return std::nullopt;
}

ui::Key KeyOf(WPARAM key) {
  static constexpr std::pair<WPARAM, ui::Key> kKeys[] = {
      {VK_RETURN, ui::Key::Enter}, {VK_ESCAPE, ui::Key::Escape}, {VK_SPACE, ui::Key::Space},
      {VK_F2, ui::Key::F2},        {VK_TAB, ui::Key::Tab},       {VK_LEFT, ui::Key::Left},
      {VK_RIGHT, ui::Key::Right},  {VK_UP, ui::Key::Up},         {VK_DOWN, ui::Key::Down},
      {VK_PRIOR, ui::Key::PageUp}, {VK_NEXT, ui::Key::PageDown}};
  for (const auto& [virtualKey, meaning] : kKeys) {
    if (virtualKey == key) return meaning;
  }
  return ui::Key::Other;
}

bool ControlEvents::PressHeld(HWND control) const {
  return press_.control == control && GetCapture() == control;
}

std::optional<LRESULT> ControlMessages::OnMessage(ControlEvents& events, const ControlMessage& m) {
  const HWND control = m.control;
  if (const auto answer = AnswerAccessibility(control, m.message, m.wParam, m.lParam,
                                              [&] { return events.AccessibleName(control); })) {
    return answer;
  }
  if (m.message == WM_GETDLGCODE || m.message == WM_KEYDOWN || m.message == WM_KEYUP ||
      m.message == WM_CHAR) {
    return OnKeyMessage(events, m);
  }
  if (ControlOf(control).role != ui::Role::EditBox) return OnPress(events, m);
  if (m.message != WM_KILLFOCUS) return std::nullopt;
  const LRESULT result = m.RunDefault();
  events.OnEditBoxLostFocus(control);
  return result;
}

bool HasFrame(HWND window) {
  RECT outer, inner;
  if (!GetWindowRect(window, &outer) || !GetClientRect(window, &inner)) return true;
  return outer.right - outer.left != inner.right || outer.bottom - outer.top != inner.bottom;
}

}  // namespace tw::win32
