// What the keyboard and the buttons' clicks do in the main window: the message loop with the
// keys of a dialog and the page keys, the keys that the controls take for themselves, and the
// clicks, all handled from the message loop rather than inside a control's own handling.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "win32/ansi_text.h"
#include "win32/main_window.h"

namespace tw::win32 {

// A button's click: the command buttons' from any source, the "Insert" buttons' from Space (the
// mouse reports its release itself). The page tabs' clicks are left to their keys and releases.
void MainWindow::OnCommand(int id) {
  const bool command = id == ui::kTutorialButtonId || id == ui::kOptionsButtonId ||
                       id == ui::kWebSiteButtonId || id == ui::kMinimizeButtonId;
  const bool insert = id >= ui::kFirstInsertButtonId &&
                      id < ui::kFirstInsertButtonId + store::kSlotCount && !InMouseRelease();
  if (command || insert) PostMessageW(window_.get(), kCommandMessage, static_cast<WPARAM>(id), 0);
}

void MainWindow::OnPostedCommand(int id) {
  const int slot = id - ui::kFirstInsertButtonId;
  const int label = id - ui::kFirstEntryLabelId;
  const int page = id - ui::kFirstPageTabId;
  if (slot >= 0 && slot < store::kSlotCount) {
    events_->OnInsertReleased(slot);
  } else if (label >= 0 && label < store::kSlotCount) {
    events_->OnEntryLabelReleased(label);
  } else if (page >= 0 && page < store::kPageCount) {
    events_->OnPageTabReleased(page);
    SetFocus(pageTabs_[page]);
  } else if (id == ui::kTutorialButtonId) {
    events_->OnCommand(ui::Command::Tutorial);
  } else if (id == ui::kOptionsButtonId) {
    events_->OnCommand(ui::Command::Options);
  } else if (id == ui::kWebSiteButtonId) {
    events_->OnCommand(ui::Command::WebSite);
  } else if (id == ui::kMinimizeButtonId) {
    events_->OnCommand(ui::Command::Minimize);
  }
}

// A key pressed in the window shows the focus, and Alt the access keys, from then on: the user
// works with the keyboard. (The dialog manager does the same for the keys it handles; it does
// not see every key.)
void MainWindow::ShowKeyboardCues(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return;
  if (message.hwnd != window_.get() && !IsChild(window_.get(), message.hwnd)) return;
  const WORD cues =
      message.message == WM_SYSKEYDOWN ? UISF_HIDEFOCUS | UISF_HIDEACCEL : UISF_HIDEFOCUS;
  if ((SendMessageW(window_.get(), WM_QUERYUISTATE, 0, 0) & cues) != 0) {
    SendMessageW(window_.get(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, cues), 0);
  }
}

// Ctrl+Tab and Ctrl+PgDn show the next page, Ctrl+Shift+Tab and Ctrl+PgUp the one before, from
// anywhere in the window.
bool MainWindow::OnPageKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || (GetKeyState(VK_CONTROL) & 0x8000) == 0) return false;
  if (message.hwnd != window_.get() && !IsChild(window_.get(), message.hwnd)) return false;
  const bool back = (message.wParam == VK_TAB && (GetKeyState(VK_SHIFT) & 0x8000) != 0) ||
                    message.wParam == VK_PRIOR;
  if (message.wParam != VK_TAB && message.wParam != VK_NEXT && message.wParam != VK_PRIOR) {
    return false;
  }
  events_->OnPageTabReleased((ShownPage() + (back ? store::kPageCount - 1 : 1)) %
                             store::kPageCount);
  return true;
}

// Keys that act are handled from the message loop, not inside the control's own key handling.
void MainWindow::OnControlKey(HWND control, WPARAM key) {
  const int id = GetDlgCtrlID(control);
  if (control == editBox_) {
    PostMessageW(window_.get(), kEditKeyMessage, key, 0);
  } else if (const int slot = SlotOfLabel(control); slot >= 0) {
    OnLabelKey(slot, key);
  } else if (const int page = PageOfTab(control); page >= 0 && key != VK_SPACE) {
    const int step = key == VK_LEFT || key == VK_UP ? store::kPageCount - 1 : 1;
    PostMessageW(window_.get(), kCommandMessage,
                 ui::kFirstPageTabId + (page + step) % store::kPageCount, 0);
  } else if (key == VK_RETURN || key == VK_SPACE) {
    PostMessageW(window_.get(), kCommandMessage, static_cast<WPARAM>(id), 0);
  }
}

// On a label, F2 and Enter open its edit; Up and Down move to the rows above and below, Left to
// its "Insert" button.
void MainWindow::OnLabelKey(int slot, WPARAM key) {
  const int row = slot % store::kSlotsPerPage;
  if (key == VK_F2 || key == VK_RETURN) {
    PostMessageW(window_.get(), kCommandMessage, ui::kFirstEntryLabelId + slot, 0);
  } else if (key == VK_UP && row > 0) {
    SetFocus(EntryLabel(slot - 1));
  } else if (key == VK_DOWN && row + 1 < store::kSlotsPerPage) {
    SetFocus(EntryLabel(slot + 1));
  } else if (key == VK_LEFT && IsWindowEnabled(InsertButton(slot))) {
    SetFocus(InsertButton(slot));
  }
}

int MainWindow::RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    ShowKeyboardCues(message);
    if (IsWindow(window_.get()) && events_ != nullptr && OnPageKey(message)) continue;
    if (IsWindow(window_.get()) && IsDialogMessageW(window_.get(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

// Forms.dat holds each letter in one byte of the Windows code page: a letter that it cannot
// hold is refused where it stands as it is typed or pasted, and a balloon says why, rather than
// being stored as a look-alike or a question mark.
void MainWindow::OnEditBoxChanged() {
  if (keepingLetters_) return;  // the box taking the letters kept, below
  const int length = GetWindowTextLengthW(editBox_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(editBox_, text.data(), length + 1)));
  DWORD caret = 0;
  SendMessageW(editBox_, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  const ui::KeptLetters kept = letters_.OnChange(text, caret, TextCodePageLetters{});
  if (kept.refused.empty()) return balloon_.Hide();
  keepingLetters_ = true;
  SetWindowTextW(editBox_, kept.text.c_str());
  keepingLetters_ = false;
  SendMessageW(editBox_, EM_SETSEL, kept.caret, kept.caret);
  const std::wstring why = L"Typewell keeps entries in the letters of the Windows code page " +
                           std::to_wstring(TextCodePage()) + L", which has no " + kept.refused +
                           L".";
  balloon_.Show(editBox_, L"Not every letter can be stored", why);
}

}  // namespace tw::win32
