// minimal_window_gui: the least a Win32 window program does, the yardstick of the start-up
// benchmark. It registers a class, creates one captioned window titled " Minimal Window",
// shows it and runs the message loop until the window is closed. Built with the same compiler,
// flags and static runtime as Typewell.exe.
// Built as minimal_controls_gui (MINIMAL_WITH_COMMON_CONTROLS), it is the same program that also
// uses the common controls as Typewell does: version 6 through the same manifest, initialised
// first thing; its window is titled " Minimal Controls Window".
#include <windows.h>
#ifdef MINIMAL_WITH_COMMON_CONTROLS
// after windows.h
#include <commctrl.h>
constexpr wchar_t kTitle[] = L" Minimal Controls Window";
#else
constexpr wchar_t kTitle[] = L" Minimal Window";
#endif

namespace {

LRESULT CALLBACK MinimalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
#ifdef MINIMAL_WITH_COMMON_CONTROLS
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
#endif
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = MinimalProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"MinimalWindow";
  if (!RegisterClassW(&windowClass)) return 1;
  HWND window =
      CreateWindowExW(0, L"MinimalWindow", kTitle, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                      CW_USEDEFAULT, CW_USEDEFAULT, 200, 420, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
