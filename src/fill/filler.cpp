#include "fill/filler.h"

#include <array>
#include <span>
#include <utility>

namespace tw::fill {

namespace {

using services::KeysSent;
using services::KeyStroke;

constexpr std::uint8_t kShift = 0x10, kBackspace = 0x08, kTab = 0x09, kEnd = 0x23, kHome = 0x24,
                       kInsert = 0x2D;
constexpr KeyStroke Down(std::uint8_t key) {
  return {key, false};
}
constexpr KeyStroke Up(std::uint8_t key) {
  return {key, true};
}

// The keys that replace the field's line by the clipboard: caret to the start of the line (Home),
// select to its end (Shift+End), delete the selection (Backspace), paste (Shift+Insert); then Tab
// moves the target's focus on to the next field. Each key is handled by the target before the
// next one is sent; the Tab, last, is waited for only until the target has read it.
constexpr std::array kFillKeys{Down(kHome),  Up(kHome),     Down(kShift),     Down(kEnd),
                               Up(kEnd),     Up(kShift),    Down(kBackspace), Up(kBackspace),
                               Down(kShift), Down(kInsert), Up(kInsert),      Up(kShift),
                               Down(kTab),   Up(kTab)};

// The first attempt tries the clipboard once; the second waits for it about a second.
constexpr int kFirstClipboardTries = 1;
constexpr int kSecondClipboardTries = 50;
constexpr int kClipboardPauseMs = 20;

}  // namespace

FillOutcome Filler::Fill(const std::string& text, services::WindowHandle target) {
  if (text.empty()) return FillOutcome::Done;
  if (target == 0) return FillOutcome::NoProgram;
  AwaitEarlierPaste();
  const FillOutcome first = Attempt(text, target, kFirstClipboardTries);
  const bool again = first == FillOutcome::ClipboardBusy || first == FillOutcome::KeysRefused;
  return again ? Attempt(text, target, kSecondClipboardTries) : first;
}

void Filler::AwaitEarlierPaste() {
  const services::WindowHandle earlier = std::exchange(pastePending_, 0);
  // Nothing pending (0) counts as a window that does not exist.
  if (desktop_.WindowExists(earlier) && !desktop_.WindowHung(earlier)) {
    (void)typing_.AwaitTaken(earlier);
  }
}

bool Filler::PutOnClipboard(const std::string& text, int tries) {
  for (int i = 1;; ++i) {
    if (typing_.PutOnClipboard(text)) return true;
    if (i >= tries) return false;
    desktop_.Sleep(kClipboardPauseMs);
  }
}

FillOutcome Filler::Attempt(const std::string& text, services::WindowHandle target,
                            int clipboardTries) {
  if (!desktop_.WindowExists(target)) return FillOutcome::ProgramGone;
  if (desktop_.IntegrityLevel(target) > desktop_.IntegrityLevel(0)) return FillOutcome::MoreRights;
  if (!PutOnClipboard(text, clipboardTries)) return FillOutcome::ClipboardBusy;
  // Activation can fail silently (the system refuses it, the window closed or stopped
  // answering); keys sent then would edit whatever window is in front instead.
  desktop_.Activate(target);
  if (!desktop_.WindowExists(target)) return FillOutcome::ProgramGone;
  if (desktop_.WindowHung(target) || !desktop_.ForegroundIsThreadOf(target)) {
    return FillOutcome::NotAnswering;
  }
  // A Shift, Ctrl or Alt still held from the click would change every key that follows.
  typing_.ReleaseHeldModifiers();
  const KeysSent sent = typing_.Send(kFillKeys, target);
  if (sent == KeysSent::TimedOut || sent == KeysSent::LostActivation) pastePending_ = target;
  if (sent == KeysSent::LostActivation) return FillOutcome::Interrupted;
  return sent == KeysSent::Refused ? FillOutcome::KeysRefused : FillOutcome::Done;
}

}  // namespace tw::fill
