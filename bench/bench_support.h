// Shared pieces of the benchmark's Windows helper programs: finding Typewell's windows and the
// window of one of its controls, real mouse and key input through SendInput, waiting until a
// window's thread has processed what was sent, a log of what the windows show, and a
// high-resolution clock.
#pragma once

#include <windows.h>

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tw::bench {

inline constexpr char kMainTitle[] = " Typewell";
inline constexpr char kOptionsTitle[] = " Typewell Options";
inline constexpr UINT kRoundTripBoundMs = 2000;

// Milliseconds on the performance counter, comparable within one process.
double NowMs();

// The window of the control of that ID in a window of Typewell (the IDs of src/ui/layout.h).
HWND ControlWindow(HWND window, int id);

// Whether Typewell's drag outline is on the screen, with its rectangle.
bool DragOutlineShown(RECT& rect);

// The screen point at the centre of a window.
POINT CentreOf(HWND window);

// Real mouse input: the pointer moved to the point, the left button pressed or released there.
bool MoveTo(POINT screen);
bool LeftDown(POINT screen);
bool LeftUp(POINT screen);
// Shift+Tab pressed and released, as real key input.
bool ShiftTab();

// A round trip to the display server. Under Wine, once it returns, the X server has carried out
// what this and other programs had handed it before (a move of the pointer, of the input focus)
// and sent out the events that those cause.
void DisplayRoundTrip();

// The pointer moved to the point, once the thread of the window has read the events that the
// window system sent it until then. Under Wine a thread reads the X server's pointer events only
// when it waits for messages, and makes each a pointer move to where the pointer was then: read
// after a press or release that follows (a busy machine delays them), such a move to an earlier
// place would drag what was pressed, or drop it there. A round trip wakes the waiting thread,
// which reads them first.
bool MoveOnto(HWND window, POINT screen);

// The window that holds the mouse capture, the keyboard focus or the activation in the thread of
// the window (nullptr for none).
HWND CaptureOf(HWND window);
HWND FocusOf(HWND window);
HWND ActiveOf(HWND window);

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

// What Typewell's and the target's windows show while a driver waits, each change with its time:
// the last ones tell where a run stopped.
class StateLog {
 public:
  StateLog(HWND main, HWND target) : main_(main), target_(target) {}
  void Look();  // notes the state when it changed
  void Mark(const std::string& event);
  void Print();  // the state now and the notes before, to the standard error

  // Polls as tw::bench::PollUntil does, looking at the state each time.
  template <typename Condition>
  bool PollUntil(Condition condition, double boundMs) {
    return bench::PollUntil(
        [&] {
          Look();
          return condition();
        },
        boundMs);
  }

 private:
  void Note(std::string line);

  HWND main_;
  HWND target_;
  std::deque<std::pair<double, std::string>> notes_;
};

// Returns once a press on a control has taken the activation from another program's window that
// was in front (a press on Typewell from the program a fill goes to, or the other way round): the
// control holds the capture in the foreground window, and the other program's thread has read the
// loss of its activation, after a round trip to the display server. Under Wine that
// program learns of the loss of the X input focus from events that it reads only when it next waits
// for messages; read once it is activated again (by a fill, or by the next press), they hand the
// foreground to the desktop window, and a fill's keys to no window. A hand's press lasts long
// enough for them. The log, if any, looks at each poll.
bool AwaitActivationTaken(HWND control, HWND from, double boundMs, StateLog* log = nullptr);

// The median of the values (0 when there are none).
double Median(std::vector<double> values);

// The command-line arguments as UTF-8-free ANSI strings, without the program's name.
std::vector<std::string> Arguments();

}  // namespace tw::bench
