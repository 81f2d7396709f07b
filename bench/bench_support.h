// Shared pieces of the benchmark's Windows helper programs: finding Typewell's windows and the
// window of one of its controls, real mouse input through SendInput, waiting until a window's
// thread has processed what was sent, and a high-resolution clock.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tw::bench {

inline constexpr char kMainTitle[] = " Typewell";
inline constexpr char kOptionsTitle[] = " Typewell Options";
inline constexpr UINT kRoundTripBoundMs = 2000;

// Milliseconds on the performance counter, comparable within one process.
double NowMs();

// The window of the control of that ID in a window of Typewell (the IDs of src/ui/layout.h).
HWND ControlWindow(HWND window, int id);

// The screen point at the centre of a window.
POINT CentreOf(HWND window);

// Real mouse input: the pointer moved to the point, the left button pressed or released there.
bool MoveTo(POINT screen);
bool LeftDown(POINT screen);
bool LeftUp(POINT screen);

// The window that holds the mouse capture of the thread of the window (nullptr for none).
HWND CaptureOf(HWND window);

// Returns once the thread of the window has answered two round trips of WM_NULL, or false when
// it did not answer within the bound. A sent message is handled before queued input, so this
// does not prove that earlier input was processed: wait for the input's own effect for that.
bool WaitProcessed(HWND window);

// Polls the condition every millisecond until it holds or the bound runs out.
template <typename Condition>
bool PollUntil(Condition condition, double boundMs) {
  const double end = NowMs() + boundMs;
  while (!condition()) {
    if (NowMs() >= end) return false;
    Sleep(1);
  }
  return true;
}

// The median of the values (0 when there are none).
double Median(std::vector<double> values);

// The command-line arguments as UTF-8-free ANSI strings, without the program's name.
std::vector<std::string> Arguments();

}  // namespace tw::bench
