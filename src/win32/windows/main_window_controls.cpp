// The main window's controls: made from the layout at the window's DPI (a page's when it is
// first shown), laid out again at another DPI or text size, showing the entries, the pages and
// the edit box, and the focus among them.
#include "win32/system/ansi_text.h"
#include "win32/system/dpi.h"
#include "win32/system/start_failure.h"
#include "win32/system/system.h"
#include "win32/windows/accessibility.h"
#include "win32/windows/main_window.h"

namespace tw::win32 {

namespace {

constexpr ui::TwipsRect kClientArea{0, 0, ui::kMainClientWidth, ui::kMainClientHeight};

}  // namespace

void MainWindow::CreateFixedControls() {
  HWND window = window_.get();
  if (!CreateControls(window, ui::kMainControls, kClientArea, layoutDpi_, *this)) {
    throw StartFailure("a control of the main window cannot be made");
  }
  SetFontOfChildren(window, fonts_->Get(bold_));
  editBox_ = GetDlgItem(window, ui::kEditBoxId);
  ::ShowWindow(editBox_, SW_HIDE);
  for (int page = 0; page < store::kPageCount; ++page) {
    pageTabs_[page] = FindControl(window, ui::IdOf({ui::Role::PageTab, page}));
  }
}

// The windows of a page are made when it is first shown: most pages are seldom opened, and
// every window costs start-up time and objects of the window system. A page that cannot be made
// whole is not made at all.
bool MainWindow::MakePage(int page) {
  Page& windows = pages_[page];
  if (windows.container != nullptr) return true;
  const ui::TwipsRect pageRect = ui::PageRect(page);
  const ui::ControlPlan container{ui::kFirstPageId + page, ui::ControlKind::Container, 0, pageRect,
                                  L""};
  ScopedWindow made(CreateControl(window_.get(), container, kClientArea, layoutDpi_, *this));
  if (!made) return false;
  ::ShowWindow(made.get(), SW_HIDE);
  // In the stacking and the Tab order the page comes after "Options".
  SetWindowPos(made.get(), GetDlgItem(window_.get(), ui::kOptionsButtonId), 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Page rows{made.get()};
  for (int row = 0; row < store::kSlotsPerPage; ++row) {
    const int slot = page * store::kSlotsPerPage + row;
    const std::wstring text = AnsiToWide(events_->EntryText(slot));
    const ui::ControlPlan insert{ui::kFirstInsertButtonId + slot, ui::ControlKind::PushButton,
                                 container.id, ui::InsertButtonRect(row), L"Insert"};
    const ui::ControlPlan label{ui::kFirstEntryLabelId + slot, ui::ControlKind::Label, container.id,
                                ui::EntryLabelRect(row), text.c_str()};
    // Made disabled rather than disabled afterwards: under Wine each EnableWindow costs about a
    // millisecond of start-up. A label is a Tab stop after its button.
    const DWORD enabled = text.empty() ? WS_DISABLED : 0;
    rows.insertButtons[row] =
        CreateControl(made.get(), insert, pageRect, layoutDpi_, *this, enabled);
    rows.entryLabels[row] =
        CreateControl(made.get(), label, pageRect, layoutDpi_, *this, WS_TABSTOP);
    if (rows.insertButtons[row] == nullptr || rows.entryLabels[row] == nullptr) return false;
    win32::SetLabelColour(rows.entryLabels[row], labelColour_);
  }
  SetFontOfChildren(made.get(), fonts_->Get(bold_));
  windows = rows;
  made.release();
  return true;
}

void MainWindow::NewFonts() {
  fonts_ = std::make_unique<SharedFonts>(dpi_);
  layoutDpi_ = fonts_->LayoutDpi();
}

// Every window at its place for the window's DPI and text size: the window itself, sized from
// its client area whatever frame the system draws, then each control. A minimised window keeps
// the size it is restored to, which is set instead.
void MainWindow::LayOut() {
  const SIZE client{ui::TwipsToPixels(ui::kMainClientWidth, layoutDpi_),
                    ui::TwipsToPixels(ui::kMainShownClientHeight, layoutDpi_)};
  const SIZE outer = OuterSize(client, kStyle, kExStyle, dpi_);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (IsIconic(window_.get()) && GetWindowPlacement(window_.get(), &placement)) {
    RECT& normal = placement.rcNormalPosition;
    normal.right = normal.left + outer.cx;
    normal.bottom = normal.top + outer.cy;
    placement.showCmd = SW_SHOWMINNOACTIVE;
    SetWindowPlacement(window_.get(), &placement);
  } else {
    SetWindowPos(window_.get(), nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const auto place = [this](HWND control, const ui::TwipsRect& rect,
                            const ui::TwipsRect& container) {
    if (control == nullptr) return;
    const auto r = ui::PixelRectIn(rect, container, layoutDpi_);
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  };
  PlaceControls(window_.get(), ui::kMainControls, kClientArea, layoutDpi_);
  for (int page = 0; page < store::kPageCount; ++page) {
    const Page& windows = pages_[page];
    place(windows.container, ui::PageRect(page), kClientArea);
    for (int row = 0; row < store::kSlotsPerPage; ++row) {
      place(windows.insertButtons[row], ui::InsertButtonRect(row), ui::PageRect(page));
      place(windows.entryLabels[row], ui::EntryLabelRect(row), ui::PageRect(page));
    }
  }
  if (const std::optional<int> edited = events_ != nullptr ? events_->EditedSlot() : std::nullopt) {
    const auto r = ui::PixelRectIn(ui::EditBoxRect(*edited), kClientArea, layoutDpi_);
    SetWindowPos(editBox_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// The window of a control; null for one of a page not made yet.
HWND MainWindow::Find(ui::Control control) const {
  const int row = control.index % store::kSlotsPerPage;
  switch (control.role) {
    case ui::Role::InsertButton:
      return pages_[control.index / store::kSlotsPerPage].insertButtons[row];
    case ui::Role::EntryLabel:
      return pages_[control.index / store::kSlotsPerPage].entryLabels[row];
    case ui::Role::PageTab:
      return pageTabs_[control.index];
    case ui::Role::EditBox:
      return editBox_;
    case ui::Role::None:
      return nullptr;
    default:
      return FindControl(window_.get(), ui::IdOf(control));
  }
}

ui::Control MainWindow::FocusedControl() const {
  HWND focus = GetFocus();
  return focus != nullptr && IsChild(window_.get(), focus) ? ControlOf(focus) : ui::Control{};
}

void MainWindow::MoveFocus(ui::Control to) {
  if (to != FocusedControl()) SetFocus(Find(to));
}

void MainWindow::ShowEntry(int slot) {
  HWND label = Find(ui::EntryLabelOf(slot));
  if (label == nullptr) return;  // its page is not made yet
  const std::wstring text = AnsiToWide(events_->EntryText(slot));
  // A button that is disabled cannot keep the focus.
  if (text.empty()) MoveFocus(ui::FocusWhenEntryEmptied(FocusedControl(), slot));
  SetWindowTextW(label, text.c_str());
  HWND insert = Find(ui::InsertButtonOf(slot));
  EnableWindow(insert, !text.empty());
  NotifyNameChanged(label);
  NotifyNameChanged(insert);
}

void MainWindow::ShowHint() {
  hint_ = true;
}

// The page's container on show and its tab marked (the tabs' one Tab stop), the focus on a row of
// the page that goes moved to the same row of the page that comes. Before the window is first
// shown, a page that cannot be made ends the start.
bool MainWindow::ShowPage(int page) {
  if (!MakePage(page)) {
    if (!IsWindowVisible(window_.get())) throw StartFailure("a page of entries cannot be made");
    ReportLater(L"Typewell cannot show page " + std::to_wstring(page + 1) + L".");
    return false;
  }
  ::ShowWindow(pages_[page].container, SW_SHOWNA);
  MoveFocus(ui::FocusWhenPageChanges(FocusedControl(), page, KeyContext().filled));
  for (int p = 0; p < store::kPageCount; ++p) {
    if (p != page && pages_[p].container != nullptr) ::ShowWindow(pages_[p].container, SW_HIDE);
    CheckOption(pageTabs_[p], p == page);
  }
  return true;
}

void MainWindow::OpenEditBox(int slot, const std::string& text) {
  const auto r = ui::PixelRectIn(ui::EditBoxRect(slot), kClientArea, layoutDpi_);
  SetWindowTextW(editBox_, AnsiToWide(text).c_str());
  SetWindowPos(editBox_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  NotifyNameChanged(editBox_);
  SetFocus(editBox_);
}

std::string MainWindow::EditBoxText() const {
  return WideToAnsi(WindowText(editBox_));
}

// The focus that the box had, or had when Typewell was left, goes to the slot's label.
void MainWindow::CloseEditBox(int slot) {
  balloon_.Hide();
  focusWhenInactive_ = ui::FocusWhenEditCloses(focusWhenInactive_, slot);
  MoveFocus(ui::FocusWhenEditCloses(FocusedControl(), slot));
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
  SetFontOfChildren(window_.get(), fonts_->Get(bold_));
}

}  // namespace tw::win32
