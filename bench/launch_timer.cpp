// launch_timer: the start-up time of a window program, for the benchmark.
//   launch_timer.exe <program.exe> "<window title>"
// Moves the pointer to the screen's corner, starts the program in its own folder and measures, on
// the performance counter, the time from just before CreateProcess to the moment its window with
// that title is shown and its thread is idle: the window exists, is visible, WaitForInputIdle has
// returned and the thread has answered two WM_NULL round trips (so it is pumping messages with
// nothing left before them). Then it closes the window (WM_CLOSE) and waits for the process to end.
// Prints "startup_ms <ms>". Exit codes: 0 measured, 1 bad arguments or the start failed, 2 the
// window was not shown within 30 s, 3 the program did not end within 10 s after WM_CLOSE (it is
// then terminated).
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench_support.h"
#include "win32/system/ansi_text.h"

namespace {

constexpr double kShowBoundMs = 30000;
constexpr DWORD kExitBoundMs = 10000;

struct ProcessHandles {
  PROCESS_INFORMATION info{};
  ~ProcessHandles() {
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
  }
};

struct WindowSearch {
  const std::wstring* title;
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchShownWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  wchar_t text[128];
  GetWindowTextW(window, text, 128);
  if (*search->title != text) return TRUE;
  search->found = window;
  return FALSE;
}

HWND ShownWindowOf(DWORD processId, const std::wstring& title) {
  WindowSearch search{&title, processId, nullptr};
  EnumWindows(MatchShownWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring FolderOf(const std::wstring& path) {
  const auto cut = path.find_last_of(L"\\/");
  return cut == std::wstring::npos ? std::wstring(L".") : path.substr(0, cut);
}

}  // namespace

int main() {
  const std::vector<std::string> args = tw::bench::Arguments();
  if (args.size() != 2) {
    std::fputs("usage: launch_timer.exe <program.exe> \"<window title>\"\n", stderr);
    return 1;
  }
  const std::wstring program = tw::win32::AnsiToWide(args[0]);
  const std::wstring title = tw::win32::AnsiToWide(args[1]);
  const std::wstring folder = FolderOf(program);
  std::wstring commandLine = L"\"" + program + L"\"";

  // The pointer away from where the window opens (the screen's centre): resting over a control
  // with a tool tip it would bring that tip up while the start is measured.
  POINT pointer{};
  if (!SetCursorPos(0, 0) ||
      !tw::bench::PollUntil(
          [&] { return GetCursorPos(&pointer) && pointer.x == 0 && pointer.y == 0; },
          kShowBoundMs)) {
    std::fputs("launch_timer: cannot move the pointer out of the way\n", stderr);
    return 1;
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  ProcessHandles process;
  const double start = tw::bench::NowMs();
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process.info)) {
    std::fprintf(stderr, "launch_timer: cannot start the program (error %lu)\n", GetLastError());
    return 1;
  }
  HWND window = nullptr;
  const bool shown = tw::bench::PollUntil(
      [&] { return (window = ShownWindowOf(process.info.dwProcessId, title)) != nullptr; },
      kShowBoundMs);
  if (!shown) {
    TerminateProcess(process.info.hProcess, 1);
    std::fputs("launch_timer: the window was not shown in time\n", stderr);
    return 2;
  }
  WaitForInputIdle(process.info.hProcess, static_cast<DWORD>(kShowBoundMs));
  const bool idle = tw::bench::WaitProcessed(window);
  const double elapsed = tw::bench::NowMs() - start;
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.info.hProcess, kExitBoundMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.info.hProcess, 1);
    std::fputs("launch_timer: the program did not end after WM_CLOSE\n", stderr);
    return 3;
  }
  if (!idle) {
    std::fputs("launch_timer: the window's thread did not answer\n", stderr);
    return 2;
  }
  std::printf("startup_ms %.2f\n", elapsed);
  return 0;
}
