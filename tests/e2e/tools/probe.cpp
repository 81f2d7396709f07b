// probe.exe: reads the screen rectangle and state of a Typewell window or of one of its
// controls, for the end-to-end tests.
//   probe.exe "<window title>" <control name> [index]
//       -> "left top width height visible enabled" of the control's window (screen pixels)
//   probe.exe "<window title>"
//       -> "left top width height clientleft clienttop minimized foreground topmost focus" of
//          the window (topmost: its WS_EX_TOPMOST bit; focus: the control ID of the window of
//          its thread that has the keyboard focus, 0 for none)
// Exit 0 when found, 2 when the window or control is not found, 1 on bad arguments. The
// control's window is found by its control ID, 1000 + its position in the form's enumeration,
// which the probe learns by building the same layout without windows.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "appearance/options_dialog.h"
#include "core/main_window.h"
#include "forms/headless_backend.h"
#include "win32/win32_backend.h"

namespace {

constexpr int kNotFound = 2;

// The position of a control in the enumeration of the form with that title.
std::optional<int> PositionOf(const std::string& title, const std::string& name, int index) {
  tw::forms::HeadlessBackend backend;
  tw::forms::Toolkit toolkit(backend);
  std::unique_ptr<tw::core::MainWindow> main;
  std::unique_ptr<tw::appearance::OptionsDialog> options;
  const tw::forms::Form* form = nullptr;
  if (title == " Typewell") {
    main = std::make_unique<tw::core::MainWindow>(toolkit);
    form = &main->form;
  } else if (title == " Typewell Options") {
    options = std::make_unique<tw::appearance::OptionsDialog>(toolkit);
    form = &options->form;
  } else {
    return std::nullopt;
  }
  for (int i = 0; i < form->controlCount(); ++i) {
    const tw::forms::Control& c = form->controlAt(i);
    if (c.name() == name && c.index() == index) return i;
  }
  return std::nullopt;
}

struct Search {
  int id;
  HWND found;
};

BOOL CALLBACK MatchId(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (GetDlgCtrlID(window) == search->id) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

int FocusedControlId(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return 0;
  if (info.hwndFocus == nullptr || !IsChild(window, info.hwndFocus)) return 0;
  return GetDlgCtrlID(info.hwndFocus);
}

int PrintFormWindow(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const bool topmost = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  std::printf("%ld %ld %ld %ld %ld %ld %d %d %d %d\n", r.left, r.top, r.right - r.left,
              r.bottom - r.top, origin.x, origin.y, IsIconic(window) ? 1 : 0,
              GetForegroundWindow() == window ? 1 : 0, topmost ? 1 : 0, FocusedControlId(window));
  return 0;
}

int PrintControl(HWND window, const std::string& title, const std::string& name, int index) {
  const std::optional<int> position = PositionOf(title, name, index);
  if (!position) return kNotFound;
  Search search{tw::win32::kFirstControlId + *position, nullptr};
  EnumChildWindows(window, MatchId, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) return kNotFound;
  RECT r;
  GetWindowRect(search.found, &r);
  std::printf("%ld %ld %ld %ld %d %d\n", r.left, r.top, r.right - r.left, r.bottom - r.top,
              IsWindowVisible(search.found) ? 1 : 0, IsWindowEnabled(search.found) ? 1 : 0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: probe \"<window title>\" [<control name> [index]]\n");
    return 1;
  }
  const std::string title = argv[1];
  HWND window = FindWindowA(nullptr, title.c_str());
  if (window == nullptr) return kNotFound;
  if (argc == 2) return PrintFormWindow(window);
  const int index = argc == 4 ? std::atoi(argv[3]) : -1;
  const int result = PrintControl(window, title, argv[2], index);
  std::fflush(stdout);
  return result;
}
