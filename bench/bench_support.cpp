// Shared pieces of the benchmark's Windows helper programs (see bench_support.h).
#include "bench_support.h"

// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include <algorithm>
#include <memory>

#include "win32/ansi_text.h"

namespace tw::bench {

namespace {

struct IdSearch {
  int id;
  HWND found;
};

BOOL CALLBACK MatchId(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<IdSearch*>(param);
  if (GetDlgCtrlID(window) != search->id) return TRUE;
  search->found = window;
  return FALSE;
}

bool SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = dx;
  input.mi.dy = dy;
  input.mi.dwFlags = flags;
  return SendInput(1, &input, sizeof(input)) == 1;
}

struct LocalFreeDeleter {
  void operator()(LPWSTR* p) const { LocalFree(p); }
};

}  // namespace

double NowMs() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

HWND ControlWindow(HWND window, int id) {
  if (window == nullptr) return nullptr;
  IdSearch search{id, nullptr};
  EnumChildWindows(window, MatchId, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

POINT CentreOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

namespace {

// Mouse input that carries its own screen point: under Wine a press or release without one takes
// the pointer's position as the process last learnt it from the X server, which can still be an
// older one (a window that closed under the pointer reports where it was then).
bool SendMouseAt(DWORD flags, POINT screen) {
  // Absolute coordinates are 0..65535 over the primary screen.
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  const LONG dx = MulDiv(screen.x, 65535, width - 1);
  const LONG dy = MulDiv(screen.y, 65535, height - 1);
  return SendMouse(flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy);
}

}  // namespace

bool MoveTo(POINT screen) {
  // Wine also makes pointer moves of its own from the X server's pointer (when a window appears
  // or disappears under it): the X pointer is put at the same point first (SetCursorPos warps
  // it), so that those moves cannot take a press or a drag somewhere else.
  if (!SetCursorPos(screen.x, screen.y)) return false;
  return SendMouseAt(0, screen);
}

bool LeftDown(POINT screen) {
  return SendMouseAt(MOUSEEVENTF_LEFTDOWN, screen);
}
bool LeftUp(POINT screen) {
  return SendMouseAt(MOUSEEVENTF_LEFTUP, screen);
}

HWND CaptureOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndCapture;
}

bool WaitProcessed(HWND window) {
  for (int i = 0; i < 2; ++i) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kRoundTripBoundMs, &result)) {
      return false;
    }
  }
  return true;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

std::vector<std::string> Arguments() {
  int argc = 0;
  std::unique_ptr<LPWSTR, LocalFreeDeleter> argv(CommandLineToArgvW(GetCommandLineW(), &argc));
  std::vector<std::string> out;
  for (int i = 1; argv && i < argc; ++i) out.push_back(win32::WideToAnsi(argv.get()[i]));
  return out;
}

}  // namespace tw::bench
