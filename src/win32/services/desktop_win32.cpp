// The desktop on real Win32; see services_win32.h.
//
// Activating another program's window so that synthesised keys reach it: SetForegroundWindow
// only records the new foreground; the window's thread takes the activation (its active window
// and keyboard focus) when it next reads its messages. Under Wine, moreover, a notice of lost
// input focus that the window's thread reads late (our own window took the focus at the mouse
// press a moment before) hands the foreground to the desktop window. Keys sent meanwhile go
// nowhere, or to whatever is in front; Activate waits until the activation has settled.
#include <chrono>

#include "win32/services/services_win32.h"
#include "win32/system/dpi.h"
#include "win32/system/system.h"
// after windows.h
#include <dwmapi.h>

namespace tw::win32 {

namespace {

using Clock = std::chrono::steady_clock;

// How long an activated window may take to settle in the foreground: it returns in a few
// milliseconds as a rule, but a busy machine can hold the target's thread back for longer.
constexpr std::chrono::milliseconds kActivationBound{2000};
// How long a thread that is not in front may take to read the loss of its activation before it
// is activated regardless.
constexpr std::chrono::milliseconds kDeactivationWait{300};
// How long one pause between two looks at the activation lasts at most.
constexpr DWORD kPauseMs = 1;
// How long a window may take to answer before it counts as hung.
constexpr UINT kHungProbeMs = 200;

DWORD ThreadOf(HWND window) {
  return GetWindowThreadProcessId(window, nullptr);
}

bool ThreadHasActiveWindow(DWORD thread) {
  return ThreadInput(thread).hwndActive != nullptr;
}

// Makes window the foreground window and waits until its thread has taken the activation and
// the foreground has stayed with that thread over two round trips to it (a notice of lost input
// focus that reached the thread during the first is read before it answers the second);
// activates again when the foreground went elsewhere meanwhile.
bool ActivateAndSettle(HWND window, std::chrono::milliseconds bound) {
  const auto start = Clock::now();
  const auto deadline = start + bound;
  const DWORD thread = ThreadOf(window);
  if (thread == 0) return false;
  for (;;) {
    Pause(kPauseMs);
    if (!IsWindow(window)) return false;
    if (ForegroundIsThread(thread)) {
      if (ThreadHasActiveWindow(thread) && RoundTrip(window, deadline) &&
          RoundTrip(window, deadline) && ForegroundIsThread(thread) &&
          ThreadHasActiveWindow(thread)) {
        return true;
      }
    } else if (!ThreadHasActiveWindow(thread) || Clock::now() - start >= kDeactivationWait) {
      // A thread that lost the foreground a moment ago and has not read that yet would take the
      // new activation for the one it still has, and not take the input focus back.
      SetForegroundWindow(window);
    }
    // A thread that never takes the foreground (the system refuses it, the window is hidden, a
    // ghost stands in for a hung one) ends the wait here.
    if (Clock::now() >= deadline) return false;
  }
}

// The highest integrity level: of a process that cannot be asked.
constexpr std::uint32_t kHighestLevel = 0xFFFFFFFF;

}  // namespace

void Pause(DWORD milliseconds) {
  if (milliseconds == 0) {
    SwitchToThread();
  } else {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_SENDMESSAGE);
  }
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

bool ForegroundIsThread(DWORD thread) {
  const HWND foreground = GetForegroundWindow();
  return foreground != nullptr && ThreadOf(foreground) == thread;
}

GUITHREADINFO ThreadInput(DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(thread, &info)) info.hwndActive = info.hwndFocus = nullptr;
  return info;
}

bool RoundTrip(HWND window, std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  if (left.count() <= 0) return false;
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                             static_cast<UINT>(left.count()), &result) != 0;
}

services::WindowHandle Win32Desktop::ForegroundWindow() {
  const HWND foreground = GetForegroundWindow();
  // Wine shows "no window active" as its desktop window in front (for instance when a program
  // noticed a loss of input focus late); that is no window a fill could go to.
  return foreground == GetDesktopWindow() ? 0 : FromHwnd(foreground);
}

bool Win32Desktop::IsOwnWindow(services::WindowHandle window) {
  DWORD process = 0;
  return GetWindowThreadProcessId(ToHwnd(window), &process) != 0 &&
         process == GetCurrentProcessId();
}

std::wstring Win32Desktop::WindowTitle(services::WindowHandle window) {
  return IsWindow(ToHwnd(window)) ? WindowText(ToHwnd(window)) : std::wstring();
}

bool Win32Desktop::WindowExists(services::WindowHandle window) {
  return window != 0 && IsWindow(ToHwnd(window));
}

services::WindowFacts Win32Desktop::Facts(services::WindowHandle window) {
  const HWND hwnd = ToHwnd(window);
  if (!WindowExists(window)) return {.shown = false};
  const LONG_PTR exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  wchar_t name[64];  // longer than the names compared; a longer one is cut
  const int length = GetClassNameW(hwnd, name, 64);
  return {IsWindowVisible(hwnd) != FALSE,
          Cloaked(hwnd),
          (exStyle & WS_EX_TOOLWINDOW) != 0,
          (exStyle & WS_EX_APPWINDOW) != 0,
          IsWindowEnabled(hwnd) != FALSE,
          GetWindow(hwnd, GW_OWNER) != nullptr,
          std::wstring(name, static_cast<std::size_t>(std::max(length, 0)))};
}

// The system keeps a cloaked window off the screen though it is visible: the Start menu and
// search while closed, a window of another virtual desktop. Windows 8 and later; Windows 7 knows
// no such attribute, and its dwmapi.dll answers with an error.
bool Win32Desktop::Cloaked(HWND window) {
  static const auto get = SystemFunction<HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD)>(
      L"dwmapi.dll", "DwmGetWindowAttribute");
  DWORD cloaked = 0;
  return get != nullptr && SUCCEEDED(get(window, DWMWA_CLOAKED, &cloaked, sizeof(cloaked))) &&
         cloaked != 0;
}

// Windows lets no program type into one of a higher level (User Interface Privilege Isolation),
// and tells the sender nothing. Wine has no levels of its own: it answers 0x3000 for every
// process, Typewell's too, so that the check never refuses a fill there.
std::uint32_t Win32Desktop::IntegrityLevel(services::WindowHandle window) {
  DWORD processId = GetCurrentProcessId();
  if (window != 0 && GetWindowThreadProcessId(ToHwnd(window), &processId) == 0) {
    return kHighestLevel;
  }
  const ScopedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  HANDLE token = nullptr;
  if (!process || !OpenProcessToken(process.get(), TOKEN_QUERY, &token)) return kHighestLevel;
  const ScopedHandle owned(token);
  alignas(TOKEN_MANDATORY_LABEL) unsigned char label[64];  // the label and a SID of one part
  DWORD size = 0;
  if (!GetTokenInformation(token, TokenIntegrityLevel, label, sizeof(label), &size)) {
    return kHighestLevel;
  }
  // The level is the last part of the label's SID.
  const PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(label)->Label.Sid;
  const UCHAR parts = *GetSidSubAuthorityCount(sid);
  return parts == 0 ? kHighestLevel : *GetSidSubAuthority(sid, parts - 1u);
}

bool Win32Desktop::WindowHung(services::WindowHandle window) {
  const HWND hwnd = ToHwnd(window);
  if (IsHungAppWindow(hwnd)) return true;
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kHungProbeMs,
                             &result) == 0;
}

bool Win32Desktop::Activate(services::WindowHandle window) {
  return ActivateAndSettle(ToHwnd(window), kActivationBound);
}

bool Win32Desktop::ForegroundIsThreadOf(services::WindowHandle window) {
  return IsWindow(ToHwnd(window)) && ForegroundIsThread(ThreadOf(ToHwnd(window)));
}

int Win32Desktop::SystemDpi() {
  return win32::SystemDpi();
}

services::PixelSize Win32Desktop::PrimaryScreen() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

bool Win32Desktop::OnAnyMonitor(const services::PixelRect& rect) {
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  return MonitorFromRect(&r, MONITOR_DEFAULTTONULL) != nullptr;
}

services::WindowHandle Win32Desktop::FindWindowTitled(const std::wstring& title) {
  return FromHwnd(FindWindowW(nullptr, title.c_str()));
}

void Win32Desktop::RestoreAndActivate(services::WindowHandle window) {
  ShowWindow(ToHwnd(window), SW_SHOWNORMAL);
  SetForegroundWindow(ToHwnd(window));
}

bool Win32Desktop::AcquireInstanceLock(const std::wstring& name) {
  ScopedHandle mutex(CreateMutexW(nullptr, FALSE, name.c_str()));
  if (!mutex) return true;  // no lock to be had: do not stop the program for it
  if (GetLastError() == ERROR_ALREADY_EXISTS) return false;
  instanceLocks_.push_back(std::move(mutex));
  return true;
}

void Win32Desktop::Sleep(int milliseconds) {
  ::Sleep(static_cast<DWORD>(std::max(milliseconds, 0)));
}

}  // namespace tw::win32
