// action_driver: many user actions on the running Typewell, for the benchmark's check that GDI
// and USER objects do not grow.
//   action_driver.exe <actions> "<target title>" [all|nofill|edits|drags|options]
// Every action is real mouse input sent with SendInput to the controls' windows of the real
// Typewell.exe (found by control ID like probe.exe), so the whole path runs: the system's input,
// the Win32 backend, the toolkit's rules, the handlers, painting and the files. Each action
// waits (polling, with a bound) for its visible effect before the next one starts. A cycle: a
// fill of target_gui's first field, three page switches, two edits (open, new text, committed
// by a page-tab click) and two drags (an entry to an empty slot and back). "options" runs two
// option changes a cycle (colour and weight, in one visit of the options dialog).
// "nofill" leaves the fill out of the cycle; "edits", "drags" and "options" run only those
// actions (to measure what each one writes). Typewell's Forms.dat must hold an entry in slots 0 and
// 3 and none in slot 10. Prints "actions <n> fills <n> pages <n> edits <n> drags <n> options <n>
// seconds <s>". Exit codes: 0 done, 1 bad arguments, 2 a window is missing, 3 an action had no
// effect in time.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {

using tw::bench::kMainTitle;
using tw::bench::kOptionsTitle;

constexpr int kFirstFieldId = 101;
constexpr double kEffectBoundMs = 5000;
constexpr int kFillSlot = 0;
constexpr int kDragSlot = 3;
constexpr int kEmptySlot = 10;
constexpr int kEditSlots[] = {1, 2};
constexpr int kDragSteps = 4;

class Driver {
 public:
  Driver(HWND main, HWND target) : main_(main), target_(target) {}

  bool fill() {
    HWND first = GetDlgItem(target_, kFirstFieldId);
    HWND second = GetDlgItem(target_, kFirstFieldId + 1);
    if (!click(first) || !poll([&] { return focusOf(target_) == first; })) return false;
    return click(control("FillBtn", kFillSlot)) && poll([&] { return focusOf(target_) == second; });
  }

  bool page(int p) {
    HWND frame = control("Frame", p);
    return click(control("Page", p)) && poll([&] { return IsWindowVisible(frame) != FALSE; });
  }

  bool edit(int slot, const wchar_t* text) {
    HWND box = control("Gettext");
    if (!click(control("Names", slot)) || !poll([&] { return IsWindowVisible(box) != FALSE; })) {
      return false;
    }
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    return click(control("Page", 0)) && poll([&] { return IsWindowVisible(box) == FALSE; });
  }

  bool drag(int from, int to) {
    HWND destination = control("FillBtn", to);
    const POINT start = tw::bench::CentreOf(control("Names", from));
    const POINT end = tw::bench::CentreOf(control("Names", to));
    if (!tw::bench::MoveTo(start) || !tw::bench::LeftDown() || !settled()) return false;
    for (int step = 1; step <= kDragSteps; ++step) {
      const POINT at{start.x + (end.x - start.x) * step / kDragSteps,
                     start.y + (end.y - start.y) * step / kDragSteps};
      if (!tw::bench::MoveTo(at) || !settled()) return false;
    }
    return tw::bench::LeftUp() && settled() &&
           poll([&] { return IsWindowEnabled(destination) != FALSE; });
  }

  bool options(int colour, int weight) {
    if (!click(control("OptionsBtn"))) return false;
    HWND dialog = nullptr;
    if (!poll([&] {
          dialog = FindWindowA(nullptr, kOptionsTitle);
          return dialog != nullptr && IsWindowVisible(dialog);
        })) {
      return false;
    }
    const auto option = [&](const char* name, int index) {
      return tw::bench::ControlWindow(dialog, kOptionsTitle, name, index);
    };
    if (!click(option("ColorOption", colour), dialog) ||
        !click(option("FontOption", weight), dialog) || !click(option("OKBtn", -1), dialog)) {
      return false;
    }
    return poll([&] { return FindWindowA(nullptr, kOptionsTitle) == nullptr; });
  }

 private:
  HWND control(const char* name, int index = -1) const {
    return tw::bench::ControlWindow(main_, kMainTitle, name, index);
  }

  bool settled(HWND window = nullptr) const {
    return tw::bench::WaitProcessed(window ? window : main_);
  }

  bool click(HWND window, HWND owner = nullptr) const {
    if (window == nullptr) return false;
    return tw::bench::MoveTo(tw::bench::CentreOf(window)) && settled(owner) &&
           tw::bench::LeftDown() && settled(owner) && tw::bench::LeftUp() && settled(owner);
  }

  static bool poll(const std::function<bool()>& condition) {
    return tw::bench::PollUntil(condition, kEffectBoundMs);
  }

  static HWND focusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
  }

  HWND main_;
  HWND target_;
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
  // Not yet in the whole mix: the options dialog does not open from SendInput clicks under Wine.
  if (mix == Mix::Options) {
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
      std::fprintf(stderr, "action_driver: a %s had no effect in time (after %d actions)\n", failed,
                   counts.total());
      return 3;
    }
  }
  std::printf("actions %d fills %d pages %d edits %d drags %d options %d seconds %.1f\n",
              counts.total(), counts.fills, counts.pages, counts.edits, counts.drags,
              counts.options, (tw::bench::NowMs() - start) / 1000);
  return 0;
}
