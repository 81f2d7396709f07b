// The main window's controls: made from the layout at the window's DPI (a page's when it is
// first shown), laid out again at another DPI or text size, showing the entries, the pages and
// the edit box.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "win32/accessibility.h"
#include "win32/ansi_text.h"
#include "win32/dpi.h"
#include "win32/main_window.h"
#include "win32/start_failure.h"

namespace tw::win32 {

namespace {

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

}  // namespace

void MainWindow::CreateFixedControls() {
  HWND window = window_.get();
  for (const ui::ControlPlan& plan : ui::kMainControls) {
    HWND parent = plan.parentId == 0 ? window : GetDlgItem(window, plan.parentId);
    HWND control = CreateControl(parent, plan, ContainerOf(plan), layoutDpi_, *this);
    if (control == nullptr) throw StartFailure("a control of the main window cannot be made");
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_->Get(bold_)), FALSE);
  }
  editBox_ = GetDlgItem(window, ui::kEditBoxId);
  ::ShowWindow(editBox_, SW_HIDE);
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
  windows.container = CreateControl(window_.get(), container, kClientArea, layoutDpi_, *this);
  ::ShowWindow(windows.container, SW_HIDE);
  // In the stacking and the Tab order the page comes after "Options".
  SetWindowPos(windows.container, GetDlgItem(window_.get(), ui::kOptionsButtonId), 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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
    windows.insertButtons[row] =
        CreateControl(windows.container, insert, pageRect, layoutDpi_, *this, enabled);
    windows.entryLabels[row] =
        CreateControl(windows.container, label, pageRect, layoutDpi_, *this, WS_TABSTOP);
    win32::SetLabelColour(windows.entryLabels[row], labelColour_);
  }
  SetFontOfChildren(windows.container);
  return windows;
}

void MainWindow::NewFonts() {
  fonts_ = std::make_unique<SharedFonts>(dpi_);
  layoutDpi_ = fonts_->LayoutDpi();
}

// Every window at its place for the window's DPI and text size: the window itself, sized from
// its client area whatever frame the system draws, then each control.
void MainWindow::LayOut() {
  const SIZE client{TwipsToPixels(ui::kMainClientWidth, layoutDpi_),
                    TwipsToPixels(ui::kMainShownClientHeight, layoutDpi_)};
  const SIZE outer = OuterSize(client, kStyle, kExStyle, dpi_);
  SetWindowPos(window_.get(), nullptr, 0, 0, outer.cx, outer.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const auto place = [this](HWND control, const ui::TwipsRect& rect,
                            const ui::TwipsRect& container) {
    if (control == nullptr) return;
    const RECT r = PixelRectIn(rect, container, layoutDpi_);
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
  if (const std::optional<int> edited = events_ != nullptr ? events_->EditedSlot() : std::nullopt) {
    const RECT r = EditBoxRect(*edited);
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

HWND MainWindow::EntryLabel(int slot) const {
  return pages_[slot / store::kSlotsPerPage].entryLabels[slot % store::kSlotsPerPage];
}

HWND MainWindow::InsertButton(int slot) const {
  return pages_[slot / store::kSlotsPerPage].insertButtons[slot % store::kSlotsPerPage];
}

int MainWindow::ShownPage() const {
  for (int page = 0; page < store::kPageCount; ++page) {
    if (pages_[page].container != nullptr && IsWindowVisible(pages_[page].container)) return page;
  }
  return 0;
}

void MainWindow::ShowEntry(int slot) {
  HWND label = EntryLabel(slot);
  if (label == nullptr) return;  // its page is not made yet
  const std::wstring text = AnsiToWide(events_->EntryText(slot));
  HWND insert = InsertButton(slot);
  // A button that is disabled cannot keep the focus: it goes to the entry's label.
  if (text.empty() && GetFocus() == insert) SetFocus(label);
  SetWindowTextW(label, text.c_str());
  EnableWindow(insert, !text.empty());
  NotifyNameChanged(label);
  NotifyNameChanged(insert);
}

void MainWindow::ShowHint() {
  hint_ = true;
}

// The page's container on show and its tab marked (the tabs' one Tab stop). The focus on a row
// of the page that goes moves to the same row of the page that comes.
void MainWindow::ShowPage(int page) {
  const Page& shown = PageWindows(page);
  HWND focus = GetFocus();
  for (int p = 0; p < store::kPageCount; ++p) {
    HWND container = pages_[p].container;
    if (p != page && container != nullptr && IsWindowVisible(container)) {
      if (focus != nullptr && IsChild(container, focus)) {
        const int row =
            (std::max(SlotOfLabel(focus), SlotOfInsertButton(focus))) % store::kSlotsPerPage;
        HWND insert = shown.insertButtons[row];
        focus = SlotOfInsertButton(focus) >= 0 && IsWindowEnabled(insert) ? insert
                                                                          : shown.entryLabels[row];
        ::ShowWindow(shown.container, SW_SHOWNA);
        SetFocus(focus);
      }
      ::ShowWindow(container, SW_HIDE);
    }
    CheckOption(pageTabs_[p], p == page);
  }
  ::ShowWindow(shown.container, SW_SHOWNA);
}

RECT MainWindow::EditBoxRect(int slot) const {
  // Every page stands where the first one does.
  const ui::TwipsRect page = ui::PageRect(0);
  const ui::TwipsRect label = ui::EntryLabelRect(slot % store::kSlotsPerPage);
  const ui::TwipsRect box{page.left + label.left, page.top + label.top, label.width,
                          kEditBoxHeightTwips};
  return PixelRectIn(box, kClientArea, layoutDpi_);
}

void MainWindow::OpenEditBox(int slot, const std::string& text) {
  const RECT r = EditBoxRect(slot);
  SetWindowTextW(editBox_, AnsiToWide(text).c_str());
  SetWindowPos(editBox_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  NotifyNameChanged(editBox_);
  SetFocus(editBox_);
}

std::string MainWindow::EditBoxText() const {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(editBox_)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(editBox_, text.data(), static_cast<int>(text.size()))));
  return WideToAnsi(text);
}

void MainWindow::CloseEditBox(int slot) {
  balloon_.Hide();
  if (GetFocus() == editBox_) SetFocus(EntryLabel(slot));
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

}  // namespace tw::win32
