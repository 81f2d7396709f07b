// fill_floor: the least a fill can cost, the benchmark's yardstick for Typewell's fill.
//   fill_floor.exe "<target title>" <text> <count>
// Fills the focused field of the window with that title <count> times the way Typewell does:
// the text on the clipboard, the window activated, held modifiers released, "{HOME}", "+{END}",
// "{BACKSPACE}", "+{INSERT}" sent each waiting until processed, then "{TAB}". The time of a fill
// ends when the target has processed the Tab. Prints "fills <n> median_ms <ms>".
// Exit codes: 0 done, 1 bad arguments, 2 no such window, 3 the target did not take the keys in
// time (hung) or the input was refused, 4 the clipboard could not be written.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_support.h"
#include "win32/window_system_win32.h"

namespace {

using tw::platform::KeyWait;
using tw::platform::SendResult;
using tw::platform::WindowHandle;

constexpr UINT kTabBoundMs = 1000;

// Waits until the target's thread has taken the keys sent so far (the second round trip is
// answered only after the messages queued before the first one have been processed).
bool WaitProcessed(WindowHandle target) {
  for (int i = 0; i < 2; ++i) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(tw::win32::ToHwnd(target), WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                             kTabBoundMs, &result)) {
      return false;
    }
  }
  return true;
}

int FillOnce(tw::win32::Win32WindowSystem& windows, WindowHandle target, const std::string& text) {
  if (!windows.setClipboardText(text)) return 4;
  windows.setForegroundWindow(target);
  windows.doEvents();
  windows.releaseHeldModifiers();
  for (const char* keys : {"{HOME}", "+{END}", "{BACKSPACE}", "+{INSERT}"}) {
    if (windows.sendKeys(keys, KeyWait::Yes, target) != SendResult::Delivered) return 3;
  }
  if (windows.sendKeys("{TAB}", KeyWait::No, target) != SendResult::Delivered) return 3;
  return WaitProcessed(target) ? 0 : 3;
}

}  // namespace

int main() {
  const std::vector<std::string> args = tw::bench::Arguments();
  if (args.size() != 3) {
    std::fputs("usage: fill_floor.exe \"<target title>\" <text> <count>\n", stderr);
    return 1;
  }
  const std::string& title = args[0];
  const std::string& text = args[1];
  const int count = std::max(1, std::atoi(args[2].c_str()));

  tw::win32::Win32WindowSystem windows;
  const WindowHandle target = windows.findWindow(title);
  if (target == 0) {
    std::fputs("fill_floor: no window with that title\n", stderr);
    return 2;
  }
  std::vector<double> milliseconds;
  for (int i = 0; i < count; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (const int failure = FillOnce(windows, target, text)) {
      std::fprintf(stderr, "fill_floor: fill %d failed (%d)\n", i + 1, failure);
      return failure;
    }
    milliseconds.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(milliseconds.begin(), milliseconds.end());
  const std::size_t mid = milliseconds.size() / 2;
  const double median =
      milliseconds.size() % 2 ? milliseconds[mid] : (milliseconds[mid - 1] + milliseconds[mid]) / 2;
  std::printf("fills %d median_ms %.2f\n", count, median);
  return 0;
}
