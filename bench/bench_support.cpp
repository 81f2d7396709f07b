// Shared pieces of the benchmark's Windows helper programs (see bench_support.h).
#include "bench_support.h"

// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "win32/system/ansi_text.h"

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

bool DragOutlineShown(RECT& rect) {
  HWND outline = FindWindowW(L"TypewellDragOutline", nullptr);
  if (outline == nullptr || !IsWindowVisible(outline)) return false;
  return GetWindowRect(outline, &rect) != FALSE;
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

void DisplayRoundTrip() {
  // Reading a pixel of the screen waits for the server's answer.
  HDC screen = GetDC(nullptr);
  GetPixel(screen, 0, 0);
  ReleaseDC(nullptr, screen);
}

bool MoveOnto(HWND window, POINT screen) {
  if (!MoveTo(screen)) return false;
  DisplayRoundTrip();
  return WaitProcessed(window);
}

bool LeftDown(POINT screen) {
  return SendMouseAt(MOUSEEVENTF_LEFTDOWN, screen);
}
bool LeftUp(POINT screen) {
  return SendMouseAt(MOUSEEVENTF_LEFTUP, screen);
}

bool ShiftTab() {
  INPUT keys[4]{};
  const WORD codes[4] = {VK_SHIFT, VK_TAB, VK_TAB, VK_SHIFT};
  for (int i = 0; i < 4; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = codes[i];
    keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
  }
  return SendInput(4, keys, sizeof(INPUT)) == 4;
}

namespace {

GUITHREADINFO ThreadInfoOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) info = {};
  return info;
}

// A window as the log names it: a control by its ID, a top-level window by its title.
std::string NameOf(HWND window) {
  if (window == nullptr) return "-";
  if (window == GetDesktopWindow()) return "desktop";
  if (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) return std::to_string(GetDlgCtrlID(window));
  char title[64] = "";
  GetWindowTextA(window, title, sizeof title);
  return '"' + std::string(title) + '"';
}

}  // namespace

HWND CaptureOf(HWND window) {
  return ThreadInfoOf(window).hwndCapture;
}
HWND FocusOf(HWND window) {
  return ThreadInfoOf(window).hwndFocus;
}
HWND ActiveOf(HWND window) {
  return ThreadInfoOf(window).hwndActive;
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

bool AwaitActivationTaken(HWND control, HWND from, double boundMs, StateLog* log) {
  const HWND window = GetAncestor(control, GA_ROOT);
  if (!PollUntil(
          [&] {
            if (log != nullptr) log->Look();
            return CaptureOf(control) == control && GetForegroundWindow() == window &&
                   ActiveOf(from) == nullptr;
          },
          boundMs) ||
      !WaitProcessed(window)) {
    return false;
  }
  // The window's thread has handed its requests to the display server (under Wine it does so
  // when it waits for messages, and so it moves the X input focus); once the server has carried
  // them out, the other thread reads the loss of the focus before it answers.
  DisplayRoundTrip();
  return WaitProcessed(from);
}

void StateLog::Look() {
  const GUITHREADINFO typewell = ThreadInfoOf(main_);
  const GUITHREADINFO target = ThreadInfoOf(target_);
  POINT pointer{};
  GetCursorPos(&pointer);
  Note("foreground " + NameOf(GetForegroundWindow()) + " | Typewell active " +
       NameOf(typewell.hwndActive) + " focus " + NameOf(typewell.hwndFocus) + " capture " +
       NameOf(typewell.hwndCapture) + " | target active " + NameOf(target.hwndActive) + " focus " +
       NameOf(target.hwndFocus) + " | pointer " + std::to_string(pointer.x) + "," +
       std::to_string(pointer.y) + " over " + NameOf(WindowFromPoint(pointer)));
}

void StateLog::Mark(const std::string& event) {
  Note("-- " + event);
}

void StateLog::Note(std::string line) {
  constexpr std::size_t kKept = 40;
  if (!notes_.empty() && notes_.back().second == line) return;
  if (notes_.size() == kKept) notes_.pop_front();
  notes_.emplace_back(NowMs(), std::move(line));
}

void StateLog::Print() {
  Look();
  const double end = notes_.empty() ? 0 : notes_.back().first;
  for (const auto& [at, line] : notes_) {
    std::fprintf(stderr, "  %8.1f ms %s\n", at - end, line.c_str());
  }
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
