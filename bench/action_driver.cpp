// action_driver: many user actions on the running Typewell, for the benchmark's check that GDI
// and USER objects do not grow.
//   action_driver.exe <actions> "<target title>" [all|nofill|edits|drags|options]
// Every action is real mouse input sent with SendInput to the controls' windows of the real
// Typewell.exe (found by control ID like the e2e helper's probe), so the whole path runs: the
// system's input, the Win32 backend, the toolkit's rules, the handlers, painting and the files.
// Each action waits (polling, with a bound) for its visible effect before the next one starts, and
// so does each press, move and release within it (a sent message would be answered before queued
// input, so a WM_NULL round trip proves nothing about it). A cycle: a fill of the target's first
// field, three page switches, two edits (open, new text, committed by a page-tab click), two drags
// (an entry to an empty slot and back) and two option changes (colour and weight, in one visit of
// the options dialog). "nofill" leaves the fill out of the cycle; "edits", "drags" and "options"
// run only those actions (to measure what each one writes). Typewell's Forms.dat must hold an entry
// in slots 0 and 3 and none in slot 10. Prints "actions <n> fills <n> pages <n> edits <n> drags <n>
// options <n> seconds <s>". Exit codes: 0 done, 1 bad arguments, 2 a window is missing, 3 an action
// had no effect in time (what the windows showed before is printed).
#include <windows.h>

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bench_support.h"
#include "ui/layout.h"

namespace {

namespace ui = tw::ui;
using tw::bench::kMainTitle;
using tw::bench::kOptionsTitle;

constexpr int kFirstFieldId = 101;
constexpr double kEffectBoundMs = 5000;
constexpr int kFillSlot = 0;
constexpr int kDragSlot = 3;
constexpr int kEmptySlot = 10;
constexpr int kEditSlots[] = {1, 2};
constexpr int kDragSteps = 4;
constexpr int kMoveAttempts = 5;

class Driver {
 public:
  Driver(HWND main, HWND target) : main_(main), target_(target), log_(main, target) {}

  // A fill of the target's first field. The click into that field makes the target the
  // foreground window; under Wine the field that had the focus before sometimes keeps it after
  // that click (the activation gives it back), so Shift+Tab then moves back to the first field,
  // as a user would. Each of the two clicks moves the activation from one program to the other.
  bool fill() {
    HWND first = GetDlgItem(target_, kFirstFieldId);
    HWND second = GetDlgItem(target_, kFirstFieldId + 1);
    step_ = "the click into the target's first field";
    if (!click(first, main_)) return false;
    step_ = "the focus to reach the first field";
    if (tw::bench::FocusOf(target_) != first &&
        (!tw::bench::ShiftTab() || !poll([&] { return tw::bench::FocusOf(target_) == first; }))) {
      return false;
    }
    step_ = "the fill to move the focus to the second field";
    // The target also settles the activation the fill gave it (Wine hands the X input focus
    // over through events the target reads when it next looks at its queue).
    return click(control(ui::kFirstInsertButtonId + kFillSlot), target_) &&
           poll([&] { return tw::bench::FocusOf(target_) == second; }) &&
           tw::bench::WaitProcessed(target_) && tw::bench::WaitProcessed(main_);
  }

  // The step of the action that had no effect in time.
  const char* failedStep() const { return step_; }

  // What the windows showed while the driver waited, up to the action that had no effect.
  void printLog() { log_.Print(); }

  bool page(int p) {
    step_ = "the page to show";
    return click(control(ui::kFirstPageTabId + p)) && poll([&] {
             HWND frame = control(ui::kFirstPageId + p);
             return frame != nullptr && IsWindowVisible(frame) != FALSE;
           });
  }

  bool edit(int slot, const wchar_t* text) {
    step_ = "the edit box to open and close";
    HWND box = control(ui::kEditBoxId);
    if (!click(control(ui::kFirstEntryLabelId + slot)) ||
        !poll([&] { return IsWindowVisible(box) != FALSE; })) {
      return false;
    }
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    return click(control(ui::kFirstPageTabId)) &&
           poll([&] { return IsWindowVisible(box) == FALSE; });
  }

  // A drag in the steps a hand makes: each event waits for its own effect, since the handlers
  // run pending events themselves (a release already queued when the drag would begin makes
  // that press a plain click). The press has taken the capture; the first move shows the drag
  // outline, each further move moves it; the release hides it and enables the destination.
  bool drag(int from, int to) {
    HWND source = control(ui::kFirstEntryLabelId + from);
    HWND destination = control(ui::kFirstInsertButtonId + to);
    const POINT start = tw::bench::CentreOf(source);
    const POINT end = tw::bench::CentreOf(control(ui::kFirstEntryLabelId + to));
    step_ = "the press to take the capture";
    if (!tw::bench::MoveOnto(source, start) || !tw::bench::LeftDown(start) || !poll([&] {
          return tw::bench::CaptureOf(main_) == source && GetForegroundWindow() == main_;
        })) {
      return false;
    }
    RECT outline{};
    for (int step = 1; step <= kDragSteps; ++step) {
      const POINT at{start.x + (end.x - start.x) * step / kDragSteps,
                     start.y + (end.y - start.y) * step / kDragSteps};
      const RECT before = outline;
      step_ = step == 1 ? "the first move to show the outline" : "a move to move the outline";
      if (!moveUntil(at, [&] {
            return tw::bench::DragOutlineShown(outline) &&
                   (step == 1 || !EqualRect(&outline, &before));
          })) {
        return false;
      }
    }
    step_ = "the release to hide the outline and enable the destination";
    return tw::bench::MoveOnto(main_, end) && tw::bench::LeftUp(end) && poll([&] {
             return !tw::bench::DragOutlineShown(outline) && IsWindowEnabled(destination) != FALSE;
           });
  }

  // The dialog is shown when its thread first waits for messages, and under Wine it is put on
  // the screen only then, after it has become visible: until its thread had done that, a press
  // at its place went to the window below (the main window, disabled while the dialog is open).
  bool options(int colour, int weight) {
    step_ = "the click on Options to open the dialog";
    if (!click(control(ui::kOptionsButtonId))) return false;
    HWND dialog = nullptr;
    if (!poll([&] {
          dialog = FindWindowA(nullptr, kOptionsTitle);
          return dialog != nullptr && IsWindowVisible(dialog);
        }) ||
        !tw::bench::WaitProcessed(dialog)) {
      return false;
    }
    step_ = "a click in the dialog";
    const auto option = [&](int id) { return tw::bench::ControlWindow(dialog, id); };
    if (!click(option(ui::kFirstColourOptionId + colour)) ||
        !click(option(ui::kFirstFontOptionId + weight)) || !click(option(ui::kOkButtonId))) {
      return false;
    }
    return poll([&] { return FindWindowA(nullptr, kOptionsTitle) == nullptr; });
  }

 private:
  // Found once. A window not made yet (on a page not shown yet) is looked for again next time.
  HWND control(int id) {
    auto known = controls_.find(id);
    if (known != controls_.end()) return known->second;
    HWND window = tw::bench::ControlWindow(main_, id);
    if (window != nullptr) controls_.emplace(id, window);
    return window;
  }

  // A click whose press and release each wait until the window's thread has processed them:
  // the press gives the window the capture, the release takes it back. A press that takes the
  // activation from another program's window (from) lasts until that one has taken it in.
  bool click(HWND window, HWND from = nullptr) {
    if (window == nullptr) return false;
    const POINT centre = tw::bench::CentreOf(window);
    log_.Mark("click on " + std::to_string(GetDlgCtrlID(window)));
    return tw::bench::MoveOnto(window, centre) && tw::bench::LeftDown(centre) &&
           (from != nullptr ? tw::bench::AwaitActivationTaken(window, from, kEffectBoundMs, &log_)
                            : poll([&] { return tw::bench::CaptureOf(window) == window; })) &&
           tw::bench::LeftUp(centre) &&
           poll([&] { return tw::bench::CaptureOf(window) != window; });
  }

  // A move of the pointer while the button is held, until it has its effect. Under Wine a move
  // sent right after the press is now and then merged away with the move the press itself made,
  // and the window sees no move at all: the move is sent again, one pixel aside and back, as a
  // hand that keeps moving would.
  bool moveUntil(POINT at, const std::function<bool()>& effect) {
    for (int attempt = 0; attempt < kMoveAttempts; ++attempt) {
      if (attempt > 0 && !tw::bench::MoveOnto(main_, {at.x + 1, at.y})) return false;
      if (!tw::bench::MoveOnto(main_, at)) return false;
      if (poll(effect, kEffectBoundMs / kMoveAttempts)) return true;
    }
    return false;
  }

  bool poll(const std::function<bool()>& condition, double boundMs = kEffectBoundMs) {
    return log_.PollUntil(condition, boundMs);
  }

  HWND main_;
  HWND target_;
  tw::bench::StateLog log_;
  const char* step_ = "";
  std::map<int, HWND> controls_;
};

struct Counts {
  int fills = 0, pages = 0, edits = 0, drags = 0, options = 0;
  int total() const { return fills + pages + edits + drags + options; }
};

enum class Mix { All, NoFill, Edits, Drags, Options };

// One cycle of actions of the mix (ten for the whole mix); stops at the first that fails and
// names it.
const char* Cycle(Driver& driver, Mix mix, int cycle, Counts& counts) {
  if (mix == Mix::All) {
    if (!driver.fill()) return "fill";
    ++counts.fills;
  }
  if (mix == Mix::All || mix == Mix::NoFill) {
    for (int p : {1, 2, 0}) {
      if (!driver.page(p)) return "page switch";
      ++counts.pages;
    }
  }
  if (mix == Mix::All || mix == Mix::NoFill || mix == Mix::Edits) {
    for (int slot : kEditSlots) {
      if (!driver.edit(slot, cycle % 2 ? L"edited text one" : L"edited text two")) return "edit";
      ++counts.edits;
    }
  }
  if (mix == Mix::All || mix == Mix::NoFill || mix == Mix::Drags) {
    if (!driver.drag(kDragSlot, kEmptySlot) || !driver.drag(kEmptySlot, kDragSlot)) return "drag";
    counts.drags += 2;
  }
  if (mix == Mix::All || mix == Mix::Options) {
    if (!driver.options(cycle % 4, cycle % 2)) return "option change";
    counts.options += 2;
  }
  return nullptr;
}

std::optional<Mix> MixNamed(const std::string& name) {
  if (name == "all") return Mix::All;
  if (name == "nofill") return Mix::NoFill;
  if (name == "edits") return Mix::Edits;
  if (name == "drags") return Mix::Drags;
  if (name == "options") return Mix::Options;
  return std::nullopt;
}

}  // namespace

int main() {
  const std::vector<std::string> args = tw::bench::Arguments();
  const std::optional<Mix> mix = MixNamed(args.size() == 3 ? args[2] : "all");
  if ((args.size() != 2 && args.size() != 3) || !mix) {
    std::fputs(
        "usage: action_driver.exe <actions> \"<target title>\" [all|nofill|edits|drags|options]\n",
        stderr);
    return 1;
  }
  const int actions = std::stoi(args[0]);
  HWND main = FindWindowA(nullptr, kMainTitle);
  HWND target = FindWindowA(nullptr, args[1].c_str());
  if (main == nullptr || target == nullptr) {
    std::fputs("action_driver: Typewell or the target is not running\n", stderr);
    return 2;
  }
  Driver driver(main, target);
  Counts counts;
  const double start = tw::bench::NowMs();
  for (int cycle = 0; counts.total() < actions; ++cycle) {
    if (const char* failed = Cycle(driver, *mix, cycle, counts)) {
      POINT cursor{};
      GetCursorPos(&cursor);
      tw::bench::LeftUp(cursor);  // no button left held for whatever runs next
      std::fprintf(stderr, "action_driver: a %s had no effect in time (after %d actions; %s)\n",
                   failed, counts.total(), driver.failedStep());
      driver.printLog();
      return 3;
    }
  }
  std::printf("actions %d fills %d pages %d edits %d drags %d options %d seconds %.1f\n",
              counts.total(), counts.fills, counts.pages, counts.edits, counts.drags,
              counts.options, (tw::bench::NowMs() - start) / 1000);
  return 0;
}
