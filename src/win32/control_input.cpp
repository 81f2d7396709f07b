#include "win32/control_input.h"

#include <windowsx.h>

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

bool IsArrow(WPARAM key) {
  return key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT;
}

// The keys of the set that the control wants to see itself rather than the dialog keys.
bool Wants(KeySet keys, WPARAM key) {
  switch (keys) {
    case KeySet::Label:
      return key == VK_RETURN || key == VK_F2 || IsArrow(key);
    case KeySet::PushButton:
      return key == VK_RETURN;
    case KeySet::OptionButton:
      return IsArrow(key);
    case KeySet::EditBox:
      return key == VK_RETURN || key == VK_ESCAPE;
  }
  return false;
}

}  // namespace

bool IsPressMessage(UINT message) {
  return IsButtonDown(message) || IsButtonUp(message) || message == WM_MOUSEMOVE ||
         message == WM_CAPTURECHANGED;
}

bool IsKeyMessage(UINT message) {
  return message == WM_GETDLGCODE || message == WM_KEYDOWN || message == WM_KEYUP ||
         message == WM_CHAR;
}

ControlEvents* EventsOf(HWND control) {
  return static_cast<ControlEvents*>(GetPropW(control, L"TypewellEvents"));
}

bool PressTracking::Held(HWND control) {
  const ControlEvents* events = EventsOf(control);
  return events != nullptr && events->press_.control == control && GetCapture() == control;
}

bool PressTracking::OnMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                              const std::function<void()>& runDefault) {
  ControlEvents* events = EventsOf(control);
  if (events == nullptr) return false;
  ControlEvents::Press& press = events->press_;
  const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (IsButtonDown(message)) {
    const bool left = message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK;
    if (left) runDefault();
    if (press.control != nullptr) return true;  // a second button of the same press
    if (GetCapture() != control) SetCapture(control);
    press.control = control;
    events->OnControlPressed(control, at);
    return true;
  }
  if (message == WM_MOUSEMOVE) {
    runDefault();
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
    if (ends) events->OnControlReleased(control);
    return true;
  }
  if (message == WM_CAPTURECHANGED && press.control == control &&
      reinterpret_cast<HWND>(lParam) != control) {
    press.control = nullptr;
    events->OnPressTakenAway(control);
    runDefault();
    return true;
  }
  return false;
}

std::optional<LRESULT> OnKeyMessage(HWND control, KeySet keys, UINT message, WPARAM wParam,
                                    LPARAM lParam, const std::function<LRESULT()>& runDefault) {
  ControlEvents* events = EventsOf(control);
  if (events == nullptr) return std::nullopt;
  switch (message) {
    case WM_GETDLGCODE: {
      const auto* key = reinterpret_cast<const MSG*>(lParam);
      LRESULT code = runDefault();
      if (keys != KeySet::PushButton && keys != KeySet::EditBox) code |= DLGC_WANTARROWS;
      if (key != nullptr && key->message == WM_KEYDOWN && Wants(keys, key->wParam)) {
        code |= DLGC_WANTMESSAGE;
      }
      return code;
    }
    case WM_KEYDOWN:
      if (!Wants(keys, wParam)) return std::nullopt;
      // A push button looks pressed while Enter is down, and acts as it goes up, as for Space.
      if (keys == KeySet::PushButton) {
        SendMessageW(control, BM_SETSTATE, TRUE, 0);
      } else {
        events->OnControlKey(control, wParam);
      }
      return 0;
    case WM_KEYUP: {
      const bool pushed = (SendMessageW(control, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
      if (keys == KeySet::PushButton && wParam == VK_RETURN && pushed) {
        SendMessageW(control, BM_SETSTATE, FALSE, 0);
        events->OnControlKey(control, wParam);
        return 0;
      }
      if (keys == KeySet::OptionButton && wParam == VK_SPACE) {
        const LRESULT result = runDefault();
        events->OnControlKey(control, wParam);
        return result;
      }
      return std::nullopt;
    }
    case WM_CHAR:
      // Enter and Esc taken as keys above; their characters would only beep.
      if ((wParam == L'\r' || wParam == 0x1B) && keys != KeySet::OptionButton) return 0;
      return std::nullopt;
    default:
      return std::nullopt;
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

std::optional<LRESULT> OnAccessibilityMessage(HWND control, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  return AnswerAccessibility(control, message, wParam, lParam, [control] {
    ControlEvents* events = EventsOf(control);
    return events != nullptr ? events->AccessibleName(control) : std::wstring();
  });
}

}  // namespace tw::win32
