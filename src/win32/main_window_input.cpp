// What the user does in the main window, with the mouse (presses, moves and releases, a drag
// among them) and with the keys that the controls take for themselves; and what a screen reader
// hears of each control.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "win32/ansi_text.h"
#include "win32/dpi.h"
#include "win32/main_window.h"

namespace tw::win32 {

namespace {

constexpr wchar_t kHint[] = L" Click to add or edit text ";
// The drag outline has the height of the label's stand-in of the layout.
constexpr int kOutlineHeightTwips = 264;

int Within(int id, int first, int count) {
  return id >= first && id < first + count ? id - first : -1;
}

}  // namespace

int MainWindow::SlotOfLabel(HWND control) {
  return Within(GetDlgCtrlID(control), ui::kFirstEntryLabelId, store::kSlotCount);
}

int MainWindow::SlotOfInsertButton(HWND control) {
  return Within(GetDlgCtrlID(control), ui::kFirstInsertButtonId, store::kSlotCount);
}

int MainWindow::PageOfTab(HWND control) {
  return Within(GetDlgCtrlID(control), ui::kFirstPageTabId, store::kPageCount);
}

// The hint's tool tip is made when the pointer first comes over a label of the first page, not
// at start-up, which it would slow down by a tool tip window and fifteen tools. The tool tip
// window has no owner: under Wine a window that owns a topmost popup cannot itself be made
// topmost. The tools subclass the labels, so the tips work the same without an owner.
void MainWindow::OnControlHovered(HWND control, POINT at) {
  if (!hint_ || toolTip_ || SlotOfLabel(control) < 0 ||
      SlotOfLabel(control) >= store::kSlotsPerPage) {
    return;
  }
  toolTip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                 instance_, nullptr));
  AddHintTools();
  // The move that brought the pointer here starts the tip's wait.
  MSG move{control, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y), static_cast<DWORD>(GetMessageTime()),
           {}};
  SendMessageW(toolTip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
}

void MainWindow::AddHintTools() {
  for (HWND label : pages_[0].entryLabels) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = pages_[0].container;
    tool.uId = reinterpret_cast<UINT_PTR>(label);
    tool.lpszText = const_cast<wchar_t*>(kHint);  // copied by the tool tip
    SendMessageW(toolTip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void MainWindow::OnControlPressed(HWND control, POINT at) {
  if (const int slot = SlotOfLabel(control); slot >= 0 && events_ != nullptr) {
    events_->OnEntryLabelPressed(slot, {at.x, at.y});
  }
}

void MainWindow::OnControlMoved(HWND control, POINT at, WPARAM buttons) {
  if (events_ == nullptr) return;
  if (events_->DragSource()) {
    MoveOutline();
    POINT pointer;
    GetCursorPos(&pointer);
    if (const int page = PageOfTab(WindowFromPoint(pointer)); page >= 0) {
      events_->OnDragOverPageTab(page);
    }
    return;
  }
  if (const int slot = SlotOfLabel(control); slot >= 0) {
    const bool leftAlone = (buttons & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == MK_LBUTTON;
    events_->OnEntryLabelDragged(slot, {at.x, at.y}, leftAlone);
  }
}

void MainWindow::OnControlReleased(HWND control) {
  if (events_ == nullptr) return;
  if (events_->DragSource()) {
    EndDrag();
    POINT pointer;
    GetCursorPos(&pointer);
    const int slot = SlotOfLabel(WindowFromPoint(pointer));
    events_->OnDragReleased(slot >= 0 ? std::optional(slot) : std::nullopt);
  } else if (const int slot = SlotOfLabel(control); slot >= 0) {
    events_->OnEntryLabelReleased(slot);
  } else if (const int insert = SlotOfInsertButton(control); insert >= 0) {
    events_->OnInsertReleased(insert);
  } else if (const int page = PageOfTab(control); page >= 0) {
    events_->OnPageTabReleased(page);
  }
}

// A box took the mouse: the press ends, and with it a drag, with no outline left behind.
void MainWindow::OnPressTakenAway(HWND) {
  EndDrag();
  if (events_ != nullptr) events_->OnPressTakenAway();
}

void MainWindow::OnEditBoxLostFocus(HWND) {
  PostMessageW(window_.get(), kEditBoxLeftMessage, 0, 0);
}

// The names say which entry a control is for: "Insert 4: Smith & Co", "Insert 4, empty", the
// entry's text or "Entry 4, empty", "Page 1", and "Entry 4" for the edit box while it edits it.
std::wstring MainWindow::AccessibleName(HWND control) {
  if (events_ == nullptr) return {};
  const auto number = [](int index) { return std::to_wstring(index + 1); };
  const auto text = [this](int slot) { return AnsiToWide(events_->EntryText(slot)); };
  if (const int slot = SlotOfInsertButton(control); slot >= 0) {
    return L"Insert " + number(slot) + (text(slot).empty() ? L", empty" : L": " + text(slot));
  }
  if (const int slot = SlotOfLabel(control); slot >= 0) {
    return text(slot).empty() ? L"Entry " + number(slot) + L", empty" : text(slot);
  }
  if (const int page = PageOfTab(control); page >= 0) return L"Page " + number(page);
  const std::optional<int> edited = events_->EditedSlot();
  if (control == editBox_ && edited) return L"Entry " + number(*edited);
  return {};
}

bool MainWindow::BeginDrag(int slot) {
  HWND label = EntryLabel(slot);
  // A drag needs its press: a box that opened meanwhile has taken it.
  if (label == nullptr || !PressHeld(label)) return false;
  RECT r;
  GetWindowRect(label, &r);
  POINT pointer;
  GetCursorPos(&pointer);
  dragGrab_ = {pointer.x - r.left, pointer.y - r.top};
  // No tool tip pops up over the labels that the pointer passes during a drag.
  if (toolTip_) SendMessageW(toolTip_.get(), TTM_ACTIVATE, FALSE, 0);
  MoveOutline();
  return true;
}

void MainWindow::MoveOutline() {
  const std::optional<int> source = events_->DragSource();
  if (!source) return;
  RECT r;
  GetWindowRect(EntryLabel(*source), &r);
  POINT pointer;
  GetCursorPos(&pointer);
  const int left = pointer.x - dragGrab_.x;
  const int top = pointer.y - dragGrab_.y;
  outline_.ShowAt(instance_, {left, top, left + r.right - r.left,
                              top + TwipsToPixels(kOutlineHeightTwips, layoutDpi_)});
}

void MainWindow::EndDrag() {
  outline_.Hide();
  if (toolTip_) SendMessageW(toolTip_.get(), TTM_ACTIVATE, TRUE, 0);
}

}  // namespace tw::win32
