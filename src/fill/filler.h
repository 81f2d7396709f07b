// The fill: an entry into the focused field of another program's window. The text travels
// through the clipboard; the window is activated, the current line of its field is selected and
// replaced by a paste (Home, Shift+End, Backspace, Shift+Insert), and Tab moves its focus on to
// the next field. The entry is never typed key by key.
#pragma once

#include <string>

#include "services/desktop.h"
#include "services/typing.h"

namespace tw::fill {

// How a fill ended: done (or handed to a slow program, which takes the keys later), or why not;
// Interrupted: it stopped when another program came to the front.
enum class FillOutcome {
  Done,
  NoProgram,
  ProgramGone,
  NotAnswering,
  ClipboardBusy,
  KeysRefused,
  MoreRights,
  Interrupted
};

class Filler {
 public:
  Filler(services::Desktop& desktop, services::Typing& typing)
      : desktop_(desktop), typing_(typing) {}

  // Fills the text into target. Nothing happens for an empty text or no target; and no key is
  // sent to a window that is gone, hung or not in front, or whose program has more rights than
  // Typewell (Windows would drop the keys without a word). A clipboard that another program holds
  // open gets a second attempt, which waits for it a while; a second failure gives the fill up.
  FillOutcome Fill(const std::string& text, services::WindowHandle target);

 private:
  FillOutcome Attempt(const std::string& text, services::WindowHandle target, int clipboardTries);
  bool PutOnClipboard(const std::string& text, int tries);
  // An earlier fill whose keys the target had not taken in time may still paste: the clipboard
  // stays as it is until that target has taken them, is gone or hangs, or has been waited for
  // as long as one key may take. Then it is given up on: a missed wait never stops a fill.
  void AwaitEarlierPaste();

  services::Desktop& desktop_;
  services::Typing& typing_;
  services::WindowHandle pastePending_ = 0;
};

}  // namespace tw::fill
