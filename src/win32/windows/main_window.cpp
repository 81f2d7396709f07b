#include "win32/windows/main_window.h"

#include "win32/services/services_win32.h"
#include "win32/system/dpi.h"
#include "win32/system/icons.h"
#include "win32/system/start_failure.h"
#include "win32/system/system.h"
#include "win32/system/window_binding.h"
#include "win32/windows/options_dialog.h"

namespace tw::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"TypewellMain";
constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 1000;
// The foreground changed (seen by the hook below).
constexpr UINT kForegroundMessage = WM_APP + 4;

BOOL CALLBACK FindOwnMainWindow(HWND window, LPARAM found) {
  wchar_t name[32];
  if (GetClassNameW(window, name, 32) == 0 || lstrcmpW(name, kWindowClass) != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Another program's window came to the front: the main window of this thread hears of it, by
// name, however soon the user switches on to Typewell (by the keyboard), so that a fill goes to
// the program left just now. Wine's desktop window in front stands for none. (Wine 8 tells an
// out-of-context hook of no other process's change; the tick's reading of the foreground stands
// in for it there.)
void CALLBACK OnForegroundEvent(HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD) {
  HWND main = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindOwnMainWindow, reinterpret_cast<LPARAM>(&main));
  if (main != nullptr && window != GetDesktopWindow()) {
    SendMessageW(main, kForegroundMessage, reinterpret_cast<WPARAM>(window), 0);
  }
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
  Register({kWindowClass, BoundWindowProc<MainWindow, &MainWindow::OnMessage>, 0, 0, COLOR_BTNFACE,
            true});
  RegisterControlClasses();
  DragOutline::Register();
  dpi_ = SystemDpi();
  HWND window = CreateWindowExW(kExStyle, kWindowClass, ui::kMainCaption, kStyle, 0, 0, 0, 0,
                                nullptr, nullptr, instance, this);
  if (window == nullptr) throw StartFailure("the main window cannot be made");
  window_.reset(window);
  dpi_ = DpiOf(window);
  if (dpi_ != SystemDpi()) SetWindowIcons(window, dpi_);
  NewFonts();
  LayOut();
  CreateFixedControls();
  // Focus rectangles and access keys show once the user works with the keyboard (at once where
  // the user asked Windows to show them always).
  BOOL cues = FALSE;
  if (!SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cues, 0) || !cues) {
    SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
  }
  if (SetTimer(window, kTickTimer, kTickMs, nullptr) == 0) {
    throw StartFailure("the window's timer cannot be set");
  }
  foregroundHook_.reset(SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                        OnForegroundEvent, 0, 0,
                                        WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS));
  if (!foregroundHook_) throw StartFailure("the foreground hook cannot be set");
}

MainWindow::~MainWindow() {
  Destroy();
}

void MainWindow::Minimize() {
  ::ShowWindow(window_.get(), SW_MINIMIZE);
}

bool MainWindow::Minimized() const {
  return IsIconic(window_.get()) != FALSE;
}

void MainWindow::ShowWindow(bool minimized) {
  ::ShowWindow(window_.get(), minimized ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL);
  KeepOnTop();
  UpdateWindow(window_.get());
}

services::PixelRect MainWindow::Place() const {
  RECT r{};
  GetWindowRect(window_.get(), &r);
  return {r.left, r.top, r.right, r.bottom};
}

services::PixelSize MainWindow::LayoutOuterSize() const {
  const SIZE client{ui::TwipsToPixels(ui::kMainClientWidth, layoutDpi_),
                    ui::TwipsToPixels(ui::kMainClientHeight, layoutDpi_)};
  const SIZE outer = OuterSize(client, kStyle, kExStyle, dpi_);
  return {outer.cx, outer.cy};
}

void MainWindow::MoveTo(int left, int top) {
  SetWindowPos(window_.get(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::RunOptionsDialog(ui::OptionsEvents& events) {
  if (!win32::RunOptionsDialog(instance_, window_.get(), events)) {
    ReportLater(L"Typewell cannot open its options.");
  }
}

void MainWindow::ReportLater(const std::wstring& what) {
  const DWORD error = GetLastError();
  LogFailure("a window cannot be made");
  reports_.push_back(what + L" (system error " + std::to_wstring(error) + L")");
  PostMessageW(window_.get(), kReportMessage, 0, 0);
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
  // Wine shows a moment of no active window (a program that the user clicks is taking the
  // activation) as its desktop window in front: that is no program to stay in front of.
  if (foreground == nullptr || foreground == GetDesktopWindow() ||
      process == GetCurrentProcessId()) {
    return;
  }
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

// Leaving, the window remembers the control that has the focus; back, it gives it the focus
// again (see ui::FocusOnReturn).
void MainWindow::OnActivate(bool active) {
  if (!active) {
    if (const ui::Control focus = FocusedControl(); focus.role != ui::Role::None) {
      focusWhenInactive_ = focus;
    }
    inFrontDue_ = true;
    events_->OnForegroundChanged(0);
    return;
  }
  HWND left = Find(focusWhenInactive_);
  const bool canTakeIt = left != nullptr && IsWindowVisible(left) && IsWindowEnabled(left);
  SetFocus(Find(ui::FocusOnReturn(focusWhenInactive_, canTakeIt, events_->ShownPage())));
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
  SetWindowIcons(window_.get(), dpi_);
  NewFonts();
  SetWindowPos(window_.get(), nullptr, suggested.left, suggested.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  LayOut();
  SetFontOfChildren(window_.get(), fonts_->Get(bold_));
}

// The system's colours, high contrast, fonts or text size changed: the window takes them at
// once, growing or shrinking with the text. The system's controls hear of a change of colours
// from their window only.
void MainWindow::OnSystemChange(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOLORCHANGE) ForwardToControls(window_.get(), message, wParam, lParam);
  NewFonts();
  LayOut();
  SetFontOfChildren(window_.get(), fonts_->Get(bold_));
  RedrawWindow(window_.get(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

LRESULT MainWindow::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (events_ != nullptr && window == window_.get()) {
    if (const auto result = OnWindowMessage(message, wParam, lParam)) return *result;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

std::optional<LRESULT> MainWindow::OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // An "Insert" button's release is reported by the button itself; its click by a key is not.
      if (const ui::Control clicked = ui::ControlOf(LOWORD(wParam));
          HIWORD(wParam) == BN_CLICKED &&
          (clicked.role != ui::Role::InsertButton || !InMouseRelease())) {
        Post(ui::ClickIntent(clicked));
      }
      if (HIWORD(wParam) == EN_CHANGE && reinterpret_cast<HWND>(lParam) == editBox_) {
        OnEditBoxChanged();
      }
      return 0;
    case kIntentMessage:
      CarryOut({static_cast<ui::Act>(wParam), ui::ControlOf(static_cast<int>(lParam))});
      return 0;
    case kEditBoxLeftMessage:
      events_->OnEditBoxLostFocus();
      return 0;
    case kReportMessage:
      if (!reports_.empty()) {
        const std::wstring report = reports_.front();
        reports_.pop_front();
        ShowReport(window_.get(), report);
      }
      return 0;
    case kForegroundMessage:
      events_->OnForegroundChanged(static_cast<services::WindowHandle>(wParam));
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
      if (GetForegroundWindow() != window_.get()) events_->OnForegroundChanged(0);
      return MA_ACTIVATE;
    case WM_SIZE:
      KeepOnTop();
      return std::nullopt;
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SETTINGCHANGE:
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
      OnSystemChange(message, wParam, lParam);
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

}  // namespace tw::win32
