// The main window as real windows: four pages of fifteen rows (an "Insert" button and a label
// with the entry), the page bar, the edit box, the command buttons and a focus sink, at the
// window's own DPI. It shows what the program tells it and reports what the user does; it holds
// no behaviour of its own, but for what only windows need: staying topmost, the drag outline,
// making a page's windows when it is first shown.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "store/entry_file.h"
#include "ui/main_view.h"
#include "win32/controls.h"
#include "win32/drag_outline.h"
#include "win32/fonts.h"
#include "win32/scoped_handles.h"

namespace tw::win32 {

class MainWindow final : public ui::MainView, private ControlEvents {
 public:
  // Makes the window, hidden, with its caption and the controls that are not on a page.
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

  void ShowEntry(int slot, const std::string& text, bool insertEnabled) override;
  void ShowHint() override;
  void ShowPage(int page) override;
  void OpenEditBox(int slot, const std::string& text) override;
  std::string EditBoxText() const override;
  void CloseEditBox() override;
  void BeginDrag(int slot) override;
  void SetLabelColour(ui::Rgb colour) override;
  void SetBold(bool bold) override;
  void FocusSink() override;
  void Minimize() override;
  bool Minimized() const override;
  void ShowWindow(bool minimized) override;
  int Dpi() const override { return dpi_; }
  services::PixelRect Place() const override;
  services::PixelSize LayoutOuterSize() const override;
  void MoveTo(int left, int top) override;
  void RunOptionsDialog(ui::OptionsEvents& events) override;

 private:
  static constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  // Topmost from the start: Typewell floats above every ordinary window.
  static constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_CONTROLPARENT;
  // The edit box reports its loss of focus by a posted message, so that the commit runs once the
  // focus has moved, not inside the focus change.
  static constexpr UINT kEditBoxLeftMessage = WM_APP + 1;
  // A command button's click is handled from the message loop, after the button's own
  // processing of the release (the options dialog runs a modal loop of its own).
  static constexpr UINT kCommandMessage = WM_APP + 2;

  struct Entry {
    std::wstring text;
    bool insertEnabled = false;
  };
  struct Page {
    HWND container = nullptr;
    std::array<HWND, store::kSlotsPerPage> insertButtons{};
    std::array<HWND, store::kSlotsPerPage> entryLabels{};
  };

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCommand(int id);
  void OnPostedCommand(int id);
  void OnActivate(bool active);
  void OnTimer();
  void OnDpiChanged(int dpi, const RECT& suggested);

  void CreateFixedControls();
  Page& PageWindows(int page);
  void LayOut();
  void SetFontOfChildren(HWND parent);
  void AddHintTools();
  RECT EditBoxRect(int slot) const;
  void KeepOnTop();
  void KeepInFrontUnderWine();

  void OnControlPressed(HWND control, POINT at) override;
  void OnControlMoved(HWND control, POINT at, WPARAM buttons) override;
  void OnControlHovered(HWND control, POINT at) override;
  void OnControlReleased(HWND control) override;
  void OnPressTakenAway(HWND control) override;
  void OnEditBoxLostFocus(HWND control) override;
  void MoveOutline();
  void EndDrag();
  // The slot of an entry label or "Insert" button, the page of a page tab; -1 for others.
  static int SlotOfLabel(HWND control);
  static int SlotOfInsertButton(HWND control);
  static int PageOfTab(HWND control);

  HINSTANCE instance_;
  ui::MainWindowEvents* events_ = nullptr;
  ScopedWindow window_;
  ScopedWindow toolTip_;
  DragOutline outline_;
  int dpi_ = 0;
  std::unique_ptr<SharedFonts> fonts_;
  bool bold_ = false;
  COLORREF labelColour_ = RGB(255, 255, 255);
  bool hint_ = false;
  std::array<Entry, store::kSlotCount> entries_;
  std::array<Page, store::kPageCount> pages_;
  HWND editBox_ = nullptr;
  HWND focusSink_ = nullptr;
  HWND pageBar_ = nullptr;
  std::array<HWND, store::kPageCount> pageTabs_{};
  std::optional<int> editSlot_;
  std::optional<int> dragSlot_;
  POINT dragGrab_{};  // the pointer's offset into the dragged label
  HWND focusWhenInactive_ = nullptr;
  bool inFrontDue_ = false;
};

// Typewell's message loop: the dialog keys (Tab, arrows between the page tabs) work in the main
// window. Returns the code of WM_QUIT.
int RunMessageLoop(HWND mainWindow);

}  // namespace tw::win32
