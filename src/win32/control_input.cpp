#include "win32/control_input.h"

#include <windowsx.h>

#include <utility>

#include "win32/accessibility.h"

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
std::optional<LRESULT> OnKeyMessage(ControlEvents& events, HWND control, UINT message,
                                    WPARAM wParam, LPARAM lParam,
                                    const std::function<LRESULT()>& runDefault) {
  const ui::Role role = ControlOf(control).role;
  const ui::Key key = KeyOf(wParam);
  switch (message) {
    case WM_GETDLGCODE: {
      const auto* pending = reinterpret_cast<const MSG*>(lParam);
      LRESULT code = runDefault();
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
        const LRESULT result = runDefault();
        events.OnControlKey(control, {key});
        return result;
      }
      return std::nullopt;
    case WM_CHAR:
      // Enter and Esc taken as keys above; their characters would only beep.
      if ((wParam == L'\r' && ui::TakesKey(role, ui::Key::Enter)) ||
          (wParam == 0x1B && ui::TakesKey(role, ui::Key::Escape))) {
        return 0;
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace

bool ControlMessages::OnPress(ControlEvents& events, HWND control, UINT message, WPARAM wParam,
                              LPARAM lParam, const std::function<LRESULT()>& runDefault) {
  ControlEvents::Press& press = events.press_;
  const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (IsButtonDown(message)) {
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) runDefault();
    if (press.control != nullptr) return true;  // a second button of the same press
    if (GetCapture() != control) SetCapture(control);
    press.control = control;
    events.OnControlPressed(control, at);
    return true;
  }
  if (message == WM_MOUSEMOVE) {
    runDefault();
    if (press.control == control) {
      events.OnControlMoved(control, at, wParam);
    } else {
      events.OnControlHovered(control, at);
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
    if (ends) events.OnControlReleased(control);
    return true;
  }
  if (message == WM_CAPTURECHANGED && press.control == control &&
      reinterpret_cast<HWND>(lParam) != control) {
    press.control = nullptr;
    events.OnPressTakenAway(control);
    runDefault();
    return true;
  }
  return false;
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

std::optional<LRESULT> ControlMessages::OnMessage(ControlEvents& events, HWND control, UINT message,
                                                  WPARAM wParam, LPARAM lParam,
                                                  const std::function<LRESULT()>& runDefault) {
  if (const auto answer = AnswerAccessibility(control, message, wParam, lParam,
                                              [&] { return events.AccessibleName(control); })) {
    return answer;
  }
  if (message == WM_GETDLGCODE || message == WM_KEYDOWN || message == WM_KEYUP ||
      message == WM_CHAR) {
    return OnKeyMessage(events, control, message, wParam, lParam, runDefault);
  }
  if (ControlOf(control).role == ui::Role::EditBox) {
    if (message != WM_KILLFOCUS) return std::nullopt;
    const LRESULT result = runDefault();
    events.OnEditBoxLostFocus(control);
    return result;
  }
  LRESULT result = 0;
  const auto remember = [&] { return result = runDefault(); };
  if (OnPress(events, control, message, wParam, lParam, remember)) {
    return result;
  }
  return std::nullopt;
}

bool HasFrame(HWND window) {
  RECT outer, inner;
  if (!GetWindowRect(window, &outer) || !GetClientRect(window, &inner)) return true;
  return outer.right - outer.left != inner.right || outer.bottom - outer.top != inner.bottom;
}

}  // namespace tw::win32
