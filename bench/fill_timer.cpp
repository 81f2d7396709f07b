// fill_timer: the latency of a fill by the running Typewell, for the benchmark.
//   fill_timer.exe "<target title>" <slot> <count> <text of the entry>
// The target is the e2e helper's target (fields with control IDs 101, 102, ...). Each round,
// with real mouse input (SendInput): a click into the target's first field (the target becomes the
// foreground window, as when the user works in it), a press on Insert of the slot in Typewell, held
// until the target has taken in the loss of its activation (see AwaitActivationTaken), then the
// release. The time runs from just before the release is sent to the moment the target has
// processed the Tab that ends the fill: its keyboard focus has moved to the second field. The
// round counts only when the first field then holds exactly the entry.
// Prints one line "fill_ms <ms>" per round, then "fills <n> median_ms <ms>".
// Exit codes: 0 done, 1 bad arguments, 2 a window is missing, 3 a round did not complete.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench_support.h"
#include "ui/layout.h"
#include "win32/system/ansi_text.h"

namespace {

constexpr int kFirstFieldId = 101;
constexpr double kStepBoundMs = 5000;

using tw::bench::FocusOf;

// The text of another process's edit field (GetWindowText would read only its caption).
std::wstring TextOf(HWND window) {
  wchar_t text[512];
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, tw::bench::kRoundTripBoundMs, &length)) {
    return {};
  }
  return std::wstring(text, static_cast<std::size_t>(length));
}

// Each event waits until the window's thread has processed the one before it: Wine routes a
// press to the window under the pointer it last processed (see MoveOnto).
bool Click(HWND window) {
  const POINT centre = tw::bench::CentreOf(window);
  return tw::bench::MoveOnto(window, centre) && tw::bench::LeftDown(centre) &&
         tw::bench::WaitProcessed(window) && tw::bench::LeftUp(centre) &&
         tw::bench::WaitProcessed(window);
}

// One fill; returns its milliseconds, or a negative number naming the step that failed.
double FillRound(HWND target, HWND first, HWND second, HWND insert, const std::wstring& text) {
  if (!Click(first)) return -1;
  if (!tw::bench::PollUntil(
          [&] { return GetForegroundWindow() == target && FocusOf(target) == first; },
          kStepBoundMs)) {
    std::fprintf(stderr, "fill_timer: foreground %p (target %p), focus %p (first field %p)\n",
                 static_cast<void*>(GetForegroundWindow()), static_cast<void*>(target),
                 static_cast<void*>(FocusOf(target)), static_cast<void*>(first));
    return -2;
  }
  const POINT onInsert = tw::bench::CentreOf(insert);
  if (!tw::bench::MoveOnto(insert, onInsert) || !tw::bench::LeftDown(onInsert)) return -3;
  if (!tw::bench::AwaitActivationTaken(insert, target, kStepBoundMs)) return -4;
  const double start = tw::bench::NowMs();
  if (!tw::bench::LeftUp(onInsert)) return -5;
  if (!tw::bench::PollUntil([&] { return FocusOf(target) == second; }, kStepBoundMs)) return -6;
  const double elapsed = tw::bench::NowMs() - start;
  if (TextOf(first) != text) return -7;
  return elapsed;
}

}  // namespace

int main() {
  const std::vector<std::string> args = tw::bench::Arguments();
  if (args.size() != 4) {
    std::fputs("usage: fill_timer.exe \"<target title>\" <slot> <count> <text>\n", stderr);
    return 1;
  }
  HWND target = FindWindowA(nullptr, args[0].c_str());
  HWND main = FindWindowA(nullptr, tw::bench::kMainTitle);
  HWND first = target ? GetDlgItem(target, kFirstFieldId) : nullptr;
  HWND second = target ? GetDlgItem(target, kFirstFieldId + 1) : nullptr;
  HWND insert = tw::bench::ControlWindow(main, tw::ui::kFirstInsertButtonId + std::stoi(args[1]));
  if (!first || !second || !insert) {
    std::fputs("fill_timer: the target's fields or Typewell's Insert button are missing\n", stderr);
    return 2;
  }
  const int count = std::stoi(args[2]);
  const std::wstring text = tw::win32::AnsiToWide(args[3]);
  std::vector<double> times;
  for (int i = 0; i < count; ++i) {
    const double ms = FillRound(target, first, second, insert, text);
    if (ms < 0) {
      std::fprintf(stderr, "fill_timer: round %d failed at step %d\n", i + 1,
                   static_cast<int>(-ms));
      return 3;
    }
    std::printf("fill_ms %.2f\n", ms);
    times.push_back(ms);
  }
  std::printf("fills %d median_ms %.2f\n", count, tw::bench::Median(times));
  return 0;
}
