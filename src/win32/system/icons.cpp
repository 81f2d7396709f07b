#include "win32/system/icons.h"

#include <commctrl.h>

#include "win32/system/dpi.h"
#include "win32/system/scoped_handles.h"
#include "win32/system/system.h"

namespace tw::win32 {

namespace {

constexpr UINT_PTR kIconOwnerId = 1;

void DestroyIconHandle(HICON icon) {
  DestroyIcon(icon);
}
using ScopedIcon = Scoped<HICON, DestroyIconHandle>;

// A system metric at a DPI. GetSystemMetricsForDpi exists from Windows 10 1607 on; before it,
// the metric of the system's DPI is scaled.
int MetricForDpi(int metric, int dpi) {
  using ForDpiFn = int(WINAPI*)(int, UINT);
  static const auto forDpi = SystemFunction<ForDpiFn>(L"user32.dll", "GetSystemMetricsForDpi");
  if (forDpi != nullptr) return forDpi(metric, static_cast<UINT>(dpi));
  return MulDiv(GetSystemMetrics(metric), dpi, SystemDpi());
}

// Not LR_SHARED: the system's cache would hand back the size loaded first, whatever the size
// asked for, and the icons of another DPI must be destroyed when the window no longer shows them.
HICON LoadForDpi(HINSTANCE instance, int widthMetric, int heightMetric, int dpi) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                       MetricForDpi(widthMetric, dpi),
                                       MetricForDpi(heightMetric, dpi), LR_DEFAULTCOLOR));
}

// Gives the window an icon of the kind and returns the one it had from WM_SETICON (not its
// class icon).
HICON Swap(HWND window, WPARAM kind, HICON icon) {
  return reinterpret_cast<HICON>(
      SendMessageW(window, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon)));
}

// Destroys the window's icons with it. The large one is taken first, so that the system derives
// no small icon from it when the small one is taken.
LRESULT CALLBACK IconOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR) noexcept {
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, IconOwner, kIconOwnerId);
    for (const WPARAM kind : {ICON_BIG, ICON_SMALL}) {
      const ScopedIcon gone(Swap(window, kind, nullptr));
    }
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

void SetClassIcons(WNDCLASSEXW& windowClass) {
  windowClass.hIcon = LoadForDpi(windowClass.hInstance, SM_CXICON, SM_CYICON, SystemDpi());
  windowClass.hIconSm = LoadForDpi(windowClass.hInstance, SM_CXSMICON, SM_CYSMICON, SystemDpi());
}

void SetWindowIcons(HWND window, int dpi) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE));
  const HICON icons[] = {LoadForDpi(instance, SM_CXSMICON, SM_CYSMICON, dpi),
                         LoadForDpi(instance, SM_CXICON, SM_CYICON, dpi)};
  static_assert(ICON_SMALL == 0 && ICON_BIG == 1);
  // Without the subclass nothing would destroy the new icons with the window.
  const bool taken = icons[ICON_SMALL] != nullptr && icons[ICON_BIG] != nullptr &&
                     SetWindowSubclass(window, IconOwner, kIconOwnerId, 0);
  for (const WPARAM kind : {ICON_SMALL, ICON_BIG}) {
    const ScopedIcon gone(taken ? Swap(window, kind, icons[kind]) : icons[kind]);
  }
}

}  // namespace tw::win32
