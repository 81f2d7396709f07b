// What the user does in the main window with the mouse (presses, moves and releases, a drag
// among them), and what a screen reader hears of each control.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "win32/system/ansi_text.h"
#include "win32/system/window_binding.h"
#include "win32/windows/main_window.h"

namespace tw::win32 {

namespace {

constexpr wchar_t kHint[] = L" Click to add or edit text ";

// The slot of an entry label; nothing for another control or none.
std::optional<int> SlotOfLabel(HWND control) {
  const ui::Control c = ControlOf(control);
  return c.role == ui::Role::EntryLabel ? std::optional(c.index) : std::nullopt;
}

POINT Pointer() {
  POINT pointer{};
  GetCursorPos(&pointer);
  return pointer;
}

}  // namespace

// The hint's tool tip is made when the pointer first comes over a label of the first page, not
// at start-up, which it would slow down by a tool tip window and fifteen tools. The tool tip
// window has no owner: under Wine a window that owns a topmost popup cannot itself be made
// topmost. The tools subclass the labels, so the tips work the same without an owner. Without
// it (the system cannot make it) there is no hint, which the debug output says.
void MainWindow::OnControlHovered(HWND control, POINT at) {
  if (!hint_ || toolTip_ ||
      SlotOfLabel(control).value_or(store::kSlotsPerPage) >= store::kSlotsPerPage) {
    return;
  }
  toolTip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                 instance_, nullptr));
  if (!toolTip_) {
    hint_ = false;
    return LogFailure("the hint's tool tip cannot be made");
  }
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
  if (const auto slot = SlotOfLabel(control); slot && events_ != nullptr) {
    events_->OnEntryLabelPressed(*slot, {at.x, at.y});
  }
}

void MainWindow::OnControlMoved(HWND control, POINT at, WPARAM buttons) {
  if (events_ == nullptr) return;
  if (events_->DragSource()) {
    MoveOutline();
    if (const ui::Control over = ControlOf(WindowFromPoint(Pointer()));
        over.role == ui::Role::PageTab) {
      events_->OnDragOverPageTab(over.index);
    }
    return;
  }
  if (const auto slot = SlotOfLabel(control)) {
    const bool leftAlone = (buttons & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == MK_LBUTTON;
    events_->OnEntryLabelDragged(*slot, {at.x, at.y}, leftAlone);
  }
}

void MainWindow::OnControlReleased(HWND control) {
  if (events_ == nullptr) return;
  if (events_->DragSource()) {
    EndDrag();
    return events_->OnDragReleased(SlotOfLabel(WindowFromPoint(Pointer())));
  }
  switch (const ui::Control released = ControlOf(control); released.role) {
    case ui::Role::EntryLabel:
      return events_->OnEntryLabelReleased(released.index);
    case ui::Role::InsertButton:
      return events_->OnInsertReleased(released.index);
    case ui::Role::PageTab:
      return events_->OnPageTabReleased(released.index);
    default:
      return;
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

std::wstring MainWindow::AccessibleName(HWND control) {
  if (events_ == nullptr) return {};
  const ui::Control named = ControlOf(control);
  const bool ofSlot = named.role == ui::Role::InsertButton || named.role == ui::Role::EntryLabel;
  return ui::AccessibleName(named, ofSlot ? AnsiToWide(events_->EntryText(named.index)) : L"",
                            events_->EditedSlot());
}

// A drag needs its press: a box that opened meanwhile has taken it. An outline that cannot be
// made ends it before it begins, and the user is told.
bool MainWindow::BeginDrag(int slot) {
  HWND label = Find(ui::EntryLabelOf(slot));
  if (label == nullptr || !PressHeld(label)) return false;
  if (!outline_.Make()) {
    ReportLater(L"Typewell cannot move the entry: it cannot show the entry's outline.");
    return false;
  }
  RECT r;
  GetWindowRect(label, &r);
  const POINT pointer = Pointer();
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
  GetWindowRect(Find(ui::EntryLabelOf(*source)), &r);
  const POINT pointer = Pointer();
  const int left = pointer.x - dragGrab_.x;
  const int top = pointer.y - dragGrab_.y;
  outline_.ShowAt({left, top, left + r.right - r.left,
                   top + ui::TwipsToPixels(ui::kOutlineHeightTwips, layoutDpi_)});
}

void MainWindow::EndDrag() {
  outline_.Hide();
  if (toolTip_) SendMessageW(toolTip_.get(), TTM_ACTIVATE, TRUE, 0);
}

}  // namespace tw::win32
