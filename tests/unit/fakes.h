// Fakes of the services and of the main window for the unit tests, as unkind as Windows: keys
// go to the foreground window, a message box takes the focus and the mouse capture and runs a
// message loop that dispatches what was posted meanwhile. They keep what the user or another
// program would see: the window's labels, edit box, page and drag outline, the other program's
// fields (the typing fake plays their part, key by key), the clipboard, the messages shown.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "services/desktop.h"
#include "services/key_groups.h"
#include "services/messages.h"
#include "services/shell.h"
#include "store/entry_file.h"
#include "ui/main_view.h"

namespace tw::test {

using services::WindowHandle;

struct FakeDesktop : services::Desktop {
  WindowHandle foreground = 0;
  std::set<WindowHandle> own, gone, hung;
  std::map<WindowHandle, std::wstring> titles;
  std::map<WindowHandle, services::WindowFacts> facts;
  std::map<WindowHandle, std::uint32_t> integrity;  // of Typewell's own process at 0
  ui::MainWindowEvents* events = nullptr;           // told of a window brought to front
  bool activationRefused = false;
  int systemDpi = 96;
  WindowHandle running = 0;  // a window titled " Typewell" of another instance
  std::vector<WindowHandle> restored;
  bool lockTaken = false;
  int sleptMs = 0;
  std::function<void()> whileSleeping;

  // The window comes to the front, and the system's hook tells Typewell at once (of the shell's
  // windows too, on the way to Typewell).
  void BringToFront(WindowHandle w) { events->OnForegroundChanged(foreground = w); }
  WindowHandle ForegroundWindow() override { return foreground; }
  bool IsOwnWindow(WindowHandle w) override { return own.contains(w); }
  std::wstring WindowTitle(WindowHandle w) override { return WindowExists(w) ? titles[w] : L""; }
  bool WindowExists(WindowHandle w) override { return w != 0 && !gone.contains(w); }
  services::WindowFacts Facts(WindowHandle w) override { return facts[w]; }
  std::uint32_t IntegrityLevel(WindowHandle w) override { return integrity[w]; }
  bool WindowHung(WindowHandle w) override { return hung.contains(w); }
  bool Activate(WindowHandle w) override {
    if (!activationRefused && WindowExists(w)) foreground = w;
    return foreground == w;
  }
  bool ForegroundIsThreadOf(WindowHandle w) override { return foreground == w; }
  int SystemDpi() override { return systemDpi; }
  services::PixelSize PrimaryScreen() override { return {1280, 1024}; }
  bool OnAnyMonitor(const services::PixelRect& r) override {  // one monitor of 1280 × 1024
    return r.left < 1280 && r.right > 0 && r.top < 1024 && r.bottom > 0;
  }
  WindowHandle FindWindowTitled(const std::wstring& title) override {
    return title == L" Typewell" ? running : 0;
  }
  void RestoreAndActivate(WindowHandle w) override { restored.push_back(w); }
  bool AcquireInstanceLock(const std::wstring&) override { return !lockTaken; }
  void Sleep(int ms) override {
    sleptMs += ms;
    if (whileSleeping) whileSleeping();
  }
};

// Another program's form: single-line fields, one of them focused, that take the strokes sent to
// their window as an edit control would (Home, Shift+End, Backspace, Shift+Insert, Tab).
struct FakeForm {
  std::vector<std::string> fields{"", "", ""};
  int focus = 0;
  std::size_t caret = std::string::npos, anchor = caret;  // at the end, where a click left it
  // Shift as the system holds it when the key is handled (as GetAsyncKeyState tells it).
  void Take(const services::KeyStroke& k, const std::string& clipboard, bool shift);
};

// Types through the loop of the real typing (services/key_groups.h): the keys reach the window
// in front when they are sent, whatever the caller meant, and the user may act after each group
// (the desktop's whileSleeping).
struct FakeTyping : services::Typing, private services::KeyTypist {
  explicit FakeTyping(FakeDesktop& desktop) : desktop_(desktop) {}
  std::string clipboard;
  int clipboardFailures = 0;    // the next n attempts fail
  int refusedGroups = 0;        // the system refuses the next n groups of keys
  std::set<WindowHandle> slow;  // they take keys later than Send waits
  std::set<std::uint8_t> held;  // the keys down in the system's key state
  std::map<WindowHandle, FakeForm> forms;
  int modifierReleases = 0, waitsForEarlierKeys = 0;

  bool PutOnClipboard(const std::string& text) override;
  void ReleaseHeldModifiers() override { ++modifierReleases; }
  services::KeysSent Send(std::span<const services::KeyStroke> strokes,
                          WindowHandle target) override {
    target_ = target;
    return services::TypeInGroups(strokes, *this);
  }
  services::KeysSent AwaitTaken(WindowHandle target) override {
    ++waitsForEarlierKeys;
    return slow.contains(target) ? services::KeysSent::TimedOut : services::KeysSent::Taken;
  }

 private:
  bool TargetActive() override { return desktop_.ForegroundIsThreadOf(target_); }
  bool SendGroup(std::span<const services::KeyStroke> group) override {
    if (refusedGroups-- > 0) return false;
    // The group's keys are in the system's key state before the target handles the first.
    for (const auto& k : group) k.up ? held.erase(k.virtualKey) : held.insert(k.virtualKey).second;
    for (const auto& k : group) forms[desktop_.foreground].Take(k, clipboard, held.contains(0x10));
    desktop_.Sleep(0);  // time passes: the user may act
    return true;
  }
  bool AwaitGroupTaken(bool) override { return !slow.contains(target_); }

  FakeDesktop& desktop_;
  WindowHandle target_ = 0;
};

struct FakeShell : services::Shell {
  std::optional<std::wstring> browser;
  std::vector<std::wstring> started;
  std::optional<std::wstring> FindExecutable(const std::wstring&, const std::wstring&) override {
    return browser;
  }
  void StartProgram(const std::wstring& commandLine) override { started.push_back(commandLine); }
};

// A message box runs modalLoop while it is up.
struct FakeMessages : services::Messages {
  std::vector<std::wstring> reports, questions, notices;
  std::deque<services::CloseAnswer> answers;  // to each question in turn; then Cancel
  std::function<void()> modalLoop;
  void Report(const std::wstring& message) override;
  services::CloseAnswer AskAtClose(const std::wstring& message) override;
  void Notify(const std::wstring& message) override { notices.push_back(message); }
};

enum class Focus { EditBox, Label, Box, Elsewhere };

// The main window, reporting to events as the real one does: the user's hand (Press, Move,
// Release) and the message loop of a box (RunModalLoop).
struct FakeMainView : ui::MainView {
  ui::MainWindowEvents* events = nullptr;
  std::array<std::string, store::kSlotCount> entries;  // what the labels show
  bool hint = false;
  int page = 0;
  std::optional<int> editSlot;               // the edit box over this slot's label
  std::string editText;                      // what the edit box holds (the user types here)
  bool pressHeld = false;                    // a press on a label, the mouse captured
  bool outline = false;                      // the drag outline on the screen
  std::deque<std::function<void()>> posted;  // messages posted to the window
  ui::Rgb labelColour{255, 255, 255};
  bool bold = false;
  Focus focus = Focus::Elsewhere;
  std::optional<bool> shownMinimized;  // how the window was first shown
  bool minimized = true;
  services::PixelRect place{0, 0, 194, 414};
  int dpi = 96;
  std::function<void(ui::OptionsEvents&)> optionsDialog;  // what the user does in the dialog

  void Press(int slot, ui::Point at);
  void Move(int slot, ui::Point at, bool leftAlone = true);
  // The release of the press, over an entry label or elsewhere.
  void Release(int pressed, std::optional<int> over);
  // A box opens: it takes the focus and the capture, and dispatches what was posted and a tick.
  void RunModalLoop();
  void Dispatch();

  void ShowEntry(int slot) override { entries.at(slot) = events->EntryText(slot); }
  void ShowHint() override { hint = true; }
  bool ShowPage(int p) override {
    page = p;
    return true;
  }
  void OpenEditBox(int slot, const std::string& text) override;
  std::string EditBoxText() const override { return editText; }
  void CloseEditBox(int slot) override;
  bool BeginDrag(int) override { return outline = pressHeld; }
  void SetLabelColour(ui::Rgb colour) override { labelColour = colour; }
  void SetBold(bool b) override { bold = b; }
  void Minimize() override { minimized = true; }
  bool Minimized() const override { return minimized; }
  void ShowWindow(bool m) override { shownMinimized = minimized = m; }
  int Dpi() const override { return dpi; }
  services::PixelRect Place() const override { return place; }
  services::PixelSize LayoutOuterSize() const override { return {192, 466}; }
  void MoveTo(int left, int top) override;
  void RunOptionsDialog(ui::OptionsEvents& e) override { optionsDialog(e); }
};

}  // namespace tw::test
