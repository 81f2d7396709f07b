// events_gui.exe <log file>: the main window's layout (titled " Typewell", so that probe.exe
// finds its controls) realised with the Win32 forms backend, with no program behind it. Every
// toolkit event of its controls is appended to the log as one line, for tests that drive the
// window with real input:
//   down|up <name> <index> button=<b> shift=<s>     move <name> <index> buttons=<b>
//   click <name> <index>    lostfocus <name> <index>
//   dragover <name> <index> source=<name> <index> state=enter|leave|over
//   drop <name> <index> source=<name> <index>
// A press and move with the left button on an entry label begins a manual drag of it.
// FillBtn(5) is disabled; "ready" is logged once the window is shown.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "core/main_window.h"
#include "forms/toolkit.h"
#include "win32/win32_backend.h"

namespace {

using tw::forms::Control;

class EventLog {
 public:
  explicit EventLog(const char* path) : file_(std::fopen(path, "w")) {}
  ~EventLog() {
    if (file_ != nullptr) std::fclose(file_);
  }
  EventLog(const EventLog&) = delete;
  EventLog& operator=(const EventLog&) = delete;
  explicit operator bool() const { return file_ != nullptr; }
  void line(const std::string& text) {
    std::fputs((text + "\n").c_str(), file_);
    std::fflush(file_);
  }

 private:
  std::FILE* file_;
};

std::string NameOf(const Control& c) {
  return c.name() + " " + std::to_string(c.index());
}

const char* StateName(tw::forms::DragState state) {
  switch (state) {
    case tw::forms::DragState::Enter:
      return "enter";
    case tw::forms::DragState::Leave:
      return "leave";
    case tw::forms::DragState::Over:
      break;
  }
  return "over";
}

void LogEvents(Control& c, EventLog& log) {
  const std::string name = NameOf(c);
  c.onMouseDown = [&log, name](const tw::forms::MouseEvent& e) {
    log.line("down " + name + " button=" + std::to_string(e.button) +
             " shift=" + std::to_string(e.shift));
  };
  c.onMouseUp = [&log, name](const tw::forms::MouseEvent& e) {
    log.line("up " + name + " button=" + std::to_string(e.button) +
             " shift=" + std::to_string(e.shift));
  };
  c.onMouseMove = [&log, name, &c](const tw::forms::MouseEvent& e) {
    if (e.button == 0) return;  // moves with no button held would flood the log
    log.line("move " + name + " buttons=" + std::to_string(e.button));
    if (c.name() == "Names" && e.button == tw::forms::kLeftButton && !c.form().dragging()) {
      c.beginDrag();
    }
  };
  c.onClick = [&log, name](int) { log.line("click " + name); };
  c.onLostFocus = [&log, name](int) { log.line("lostfocus " + name); };
  c.onDragOver = [&log, name](const tw::forms::DragEvent& e) {
    log.line("dragover " + name + " source=" + NameOf(*e.source) + " state=" + StateName(e.state));
  };
  c.onDragDrop = [&log, name](const tw::forms::DragEvent& e) {
    log.line("drop " + name + " source=" + NameOf(*e.source));
  };
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (__argc != 2) return 1;
  EventLog log(__argv[1]);
  if (!log) return 1;
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  tw::win32::Win32Backend backend(instance);
  tw::forms::Toolkit toolkit(backend);
  tw::core::MainWindow main(toolkit);
  for (int i = 0; i < main.form.controlCount(); ++i) LogEvents(main.form.controlAt(i), log);
  for (int s = 0; s < 15; ++s) main.Names[s]->setCaption("Entry " + std::to_string(s));
  main.FillBtn[5]->setEnabled(false);
  main.Page[0]->setSelected(true);
  main.form.setCaption(" Typewell");
  main.form.setLeft(1500);
  main.form.setTop(1500);
  main.form.onUnload = [] { PostQuitMessage(0); };
  main.form.setWindowState(tw::forms::WindowState::Normal);
  main.form.show();
  log.line("ready");
  return tw::win32::RunMessageLoop();
}
