#include "win32/options_dialog.h"

#include <memory>
#include <vector>

#include "win32/controls.h"
#include "win32/dpi.h"
#include "win32/fonts.h"
#include "win32/icons.h"

namespace tw::win32 {

namespace {

// A choice, by a release or a key, is made from the dialog's message loop, not inside the
// option button's own handling (a report of a failed save runs a loop of its own).
constexpr UINT kChooseMessage = WM_APP + 1;
constexpr ui::TwipsRect kClientArea{0, 0, ui::kDialogClientWidth, ui::kDialogClientHeight};
constexpr int kFontCount = 2;
constexpr int kColourCount = 4;

ui::TwipsRect ContainerOf(const ui::ControlPlan& plan) {
  for (const ui::ControlPlan& parent : ui::kDialogControls) {
    if (parent.id == plan.parentId) return parent.rect;
  }
  return kClientArea;
}

// An empty dialog template: the caption, a fixed frame with a close box; no controls.
std::vector<WORD> EmptyTemplate() {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
  dialog->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  words.push_back(0);  // no menu
  words.push_back(0);  // the default dialog class
  for (const wchar_t* c = ui::kOptionsCaption; *c != L'\0'; ++c) {
    words.push_back(static_cast<WORD>(*c));
  }
  words.push_back(0);
  return words;
}

class OptionsDialog final : private ControlEvents {
 public:
  explicit OptionsDialog(ui::OptionsEvents& events) : events_(events) {}

  void Run(HINSTANCE instance, HWND owner) {
    const std::vector<WORD> dialogTemplate = EmptyTemplate();
    DialogBoxIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
                            owner, Proc, reinterpret_cast<LPARAM>(this));
  }

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<OptionsDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (self == nullptr) return FALSE;
    try {
      return self->OnMessage(dialog, message, wParam, lParam);
    } catch (...) {
      OutputDebugStringA("Typewell: an event handler failed\n");
      return FALSE;
    }
  }

  INT_PTR OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_INITDIALOG:
        OnInit(dialog, GetWindow(dialog, GW_OWNER));
        return FALSE;  // the focus is set
      case WM_COMMAND:
        // "OK", the close box and Esc (IDCANCEL) close it; Enter elsewhere (IDOK) does nothing.
        if (LOWORD(wParam) == IDCANCEL ||
            (LOWORD(wParam) == ui::kOkButtonId && HIWORD(wParam) == BN_CLICKED)) {
          EndDialog(dialog_, 0);
        }
        return TRUE;
      case kChooseMessage:
        Choose(static_cast<int>(wParam));
        return TRUE;
      case WM_CLOSE:
        EndDialog(dialog_, 0);
        return TRUE;
      case WM_DPICHANGED:
        SetWindowIcons(dialog_, HIWORD(wParam));
        LayOut(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam)->left,
               reinterpret_cast<const RECT*>(lParam)->top);
        return TRUE;
      default:
        return FALSE;
    }
  }

  void OnInit(HWND dialog, HWND owner) {
    dialog_ = dialog;
    const int dpi = DpiOf(dialog);
    SetWindowIcons(dialog, dpi);
    fonts_ = std::make_unique<SharedFonts>(dpi);
    for (const ui::ControlPlan& plan : ui::kDialogControls) {
      HWND parent = plan.parentId == 0 ? dialog : GetDlgItem(dialog, plan.parentId);
      CreateControl(parent, plan, ContainerOf(plan), fonts_->LayoutDpi(), *this);
    }
    RECT main{};
    GetWindowRect(owner, &main);
    LayOut(dpi, main.left, main.top);
    // Above the main window, which is itself topmost.
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetFocus(Control(ui::kFirstFontOptionId + events_.Current().font));
  }

  HWND Control(int id) const {
    for (const ui::ControlPlan& plan : ui::kDialogControls) {
      if (plan.id != id) continue;
      return GetDlgItem(plan.parentId == 0 ? dialog_ : GetDlgItem(dialog_, plan.parentId), id);
    }
    return nullptr;
  }

  // The dialog and its controls at their place for the DPI and the text size, with fonts for it.
  void LayOut(int dpi, int left, int top) {
    fonts_ = std::make_unique<SharedFonts>(dpi);
    const int layoutDpi = fonts_->LayoutDpi();
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(dialog_, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(dialog_, GWL_EXSTYLE));
    const SIZE outer = OuterSize({TwipsToPixels(ui::kDialogClientWidth, layoutDpi),
                                  TwipsToPixels(ui::kDialogClientHeight, layoutDpi)},
                                 style, exStyle, dpi);
    SetWindowPos(dialog_, nullptr, left, top, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const ui::ControlPlan& plan : ui::kDialogControls) {
      const RECT r = PixelRectIn(plan.rect, ContainerOf(plan), layoutDpi);
      SetWindowPos(Control(plan.id), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowChoices();
  }

  // The stored choices marked, and every text in the stored weight.
  void ShowChoices() {
    const ui::Choices current = events_.Current();
    for (int i = 0; i < kFontCount; ++i) {
      CheckOption(Control(ui::kFirstFontOptionId + i), i == current.font);
    }
    for (int i = 0; i < kColourCount; ++i) {
      CheckOption(Control(ui::kFirstColourOptionId + i), i == current.colour);
    }
    const auto font = reinterpret_cast<WPARAM>(fonts_->Get(current.font == 1));
    for (const ui::ControlPlan& plan : ui::kDialogControls) {
      HWND control = Control(plan.id);
      if (static_cast<WPARAM>(SendMessageW(control, WM_GETFONT, 0, 0)) != font) {
        SendMessageW(control, WM_SETFONT, font, TRUE);
      }
    }
  }

  void Choose(int id) {
    if (const int font = id - ui::kFirstFontOptionId; font >= 0 && font < kFontCount) {
      events_.OnFontChosen(font);
    } else if (const int colour = id - ui::kFirstColourOptionId;
               colour >= 0 && colour < kColourCount) {
      events_.OnColourChosen(colour);
    } else {
      return;
    }
    ShowChoices();
  }

  void OnControlPressed(HWND, POINT) override {}
  void OnControlMoved(HWND, POINT, WPARAM) override {}
  void OnControlReleased(HWND control) override { Post(control); }
  void OnPressTakenAway(HWND) override {}
  // The arrows move to the next choice of the group and choose it, as a click does; Space
  // chooses the one with the focus. The focus arriving at a choice chooses nothing.
  void OnControlKey(HWND control, WPARAM key) override {
    if (key == VK_SPACE) return Post(control);
    HWND parent = GetParent(control);
    const bool back = key == VK_LEFT || key == VK_UP;
    HWND next = GetWindow(control, back ? GW_HWNDPREV : GW_HWNDNEXT);
    if (next == nullptr) next = GetWindow(control, back ? GW_HWNDLAST : GW_HWNDFIRST);
    if (next == nullptr || GetParent(next) != parent) return;
    SetFocus(next);
    Post(next);
  }
  void Post(HWND control) {
    PostMessageW(dialog_, kChooseMessage, static_cast<WPARAM>(GetDlgCtrlID(control)), 0);
  }

  ui::OptionsEvents& events_;
  HWND dialog_ = nullptr;
  std::unique_ptr<SharedFonts> fonts_;
};

}  // namespace

void RunOptionsDialog(HINSTANCE instance, HWND owner, ui::OptionsEvents& events) {
  OptionsDialog(events).Run(instance, owner);
}

}  // namespace tw::win32
