// What the keyboard and the buttons' clicks do in the main window: the message loop with the
// keys of a dialog and the page keys, the keys that the controls take for themselves, and the
// intents they stand for, each carried out from the message loop rather than inside a control's
// own handling.
#include "win32/system/ansi_text.h"
#include "win32/system/system.h"
#include "win32/windows/main_window.h"

namespace tw::win32 {

ui::KeyContext MainWindow::KeyContext() const {
  return {events_->ShownPage(), [this](int slot) { return !events_->EntryText(slot).empty(); }};
}

// The focus moves at once; what the program does waits for the message loop.
void MainWindow::Post(ui::Intent intent) {
  if (intent.act == ui::Act::Focus) {
    SetFocus(Find(intent.control));
  } else if (intent.act != ui::Act::None) {
    PostMessageW(window_.get(), kIntentMessage, static_cast<WPARAM>(intent.act),
                 static_cast<LPARAM>(ui::IdOf(intent.control)));
  }
}

void MainWindow::CarryOut(ui::Intent intent) {
  switch (intent.act) {
    case ui::Act::Fill:
      return events_->OnInsertReleased(intent.control.index);
    case ui::Act::Edit:
      return events_->OnEntryLabelReleased(intent.control.index);
    case ui::Act::Commit:
      return events_->OnEditBoxKey(ui::EditKey::Commit);
    case ui::Act::Cancel:
      return events_->OnEditBoxKey(ui::EditKey::Cancel);
    case ui::Act::ShowPage:
      // A page chosen on the tabs: the focus stays on them, on the tab of the page on show.
      events_->OnPageTabReleased(intent.control.index);
      return MoveFocus({ui::Role::PageTab, events_->ShownPage()});
    case ui::Act::Run:
      return events_->OnCommand(static_cast<ui::Command>(intent.control.index));
    default:
      return;
  }
}

void MainWindow::OnControlKey(HWND control, ui::KeyPress key) {
  if (events_ != nullptr) Post(ui::KeyIntent(ControlOf(control), key, KeyContext()));
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

// The page keys (Ctrl+Tab, Ctrl+PgDn and the others of ui/navigation.cpp) work from anywhere in
// the window, before the dialog manager takes Tab.
bool MainWindow::OnPageKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0) return false;
  if (message.hwnd != window_.get() && !IsChild(window_.get(), message.hwnd)) return false;
  const ui::Intent intent =
      ui::KeyIntent({}, {KeyOf(message.wParam), true, GetKeyState(VK_SHIFT) < 0}, KeyContext());
  if (intent.act != ui::Act::ShowPage) return false;
  events_->OnPageTabReleased(intent.control.index);
  return true;
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
  const std::wstring text = WindowText(editBox_);
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
