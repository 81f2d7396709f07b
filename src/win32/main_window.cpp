#include "win32/main_window.h"

#include <commctrl.h>

#include <stdexcept>

#include "win32/ansi_text.h"
#include "win32/dpi.h"
#include "win32/options_dialog.h"

namespace tw::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"TypewellMain";
constexpr wchar_t kCaption[] = L" Typewell";
constexpr wchar_t kHint[] = L" Click to add or edit text ";
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// Topmost from the start: Typewell floats above every ordinary window.
constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 1000;
// The edit box reports its loss of focus by a posted message, so that the commit runs once the
// focus has moved, not inside the focus change.
constexpr UINT kEditBoxLeftMessage = WM_APP + 1;
// A command button's click is handled from the message loop, after the button's own processing
// of the release (the options dialog runs a modal loop of its own).
constexpr UINT kCommandMessage = WM_APP + 2;
// The drag outline has the height of the label's stand-in of the layout.
constexpr int kOutlineHeightTwips = 264;
constexpr int kEditBoxHeightTwips = 288;

constexpr ui::TwipsRect kClientArea{0, 0, ui::kMainClientWidth, ui::kMainClientHeight};

void RegisterWindowClass(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  wc.lpszClassName = kWindowClass;
  RegisterClassExW(&wc);
}

const ui::ControlPlan* PlanOf(int id) {
  for (const ui::ControlPlan& plan : ui::kMainControls) {
    if (plan.id == id) return &plan;
  }
  return nullptr;
}

ui::TwipsRect ContainerOf(const ui::ControlPlan& plan) {
  return plan.parentId == 0 ? kClientArea : PlanOf(plan.parentId)->rect;
}

int IdOf(HWND control) {
  return GetDlgCtrlID(control);
}

int Within(int id, int first, int count) {
  return id >= first && id < first + count ? id - first : -1;
}

bool RunningUnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

bool Overlap(HWND a, HWND b) {
  RECT ra, rb, common;
  return GetWindowRect(a, &ra) && GetWindowRect(b, &rb) && IntersectRect(&common, &ra, &rb);
}

bool IsTopmost(HWND window) {
  return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance) {
  RegisterWindowClass(instance, Proc);
  RegisterControlClasses(instance);
  DragOutline::Register(instance);
  dpi_ = SystemDpi();
  HWND window = CreateWindowExW(kExStyle, kWindowClass, kCaption, kStyle, 0, 0, 0, 0, nullptr,
                                nullptr, instance, this);
  if (window == nullptr) throw std::runtime_error("the main window cannot be made");
  window_.reset(window);
  dpi_ = DpiOf(window);
  fonts_ = std::make_unique<SharedFonts>(dpi_);
  LayOut();
  CreateFixedControls();
  SetTimer(window, kTickTimer, kTickMs, nullptr);
}

MainWindow::~MainWindow() {
  if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

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
    windows.insertButtons[row] = CreateControl(windows.container, insert, pageRect, dpi_, *this);
    windows.entryLabels[row] = CreateControl(windows.container, label, pageRect, dpi_, *this);
    EnableWindow(windows.insertButtons[row], entries_[slot].insertEnabled);
    win32::SetLabelColour(windows.entryLabels[row], labelColour_);
  }
  SetFontOfChildren(windows.container);
  if (page == 0 && hint_) AddHintTools();
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

// The tool tip window has no owner: under Wine a window that owns a topmost popup cannot itself
// be made topmost. The tools subclass the labels, so the tips work the same without an owner.
void MainWindow::AddHintTools() {
  if (!toolTip_) {
    toolTip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                   instance_, nullptr));
  }
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
  if (pages_[0].container != nullptr) AddHintTools();
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

void MainWindow::Minimize() {
  ::ShowWindow(window_.get(), SW_MINIMIZE);
}

bool MainWindow::Minimized() const {
  return IsIconic(window_.get()) != FALSE;
}

void MainWindow::ShowWindow(bool minimized) {
  ::ShowWindow(window_.get(), minimized ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL);
  if (!minimized) FocusSink();
  KeepOnTop();
  UpdateWindow(window_.get());
}

services::PixelRect MainWindow::Place() const {
  RECT r{};
  GetWindowRect(window_.get(), &r);
  return {r.left, r.top, r.right, r.bottom};
}

services::PixelSize MainWindow::LayoutOuterSize() const {
  const SIZE client{TwipsToPixels(ui::kMainClientWidth, dpi_),
                    TwipsToPixels(ui::kMainClientHeight, dpi_)};
  const SIZE outer = OuterSize(client, kStyle, kExStyle, dpi_);
  return {outer.cx, outer.cy};
}

void MainWindow::MoveTo(int left, int top) {
  SetWindowPos(window_.get(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::RunOptionsDialog(ui::OptionsEvents& events) {
  win32::RunOptionsDialog(instance_, window_.get(), events);
}

void MainWindow::KeepOnTop() {
  SetWindowPos(window_.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Under Wine without a window manager, a program that the user activates is stacked above
// Typewell on the screen although Typewell stays in the topmost band; Windows keeps topmost
// windows above it. So under Wine alone, once after Typewell lost the activation, Typewell is
// raised again when an ordinary window is in front and overlaps it, unless a topmost window (of
// any program, a menu, a drop-down list, its own tool tip) lies above Typewell where the two
// overlap: raising Typewell would climb over that one.
void MainWindow::KeepInFrontUnderWine() {
  if (!inFrontDue_ || !RunningUnderWine()) return;
  HWND window = window_.get();
  HWND foreground = GetForegroundWindow();
  DWORD process = 0;
  GetWindowThreadProcessId(foreground, &process);
  if (foreground == nullptr || process == GetCurrentProcessId()) return;
  inFrontDue_ = false;
  if (IsTopmost(foreground) || !Overlap(foreground, window) || IsIconic(window)) return;
  for (HWND above = GetWindow(window, GW_HWNDPREV); above != nullptr;
       above = GetWindow(above, GW_HWNDPREV)) {
    if (IsWindowVisible(above) && IsTopmost(above) && Overlap(above, window)) return;
  }
  // Leaving the topmost band and joining it again: under Wine a window already in the band is
  // not restacked on the screen by a plain request.
  constexpr UINT kZOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, kZOrderOnly);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, kZOrderOnly);
}

int MainWindow::SlotOfLabel(HWND control) {
  return Within(IdOf(control), ui::kFirstEntryLabelId, store::kSlotCount);
}

int MainWindow::SlotOfInsertButton(HWND control) {
  return Within(IdOf(control), ui::kFirstInsertButtonId, store::kSlotCount);
}

int MainWindow::PageOfTab(HWND control) {
  return Within(IdOf(control), ui::kFirstPageTabId, store::kPageCount);
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

void MainWindow::OnCommand(int id) {
  switch (id) {
    case ui::kTutorialButtonId:
    case ui::kOptionsButtonId:
    case ui::kWebSiteButtonId:
    case ui::kMinimizeButtonId:
      PostMessageW(window_.get(), kCommandMessage, static_cast<WPARAM>(id), 0);
      break;
    default:
      // A page tab chosen from the keyboard (the mouse reports its release itself).
      if (const int page = Within(id, ui::kFirstPageTabId, store::kPageCount);
          page >= 0 && !InMouseRelease()) {
        events_->OnPageTabReleased(page);
      }
      break;
  }
}

void MainWindow::OnPostedCommand(int id) {
  switch (id) {
    case ui::kTutorialButtonId:
      events_->OnCommand(ui::Command::Tutorial);
      break;
    case ui::kOptionsButtonId:
      events_->OnCommand(ui::Command::Options);
      break;
    case ui::kWebSiteButtonId:
      events_->OnCommand(ui::Command::WebSite);
      break;
    case ui::kMinimizeButtonId:
      events_->OnCommand(ui::Command::Minimize);
      break;
    default:
      break;
  }
}

void MainWindow::OnActivate(bool active) {
  HWND focus = GetFocus();
  if (!active) {
    if (focus != nullptr && IsChild(window_.get(), focus)) focusWhenInactive_ = focus;
    inFrontDue_ = true;
    events_->OnActivationChange();
    return;
  }
  HWND back = focusWhenInactive_ != nullptr && IsWindowVisible(focusWhenInactive_)
                  ? focusWhenInactive_
                  : focusSink_;
  SetFocus(back);
}

void MainWindow::OnTimer() {
  events_->OnTick();
  KeepInFrontUnderWine();
}

// Moved to a monitor of another DPI: the window and its controls are laid out again from the
// same twips at that DPI, with fonts made for it, at the place the system suggests. The options
// dialog, a window of its own, is not concerned.
void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  if (dpi <= 0) return;
  dpi_ = dpi;
  fonts_ = std::make_unique<SharedFonts>(dpi_);
  SetWindowPos(window_.get(), nullptr, suggested.left, suggested.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  LayOut();
  SetFontOfChildren(window_.get());
}

std::optional<LRESULT> MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (events_ == nullptr) return std::nullopt;
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
      return 0;
    case kEditBoxLeftMessage:
      events_->OnEditBoxLostFocus();
      return 0;
    case kCommandMessage:
      OnPostedCommand(static_cast<int>(wParam));
      return 0;
    case WM_TIMER:
      if (wParam == kTickTimer) OnTimer();
      return 0;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_SETFOCUS:
      OnActivate(true);
      return 0;
    case WM_MOUSEACTIVATE:
      if (GetForegroundWindow() != window_.get()) events_->OnActivationChange();
      return MA_ACTIVATE;
    case WM_SIZE:
      KeepOnTop();
      return std::nullopt;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      if (events_->OnCloseRequested()) DestroyWindow(window_.get());
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wParam != 0) events_->OnSessionEnding();
      return 0;
    default:
      return std::nullopt;
  }
}

LRESULT CALLBACK MainWindow::Proc(HWND window, UINT message, WPARAM wParam,
                                  LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr && self->window_.get() == window) {
    try {
      if (const auto result = self->OnMessage(message, wParam, lParam)) return *result;
    } catch (...) {
      OutputDebugStringA("Typewell: an event handler failed\n");
      return 0;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

int RunMessageLoop(HWND mainWindow) {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsWindow(mainWindow) && IsDialogMessageW(mainWindow, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace tw::win32
