// The message loop of the program and of modal forms. Tab and Shift+Tab move the focus through
// the focusable controls in the form's own order (the order of adding, which the toolkit calls
// the tab order), independently of the windows' stacking; other dialog keys (arrows between
// option buttons, Space on a button) go through IsDialogMessage of the input's top-level window.
#include <windows.h>

#include "win32/backend_windows.h"

namespace tw::win32 {

namespace {

enum class TabDirection { Forward, Backward };

bool TakesTabFocus(const forms::Control& c) {
  return c.canTakeFocus() && c.shown() && c.enabled() && Win32Backend::WindowOf(c) != nullptr;
}

void MoveFocusByTab(forms::Form& form, TabDirection direction) {
  const int count = form.controlCount();
  int current = -1;
  for (int i = 0; i < count; ++i) {
    if (&form.controlAt(i) == form.focused()) current = i;
  }
  const int step = direction == TabDirection::Forward ? 1 : count - 1;
  int i = current < 0 ? (direction == TabDirection::Forward ? count - 1 : 0) : current;
  for (int n = 0; n < count; ++n) {
    i = (i + step) % count;
    if (TakesTabFocus(form.controlAt(i))) {
      form.setFocus(form.controlAt(i));
      return;
    }
  }
}

bool IsPlainTab(const MSG& msg) {
  return msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 &&
         GetKeyState(VK_MENU) >= 0;
}

}  // namespace

void DispatchWithDialogKeys(MSG& msg) {
  HWND root = msg.hwnd != nullptr ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
  if (root != nullptr) {
    if (FormWindow* fw = FormWindowOfWindow(root); fw != nullptr && IsPlainTab(msg)) {
      try {
        MoveFocusByTab(*fw->form,
                       GetKeyState(VK_SHIFT) < 0 ? TabDirection::Backward : TabDirection::Forward);
      } catch (...) {
        OutputDebugStringA("Typewell: an event handler failed\n");
      }
      return;
    }
    if (IsDialogMessageW(root, &msg)) return;
  }
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

int RunMessageLoop() {
  MSG msg;
  for (;;) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return 1;
    DispatchWithDialogKeys(msg);
  }
}

}  // namespace tw::win32
