#include "win32/windows/options_dialog.h"

#include <memory>
#include <vector>

#include "store/settings_file.h"
#include "win32/system/dpi.h"
#include "win32/system/fonts.h"
#include "win32/system/icons.h"
#include "win32/system/window_binding.h"
#include "win32/windows/controls.h"

namespace tw::win32 {

namespace {

// A choice, by a release or a key, is made from the dialog's message loop, not inside the
// option button's own handling (a report of a failed save runs a loop of its own).
constexpr UINT kChooseMessage = WM_APP + 1;
constexpr ui::TwipsRect kClientArea{0, 0, ui::kDialogClientWidth, ui::kDialogClientHeight};

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

  bool Run(HINSTANCE instance, HWND owner) {
    const std::vector<WORD> dialogTemplate = EmptyTemplate();
    return DialogBoxIndirectParamW(instance,
                                   reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
                                   owner, Bind, reinterpret_cast<LPARAM>(this)) != -1 &&
           made_;
  }

  LRESULT OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_COMMAND:
        // "OK" (also by Enter, as the default button), the close box and Esc (IDCANCEL).
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK ||
            (HIWORD(wParam) == BN_CLICKED &&
             ui::ClickIntent(ui::ControlOf(LOWORD(wParam))).act == ui::Act::Close)) {
          EndDialog(dialog_, 0);
        }
        return 0;
      case kChooseMessage:
        Choose(ui::ControlOf(static_cast<int>(wParam)));
        return 0;
      case WM_CLOSE:
        EndDialog(dialog_, 0);
        return 0;
      case WM_DPICHANGED:
        SetWindowIcons(dialog_, HIWORD(wParam));
        LayOut(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam)->left,
               reinterpret_cast<const RECT*>(lParam)->top);
        return 0;
      case WM_SYSCOLORCHANGE:
      case WM_SETTINGCHANGE:
      case WM_THEMECHANGED:
        OnSystemChange(message, wParam, lParam);
        return 0;
      default:
        return DefSubclassProc(dialog, message, wParam, lParam);
    }
  }

 private:
  // The dialog's own procedure binds it: from WM_INITDIALOG on, every message reaches the object
  // through its subclass. A dialog whose controls cannot be made closes at once.
  static INT_PTR CALLBACK Bind(HWND dialog, UINT message, WPARAM, LPARAM lParam) noexcept {
    if (message != WM_INITDIALOG) return FALSE;
    auto& self = *reinterpret_cast<OptionsDialog*>(lParam);
    self.dialog_ = dialog;
    AtTheEdge([&] {
      self.made_ = Subclass<OptionsDialog, &OptionsDialog::OnMessage>(dialog, self) && self.Make();
      if (!self.made_) EndDialog(dialog, -1);
      return 0;
    });
    return FALSE;  // the focus is set
  }

  bool Make() {
    const int dpi = DpiOf(dialog_);
    SetWindowIcons(dialog_, dpi);
    fonts_ = std::make_unique<SharedFonts>(dpi);
    if (!CreateControls(dialog_, ui::kDialogControls, kClientArea, fonts_->LayoutDpi(), *this)) {
      return false;
    }
    SendMessageW(dialog_, DM_SETDEFID, ui::kOkButtonId, 0);
    RECT main{};
    GetWindowRect(GetWindow(dialog_, GW_OWNER), &main);
    LayOut(dpi, main.left, main.top);
    // Above the main window, which is itself topmost.
    SetWindowPos(dialog_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetFocus(FindControl(dialog_, ui::kFirstFontOptionId + events_.Current().font));
    return true;
  }

  // The dialog and its controls at their place for the DPI and the text size, with fonts for it.
  void LayOut(int dpi, int left, int top) {
    fonts_ = std::make_unique<SharedFonts>(dpi);
    const int layoutDpi = fonts_->LayoutDpi();
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(dialog_, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(dialog_, GWL_EXSTYLE));
    const SIZE outer = OuterSize({ui::TwipsToPixels(ui::kDialogClientWidth, layoutDpi),
                                  ui::TwipsToPixels(ui::kDialogClientHeight, layoutDpi)},
                                 style, exStyle, dpi);
    SetWindowPos(dialog_, nullptr, left, top, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    PlaceControls(dialog_, ui::kDialogControls, kClientArea, layoutDpi);
    ShowChoices();
  }

  // The system's colours, fonts or text size changed: the dialog takes them at once, as the main
  // window does; its system controls hear of the colours from it.
  void OnSystemChange(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOLORCHANGE) ForwardToControls(dialog_, message, wParam, lParam);
    RECT place{};
    GetWindowRect(dialog_, &place);
    LayOut(DpiOf(dialog_), place.left, place.top);
    RedrawWindow(dialog_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }

  // The stored choices marked, and every text in the stored weight.
  void ShowChoices() {
    const ui::Choices current = events_.Current();
    for (int i = 0; i < store::kFontChoiceCount; ++i) {
      CheckOption(FindControl(dialog_, ui::kFirstFontOptionId + i), i == current.font);
    }
    for (int i = 0; i < store::kColourChoiceCount; ++i) {
      CheckOption(FindControl(dialog_, ui::kFirstColourOptionId + i), i == current.colour);
    }
    SetFontOfChildren(dialog_, fonts_->Get(current.font == 1));
  }

  void Choose(ui::Control choice) {
    if (choice.role == ui::Role::FontChoice) {
      events_.OnFontChosen(choice.index);
    } else if (choice.role == ui::Role::ColourChoice) {
      events_.OnColourChosen(choice.index);
    } else {
      return;
    }
    ShowChoices();
  }

  void OnControlReleased(HWND control) override { Post(ControlOf(control)); }
  // The arrows move to the next choice of the group and choose it, as a click does; Space
  // chooses the one with the focus; Enter on "OK" closes. The focus arriving at a choice chooses
  // nothing.
  void OnControlKey(HWND control, ui::KeyPress key) override {
    const ui::Intent intent = ui::KeyIntent(ControlOf(control), key, {});
    if (intent.act == ui::Act::Close) EndDialog(dialog_, 0);
    if (intent.act != ui::Act::Choose) return;
    SetFocus(FindControl(dialog_, ui::IdOf(intent.control)));
    Post(intent.control);
  }
  void Post(ui::Control choice) {
    PostMessageW(dialog_, kChooseMessage, static_cast<WPARAM>(ui::IdOf(choice)), 0);
  }

  ui::OptionsEvents& events_;
  HWND dialog_ = nullptr;
  bool made_ = false;
  std::unique_ptr<SharedFonts> fonts_;
};

}  // namespace

bool RunOptionsDialog(HINSTANCE instance, HWND owner, ui::OptionsEvents& events) {
  return OptionsDialog(events).Run(instance, owner);
}

}  // namespace tw::win32
