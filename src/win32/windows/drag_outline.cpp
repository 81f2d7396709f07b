#include "win32/windows/drag_outline.h"

#include "win32/system/window_binding.h"

namespace tw::win32 {

namespace {

constexpr wchar_t kClassName[] = L"TypewellDragOutline";
constexpr COLORREF kTransparentKey = RGB(255, 0, 255);

// A frame of two lines, the system's window text colour outside and its window colour inside:
// one of them stands out against whatever lies below, in every colour scheme.
void PaintOutline(HWND window) {
  PaintScope paint(window);
  RECT r;
  GetClientRect(window, &r);
  HDC dc = paint.dc();
  SelectScope brush(dc, GetStockObject(DC_BRUSH));
  for (const COLORREF colour :
       {GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_WINDOW), kTransparentKey}) {
    SetDCBrushColor(dc, colour);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    InflateRect(&r, -1, -1);
  }
}

}  // namespace

void DragOutline::Register() {
  win32::Register({kClassName, BoundWindowProc<DragOutline, &DragOutline::OnMessage>});
}

LRESULT DragOutline::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintOutline(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

bool DragOutline::Make() {
  if (window_) return true;
  window_.reset(CreateWindowExW(
      WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST,
      kClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), this));
  if (window_ && !SetLayeredWindowAttributes(window_.get(), kTransparentKey, 0, LWA_COLORKEY)) {
    window_.reset();
  }
  return static_cast<bool>(window_);
}

void DragOutline::ShowAt(const RECT& screen) {
  SetWindowPos(window_.get(), HWND_TOPMOST, screen.left, screen.top, screen.right - screen.left,
               screen.bottom - screen.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(window_.get(), nullptr, TRUE);
}

void DragOutline::Hide() {
  if (window_) ShowWindow(window_.get(), SW_HIDE);
}

}  // namespace tw::win32
