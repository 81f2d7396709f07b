#include "fill/fill_action.h"

#include <array>
#include <string>

namespace tw::fill {

namespace {

using platform::KeyWait;
using platform::SendResult;
using platform::WindowHandle;

// The keys before the paste's result is in place, each waited for: caret to the start of the
// line, select to its end, delete the selection, paste.
constexpr std::array<const char*, 4> kReplaceLineKeys = {"{HOME}", "+{END}", "{BACKSPACE}",
                                                         "+{INSERT}"};
constexpr const char* kNextFieldKey = "{TAB}";

// How long the repeated attempt waits for a clipboard that another program holds open: tries
// every kClipboardPauseMs, kClipboardTries times (about a second), answering events meanwhile.
constexpr int kClipboardTries = 50;
constexpr int kClipboardPauseMs = 20;

enum class ClipboardWait { No, Bounded };

enum class Outcome {
  Done,
  Stopped,  // nothing more may be sent (the target is gone, hung, not in front, or too slow)
  Failed,   // the clipboard or the system refused: worth one more attempt
};

// Marks a fill as running for its whole life, including its yields to pending events.
class FillRunning {
 public:
  explicit FillRunning(bool& flag) : flag_(flag) { flag_ = true; }
  ~FillRunning() { flag_ = false; }
  FillRunning(const FillRunning&) = delete;
  FillRunning& operator=(const FillRunning&) = delete;

 private:
  bool& flag_;
};

bool IsDesktopTitle(std::string title) {
  for (char& c : title) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return title == kDesktopTitle;
}

// Activation can fail silently (the system refuses it, the window closed, the target stopped
// responding); keys sent then would edit whatever window is in front instead.
bool TargetReadyForKeys(platform::WindowSystem& windows, WindowHandle target) {
  return windows.windowExists(target) && !windows.windowHung(target) &&
         windows.foregroundIsThreadOf(target);
}

Outcome Sent(SendResult result) {
  switch (result) {
    case SendResult::Delivered:
      return Outcome::Done;
    case SendResult::TimedOut:
      return Outcome::Stopped;
    case SendResult::Failed:
      break;
  }
  return Outcome::Failed;
}

bool PutOnClipboard(platform::WindowSystem& windows, const std::string& text, ClipboardWait wait) {
  const int tries = wait == ClipboardWait::Bounded ? kClipboardTries : 1;
  for (int i = 1;; ++i) {
    if (windows.setClipboardText(text)) return true;
    if (i == tries) return false;
    windows.sleep(kClipboardPauseMs);
    windows.doEvents();
  }
}

// One attempt: clipboard, activation, the five key strings and the yields between them.
Outcome PasteInto(platform::WindowSystem& windows, WindowHandle target, const std::string& text,
                  ClipboardWait wait) {
  if (!PutOnClipboard(windows, text, wait)) return Outcome::Failed;
  windows.setForegroundWindow(target);
  windows.doEvents();
  if (!TargetReadyForKeys(windows, target)) return Outcome::Stopped;
  // A Shift, Ctrl or Alt still held from the click would change every key that follows.
  windows.releaseHeldModifiers();
  for (const char* keys : kReplaceLineKeys) {
    const Outcome o = Sent(windows.sendKeys(keys, KeyWait::Yes, target));
    if (o != Outcome::Done) return o;
  }
  windows.doEvents();
  const Outcome o = Sent(windows.sendKeys(kNextFieldKey, KeyWait::No, target));
  if (o != Outcome::Done) return o;
  windows.doEvents();
  return Outcome::Done;
}

}  // namespace

void FillBtn_MouseUp(core::App& app, const forms::MouseEvent& e) {
  app.main.Holdfocus->setFocus();
  // A release that arrives while a fill yields to pending events would interleave its keys
  // with the running fill's.
  if (app.fillRunning) return;
  // Read after the focus move: it commits an open edit, which may just have emptied this entry
  // (a right or middle press does not take the focus from the edit box).
  const std::string text = app.main.Names.at(static_cast<std::size_t>(e.index))->caption();
  if (text.empty()) return;
  const WindowHandle target = app.targetWindow;
  if (target == 0) return;
  if (IsDesktopTitle(app.windows.windowTitle(target))) return;

  const FillRunning running(app.fillRunning);
  if (PasteInto(app.windows, target, text, ClipboardWait::No) != Outcome::Failed) return;
  // Typically another program held the clipboard open: let pending events run, then once more,
  // this time giving that program a bounded while to close the clipboard. A second failure
  // gives the fill up without a message.
  app.windows.doEvents();
  (void)PasteInto(app.windows, target, text, ClipboardWait::Bounded);
}

}  // namespace tw::fill
