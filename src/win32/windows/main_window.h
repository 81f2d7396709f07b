// The main window as real windows: four pages of fifteen rows (an "Insert" button and a label
// with the entry), the page bar, the edit box and the command buttons, at the window's own DPI
// and grown with its text. It shows what the program tells it and asks the program for the
// rest (the entries, the open edit, the drag, the page on show); it turns what the user does,
// with the mouse or the keyboard, into the program's events and the intents of ui/navigation.h.
// What only windows need is its own: staying topmost, the drag outline, the focus, the names a
// screen reader hears, making a page's windows when it is first shown.
#pragma once

#include <windows.h>

#include <array>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "store/entry_file.h"
#include "ui/letters.h"
#include "ui/main_view.h"
#include "win32/system/fonts.h"
#include "win32/system/scoped_handles.h"
#include "win32/windows/balloon.h"
#include "win32/windows/controls.h"
#include "win32/windows/drag_outline.h"

namespace tw::win32 {

class MainWindow final : public ui::MainView, private ControlEvents {
 public:
  // Makes the window, hidden, with its caption and the controls that are not on a page. Throws
  // StartFailure, naming what could not be made.
  explicit MainWindow(HINSTANCE instance);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow() override;

  HWND Handle() const { return window_.get(); }
  void SetEvents(ui::MainWindowEvents& events) { events_ = &events; }
  // Destroys the window at once, asking nothing (a start that failed).
  void Destroy() {
    events_ = nullptr;
    window_.reset();
  }
  // Typewell's message loop, with the keys of a dialog in the main window (Tab, the arrows,
  // access keys) and the page keys. Returns the code of WM_QUIT.
  int RunMessageLoop();

  void ShowEntry(int slot) override;
  void ShowHint() override;
  bool ShowPage(int page) override;
  void OpenEditBox(int slot, const std::string& text) override;
  std::string EditBoxText() const override;
  void CloseEditBox(int slot) override;
  bool BeginDrag(int slot) override;
  void SetLabelColour(ui::Rgb colour) override;
  void SetBold(bool bold) override;
  void Minimize() override;
  bool Minimized() const override;
  void ShowWindow(bool minimized) override;
  int Dpi() const override { return dpi_; }
  services::PixelRect Place() const override;
  services::PixelSize LayoutOuterSize() const override;
  void MoveTo(int left, int top) override;
  void RunOptionsDialog(ui::OptionsEvents& events) override;

  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  // Topmost from the start: Typewell floats above every ordinary window.
  static constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
  // Work that must not run inside the window procedure of a control or of another handler: an
  // intent of a key or of a keyboard's click (the options dialog and a fill run loops of their
  // own), the edit box's loss of focus (once the focus has moved), a report of a failure.
  static constexpr UINT kIntentMessage = WM_APP + 1;
  static constexpr UINT kEditBoxLeftMessage = WM_APP + 2;
  static constexpr UINT kReportMessage = WM_APP + 3;

  struct Page {
    HWND container = nullptr;
    std::array<HWND, store::kSlotsPerPage> insertButtons{};
    std::array<HWND, store::kSlotsPerPage> entryLabels{};
  };

  std::optional<LRESULT> OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnActivate(bool active);
  void OnTimer();
  void OnDpiChanged(int dpi, const RECT& suggested);
  void OnSystemChange(UINT message, WPARAM wParam, LPARAM lParam);
  bool OnPageKey(const MSG& message);
  void ShowKeyboardCues(const MSG& message);
  void OnEditBoxChanged();
  void Post(ui::Intent intent);
  void CarryOut(ui::Intent intent);
  // A failure after start-up: said in the debug output now and to the user from the loop.
  void ReportLater(const std::wstring& what);

  void CreateFixedControls();
  bool MakePage(int page);
  void NewFonts();
  void LayOut();
  void AddHintTools();
  HWND Find(ui::Control control) const;
  ui::Control FocusedControl() const;
  // Gives the focus to the control unless it has it.
  void MoveFocus(ui::Control to);
  ui::KeyContext KeyContext() const;
  void KeepOnTop();
  void KeepInFrontUnderWine();

  void OnControlPressed(HWND control, POINT at) override;
  void OnControlMoved(HWND control, POINT at, WPARAM buttons) override;
  void OnControlHovered(HWND control, POINT at) override;
  void OnControlReleased(HWND control) override;
  void OnPressTakenAway(HWND control) override;
  void OnEditBoxLostFocus(HWND control) override;
  void OnControlKey(HWND control, ui::KeyPress key) override;
  std::wstring AccessibleName(HWND control) override;
  void MoveOutline();
  void EndDrag();

  HINSTANCE instance_;
  ui::MainWindowEvents* events_ = nullptr;
  ScopedWindow window_;
  ScopedWindow toolTip_;
  ScopedWinEventHook foregroundHook_;
  DragOutline outline_;
  Balloon balloon_;
  int dpi_ = 0;        // the window's own: fonts, the frame, the system's metrics
  int layoutDpi_ = 0;  // the layout's twips become pixels at this one, grown with the text
  std::unique_ptr<SharedFonts> fonts_;
  bool bold_ = false;
  COLORREF labelColour_ = RGB(255, 255, 255);
  bool hint_ = false;
  std::array<Page, store::kPageCount> pages_;
  HWND editBox_ = nullptr;
  ui::LetterFilter letters_;  // the edit box's letters that Forms.dat can hold
  bool keepingLetters_ = false;
  std::array<HWND, store::kPageCount> pageTabs_{};
  POINT dragGrab_{};  // the pointer's offset into the dragged label
  ui::Control focusWhenInactive_{};
  bool inFrontDue_ = false;
  std::deque<std::wstring> reports_;
};

}  // namespace tw::win32
