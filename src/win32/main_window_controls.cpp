// The main window's controls: made from the layout at the window's DPI (a page's when it is
// first shown), laid out again at another DPI, showing the entries, the edit box and the pages,
// and the presses, moves and releases that they report, a drag among them.
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
constexpr int kEditBoxHeightTwips = 288;
constexpr ui::TwipsRect kClientArea{0, 0, ui::kMainClientWidth, ui::kMainClientHeight};

const ui::ControlPlan* PlanOf(int id) {
  for (const ui::ControlPlan& plan : ui::kMainControls) {
    if (plan.id == id) return &plan;
  }
  return nullptr;
}

ui::TwipsRect ContainerOf(const ui::ControlPlan& plan) {
  return plan.parentId == 0 ? kClientArea : PlanOf(plan.parentId)->rect;
}

int Within(int id, int first, int count) {
  return id >= first && id < first + count ? id - first : -1;
}

}  // namespace

void MainWindow::CreateFixedControls() {
  HWND window = window_.get();
  for (const ui::ControlPlan& plan : ui::kMainControls) {
    HWND parent = plan.parentId == 0 ? window : GetDlgItem(window, plan.parentId);
    HWND control = CreateControl(parent, plan, ContainerOf(plan), dpi_, *this);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_->Get(bold_)), FALSE);
  }
  editBox_ = GetDlgItem(window, ui::kEditBoxId);
  ::ShowWindow(editBox_, SW_HIDE);
  focusSink_ = GetDlgItem(window, ui::kFocusSinkId);
  pageBar_ = GetDlgItem(window, ui::kPageBarId);
  for (int page = 0; page < store::kPageCount; ++page) {
    pageTabs_[page] = GetDlgItem(pageBar_, ui::kFirstPageTabId + page);
  }
}

// The windows of a page are made when it is first shown: most pages are seldom opened, and
// every window costs start-up time and objects of the window system.
MainWindow::Page& MainWindow::PageWindows(int page) {
  Page& windows = pages_[page];
  if (windows.container != nullptr) return windows;
  const ui::TwipsRect pageRect = ui::PageRect(page);
  const ui::ControlPlan container{ui::kFirstPageId + page, ui::ControlKind::Container, 0, pageRect,
                                  L""};
  windows.container = CreateControl(window_.get(), container, kClientArea, dpi_, *this);
  ::ShowWindow(windows.container, SW_HIDE);
  // In the stacking and the Tab order the page comes after "Options".
  SetWindowPos(windows.container, GetDlgItem(window_.get(), ui::kOptionsButtonId), 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (int row = 0; row < store::kSlotsPerPage; ++row) {
    const int slot = page * store::kSlotsPerPage + row;
    const ui::ControlPlan insert{ui::kFirstInsertButtonId + slot, ui::ControlKind::PushButton,
                                 container.id, ui::InsertButtonRect(row), L"Insert"};
    const ui::ControlPlan label{ui::kFirstEntryLabelId + slot, ui::ControlKind::Label, container.id,
                                ui::EntryLabelRect(row), entries_[slot].text.c_str()};
    // Made disabled rather than disabled afterwards: under Wine each EnableWindow costs about a
    // millisecond of start-up.
    const DWORD enabled = entries_[slot].insertEnabled ? 0 : WS_DISABLED;
    windows.insertButtons[row] =
        CreateControl(windows.container, insert, pageRect, dpi_, *this, enabled);
    windows.entryLabels[row] = CreateControl(windows.container, label, pageRect, dpi_, *this);
    win32::SetLabelColour(windows.entryLabels[row], labelColour_);
  }
  SetFontOfChildren(windows.container);
  return windows;
}

// Every window at its place for the window's DPI: the window itself, then each control.
void MainWindow::LayOut() {
  const SIZE client{TwipsToPixels(ui::kMainClientWidth, dpi_), 0};
  const SIZE outer = OuterSize(client, kStyle, kExStyle, dpi_);
  SetWindowPos(window_.get(), nullptr, 0, 0, outer.cx,
               TwipsToPixels(ui::kMainShownOuterHeight, dpi_),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const auto place = [this](HWND control, const ui::TwipsRect& rect,
                            const ui::TwipsRect& container) {
    if (control == nullptr) return;
    const RECT r = PixelRectIn(rect, container, dpi_);
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  };
  for (const ui::ControlPlan& plan : ui::kMainControls) {
    HWND parent = plan.parentId == 0 ? window_.get() : GetDlgItem(window_.get(), plan.parentId);
    place(GetDlgItem(parent, plan.id), plan.rect, ContainerOf(plan));
  }
  for (int page = 0; page < store::kPageCount; ++page) {
    const Page& windows = pages_[page];
    place(windows.container, ui::PageRect(page), kClientArea);
    for (int row = 0; row < store::kSlotsPerPage; ++row) {
      place(windows.insertButtons[row], ui::InsertButtonRect(row), ui::PageRect(page));
      place(windows.entryLabels[row], ui::EntryLabelRect(row), ui::PageRect(page));
    }
  }
  if (editSlot_) {
    const RECT r = EditBoxRect(*editSlot_);
    SetWindowPos(editBox_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void MainWindow::SetFontOfChildren(HWND parent) {
  const auto font = reinterpret_cast<WPARAM>(fonts_->Get(bold_));
  for (HWND c = GetWindow(parent, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    if (static_cast<WPARAM>(SendMessageW(c, WM_GETFONT, 0, 0)) != font) {
      SendMessageW(c, WM_SETFONT, font, TRUE);
    }
    SetFontOfChildren(c);
  }
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

void MainWindow::ShowEntry(int slot, const std::string& text, bool insertEnabled) {
  Entry& entry = entries_.at(static_cast<std::size_t>(slot));
  entry = {AnsiToWide(text), insertEnabled};
  const Page& windows = pages_[slot / store::kSlotsPerPage];
  if (windows.container == nullptr) return;
  const int row = slot % store::kSlotsPerPage;
  SetWindowTextW(windows.entryLabels[row], entry.text.c_str());
  EnableWindow(windows.insertButtons[row], insertEnabled);
}

void MainWindow::ShowHint() {
  hint_ = true;
}

void MainWindow::ShowPage(int page) {
  PageWindows(page);
  const HWND focus = GetFocus();
  for (int p = 0; p < store::kPageCount; ++p) {
    HWND container = pages_[p].container;
    if (p != page && container != nullptr && IsWindowVisible(container)) {
      // A hidden page cannot keep the focus.
      if (focus != nullptr && IsChild(container, focus)) FocusSink();
      ::ShowWindow(container, SW_HIDE);
    }
    SendMessageW(pageTabs_[p], BM_SETCHECK, p == page ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  ::ShowWindow(pages_[page].container, SW_SHOWNA);
}

RECT MainWindow::EditBoxRect(int slot) const {
  // Every page stands where the first one does.
  const ui::TwipsRect page = ui::PageRect(0);
  const ui::TwipsRect label = ui::EntryLabelRect(slot % store::kSlotsPerPage);
  const ui::TwipsRect box{page.left + label.left, page.top + label.top, label.width,
                          kEditBoxHeightTwips};
  return PixelRectIn(box, kClientArea, dpi_);
}

void MainWindow::OpenEditBox(int slot, const std::string& text) {
  editSlot_ = slot;
  const RECT r = EditBoxRect(slot);
  SetWindowTextW(editBox_, AnsiToWide(text).c_str());
  SetWindowPos(editBox_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  SetFocus(editBox_);
}

std::string MainWindow::EditBoxText() const {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(editBox_)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(editBox_, text.data(), static_cast<int>(text.size()))));
  return WideToAnsi(text);
}

void MainWindow::CloseEditBox() {
  editSlot_.reset();
  if (GetFocus() == editBox_) FocusSink();
  ::ShowWindow(editBox_, SW_HIDE);
}

void MainWindow::SetLabelColour(ui::Rgb colour) {
  labelColour_ = RGB(colour.red, colour.green, colour.blue);
  for (const Page& windows : pages_) {
    for (HWND label : windows.entryLabels) {
      if (label != nullptr) win32::SetLabelColour(label, labelColour_);
    }
  }
}

void MainWindow::SetBold(bool bold) {
  bold_ = bold;
  SetFontOfChildren(window_.get());
}

void MainWindow::FocusSink() {
  SetFocus(focusSink_);
}

int MainWindow::SlotOfLabel(HWND control) {
  return Within(GetDlgCtrlID(control), ui::kFirstEntryLabelId, store::kSlotCount);
}

int MainWindow::SlotOfInsertButton(HWND control) {
  return Within(GetDlgCtrlID(control), ui::kFirstInsertButtonId, store::kSlotCount);
}

int MainWindow::PageOfTab(HWND control) {
  return Within(GetDlgCtrlID(control), ui::kFirstPageTabId, store::kPageCount);
}

void MainWindow::OnControlPressed(HWND control, POINT at) {
  if (const int slot = SlotOfLabel(control); slot >= 0 && events_ != nullptr) {
    events_->OnEntryLabelPressed(slot, {at.x, at.y});
  }
}

void MainWindow::OnControlMoved(HWND control, POINT at, WPARAM buttons) {
  if (events_ == nullptr) return;
  if (dragSlot_) {
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
  if (dragSlot_) {
    EndDrag();
    POINT pointer;
    GetCursorPos(&pointer);
    if (const int slot = SlotOfLabel(WindowFromPoint(pointer)); slot >= 0) {
      events_->OnDroppedOnEntryLabel(slot);
    }
  } else if (const int slot = SlotOfLabel(control); slot >= 0) {
    events_->OnEntryLabelReleased(slot);
  } else if (const int insert = SlotOfInsertButton(control); insert >= 0) {
    events_->OnInsertReleased(insert);
  } else if (const int page = PageOfTab(control); page >= 0) {
    events_->OnPageTabReleased(page);
  }
}

void MainWindow::OnPressTakenAway(HWND) {
  if (dragSlot_) EndDrag();
}

void MainWindow::OnEditBoxLostFocus(HWND) {
  PostMessageW(window_.get(), kEditBoxLeftMessage, 0, 0);
}

void MainWindow::BeginDrag(int slot) {
  dragSlot_ = slot;
  HWND label = pages_[slot / store::kSlotsPerPage].entryLabels[slot % store::kSlotsPerPage];
  RECT r;
  GetWindowRect(label, &r);
  POINT pointer;
  GetCursorPos(&pointer);
  dragGrab_ = {pointer.x - r.left, pointer.y - r.top};
  // No tool tip pops up over the labels that the pointer passes during a drag.
  if (toolTip_) SendMessageW(toolTip_.get(), TTM_ACTIVATE, FALSE, 0);
  MoveOutline();
}

void MainWindow::MoveOutline() {
  HWND label =
      pages_[*dragSlot_ / store::kSlotsPerPage].entryLabels[*dragSlot_ % store::kSlotsPerPage];
  RECT r;
  GetWindowRect(label, &r);
  POINT pointer;
  GetCursorPos(&pointer);
  const int left = pointer.x - dragGrab_.x;
  const int top = pointer.y - dragGrab_.y;
  outline_.ShowAt(instance_, {left, top, left + r.right - r.left,
                              top + TwipsToPixels(kOutlineHeightTwips, dpi_)});
}

void MainWindow::EndDrag() {
  dragSlot_.reset();
  outline_.Hide();
  if (toolTip_) SendMessageW(toolTip_.get(), TTM_ACTIVATE, TRUE, 0);
}

}  // namespace tw::win32
