// The Win32 forms backend: creation of the windows of forms and controls, and the rendering of
// the toolkit objects' property changes. The window procedures live in control_windows.cpp, the
// message loop in message_loop.cpp.
#include "win32/win32_backend.h"

#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "forms/toolkit.h"
#include "win32/ansi_text.h"
#include "win32/backend_windows.h"

namespace tw::win32 {

using forms::Control;
using forms::ControlKind;
using forms::Form;
using forms::Property;

namespace {

int PositionOf(const Control& control) {
  const Form& form = control.form();
  for (int i = 0; i < form.controlCount(); ++i) {
    if (&form.controlAt(i) == &control) return i;
  }
  return -1;
}

int ShiftState(WPARAM wParam) {
  int shift = 0;
  if ((wParam & MK_SHIFT) != 0) shift |= forms::kShiftKey;
  if ((wParam & MK_CONTROL) != 0) shift |= forms::kCtrlKey;
  if (GetKeyState(VK_MENU) < 0) shift |= forms::kAltKey;
  return shift;
}

int ButtonsHeld(WPARAM wParam) {
  int buttons = 0;
  if ((wParam & MK_LBUTTON) != 0) buttons |= forms::kLeftButton;
  if ((wParam & MK_RBUTTON) != 0) buttons |= forms::kRightButton;
  if ((wParam & MK_MBUTTON) != 0) buttons |= forms::kMiddleButton;
  return buttons;
}

struct WindowKind {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

WindowKind WindowKindOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::PushButton:
      return {kButtonClass, BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::OptionButton:
      return {kButtonClass, BS_RADIOBUTTON | WS_TABSTOP, 0};
    case ControlKind::TextBox:
      return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0};
    case ControlKind::Label:
      return {kLabelClass, 0, 0};
    case ControlKind::Container:
      return {kContainerClass, 0, WS_EX_CONTROLPARENT};
    case ControlKind::FocusSink:
      return {kFocusSinkClass, WS_TABSTOP, 0};
    case ControlKind::Timer:
      break;
  }
  return {nullptr, 0, 0};
}

void EnableAll(const std::vector<HWND>& windows) {
  for (HWND h : windows) {
    if (IsWindow(h)) EnableWindow(h, TRUE);
  }
}

// A control inside a hidden container (a page not shown yet) gets its window only when that
// container is first shown: most of the main window's controls lie on pages that are often
// never opened, and every window costs start-up time and objects of the window system.
bool Deferred(const Control& control) {
  for (const Control* c = &control; c != nullptr; c = c->container()) {
    if (c->kind() == ControlKind::Container && !c->visible()) return true;
  }
  return false;
}

// The controls placed directly in container (nullptr: the form itself), with their positions in
// the form, from the top of the stacking to the bottom.
std::vector<std::pair<Control*, int>> InStackingOrder(Form& form, const Control* container) {
  std::vector<std::pair<Control*, int>> siblings;
  for (int i = 0; i < form.controlCount(); ++i) {
    Control& c = form.controlAt(i);
    if (c.container() == container) siblings.emplace_back(&c, i);
  }
  // A stable sort, and a small one: a form has a few dozen controls at most.
  for (std::size_t i = 1; i < siblings.size(); ++i) {
    for (std::size_t j = i; j > 0 && siblings[j - 1].first->zOrder() < siblings[j].first->zOrder();
         --j) {
      std::swap(siblings[j - 1], siblings[j]);
    }
  }
  return siblings;
}

bool Within(const Control& control, const Control& container) {
  for (const Control* c = &control; c != nullptr; c = c->container()) {
    if (c == &container) return true;
  }
  return false;
}

// Whether the window's text is already exactly this one.
bool ShowsText(HWND window, const std::wstring& text) {
  const int length = GetWindowTextLengthW(window);
  if (length != static_cast<int>(text.size())) return false;
  std::wstring shown(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(window, shown.data(), length + 1);
  shown.resize(static_cast<std::size_t>(length));
  return shown == text;
}

bool HasText(ControlKind kind) {
  return kind == ControlKind::PushButton || kind == ControlKind::OptionButton ||
         kind == ControlKind::TextBox || kind == ControlKind::Label;
}

}  // namespace

Win32Backend::Win32Backend(HINSTANCE instance) : instance_(instance) {
  WindowDC screen(nullptr);
  const int dpiX = GetDeviceCaps(screen.get(), LOGPIXELSX);
  const int dpiY = GetDeviceCaps(screen.get(), LOGPIXELSY);
  if (dpiX > 0) twipsPerPixelX_ = 1440.0 / dpiX;
  if (dpiY > 0) twipsPerPixelY_ = 1440.0 / dpiY;
  RegisterWindowClasses(instance);
}

Win32Backend::~Win32Backend() = default;

forms::Twips Win32Backend::screenWidth() const {
  return static_cast<forms::Twips>(GetSystemMetrics(SM_CXSCREEN) * twipsPerPixelX_);
}

forms::Twips Win32Backend::screenHeight() const {
  return static_cast<forms::Twips>(GetSystemMetrics(SM_CYSCREEN) * twipsPerPixelY_);
}

int Win32Backend::toPixelsX(forms::Twips t) const {
  return static_cast<int>(std::lround(t / twipsPerPixelX_));
}

int Win32Backend::toPixelsY(forms::Twips t) const {
  return static_cast<int>(std::lround(t / twipsPerPixelY_));
}

RECT Win32Backend::pixelRect(const forms::Rect& r) const {
  const int left = toPixelsX(r.left);
  const int top = toPixelsY(r.top);
  return RECT{left, top, left + toPixelsX(r.width), top + toPixelsY(r.height)};
}

RECT Win32Backend::controlPixelRect(const Control& control) const {
  const forms::Rect absolute = control.absoluteBounds();
  int originX = 0;
  int originY = 0;
  if (const Control* container = control.container()) {
    const forms::Rect outer = container->absoluteBounds();
    originX = toPixelsX(outer.left);
    originY = toPixelsY(outer.top);
  }
  const int left = toPixelsX(absolute.left);
  const int top = toPixelsY(absolute.top);
  return RECT{left - originX, top - originY, left - originX + toPixelsX(absolute.width),
              top - originY + toPixelsY(absolute.height)};
}

void Win32Backend::placeControlWindow(const Control& control) const {
  HWND window = WindowOf(control);
  if (window == nullptr) return;
  const RECT r = controlPixelRect(control);
  SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND Win32Backend::WindowOf(const Control& control) {
  if (control.kind() == ControlKind::Timer) return nullptr;
  return reinterpret_cast<HWND>(control.native);
}

HWND Win32Backend::WindowOf(const Form& form) {
  const FormWindow* fw = FormWindowOf(form);
  return fw != nullptr ? fw->window.get() : nullptr;
}

HWND Win32Backend::ToolTipOf(const Form& form) {
  const FormWindow* fw = FormWindowOf(form);
  return fw != nullptr ? fw->toolTip.get() : nullptr;
}

HWND Win32Backend::DragOutlineOf(const Form& form) {
  const FormWindow* fw = FormWindowOf(form);
  return fw != nullptr ? fw->outline.window() : nullptr;
}

DWORD Win32Backend::formStyle(const Form& form) const {
  DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (form.style().minimizeBox) style |= WS_MINIMIZEBOX;
  return style;
}

DWORD Win32Backend::formExStyle(const Form& form) const {
  DWORD exStyle = WS_EX_CONTROLPARENT;
  if (form.style().border == forms::BorderStyle::FixedDialog) exStyle |= WS_EX_DLGMODALFRAME;
  return exStyle;
}

forms::Point Win32Backend::outerSizeForClient(const Form& form, forms::Twips clientWidth,
                                              forms::Twips clientHeight) {
  RECT r{0, 0, toPixelsX(clientWidth), toPixelsY(clientHeight)};
  AdjustWindowRectEx(&r, formStyle(form), FALSE, formExStyle(form));
  return {static_cast<forms::Twips>((r.right - r.left) * twipsPerPixelX_),
          static_cast<forms::Twips>((r.bottom - r.top) * twipsPerPixelY_)};
}

void Win32Backend::createForm(Form& form) {
  auto fw = std::make_unique<FormWindow>();
  fw->backend = this;
  fw->form = &form;
  FlagScope applying(fw->applying);

  HWND owner = nullptr;
  if (form.style().border == forms::BorderStyle::FixedDialog) {
    const forms::Toolkit& toolkit = form.toolkit();
    for (int i = 0; i < toolkit.formCount() && owner == nullptr; ++i) {
      if (&toolkit.formAt(i) != &form) owner = WindowOf(toolkit.formAt(i));
    }
  }
  HWND window =
      CreateWindowExW(formExStyle(form), kFormClass, L"", formStyle(form), toPixelsX(form.left()),
                      toPixelsY(form.top()), toPixelsX(form.width()), toPixelsY(form.height()),
                      owner, nullptr, instance_, fw.get());
  if (window == nullptr) throw std::runtime_error("the window of a form cannot be created");
  fw->window.reset(window);
  SetWindowTextW(window, AnsiToWide(form.caption()).c_str());
  // The tool tip window has no owner: a window that owns a topmost popup cannot itself be made
  // topmost under Wine (SetWindowPos(HWND_TOPMOST) then succeeds and changes nothing), and the
  // form must join the topmost band later, at its load and after every show. The tools
  // subclass the controls, so the tips work the same without an owner.
  fw->toolTip.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                    WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                    instance_, nullptr));
  form.native = reinterpret_cast<std::uintptr_t>(fw.get());
  form.setHwnd(reinterpret_cast<std::uintptr_t>(window));
  FormWindow& record = *fw;
  forms_.push_back(std::move(fw));

  createWindows(record, nullptr);
  applyStacking(form, nullptr);
  if (startupTrace_ != nullptr) startupTrace_->mark("form_windows");
  for (int i = 0; i < form.controlCount(); ++i) {
    if (form.controlAt(i).kind() == ControlKind::Container) applyStacking(form, &form.controlAt(i));
  }
}

void Win32Backend::realise(Control& container) {
  FormWindow* fw = FormWindowOf(container.form());
  if (fw == nullptr) return;
  Form& form = container.form();
  for (int i = 0; i < form.controlCount() && WindowOf(container) == nullptr; ++i) {
    if (&form.controlAt(i) == &container && !Deferred(container)) createControl(*fw, container, i);
  }
  createWindows(*fw, &container);
  applyStacking(form, container.container());
  for (int i = 0; i < form.controlCount(); ++i) {
    Control& c = form.controlAt(i);
    if (c.kind() == ControlKind::Container && Within(c, container)) applyStacking(form, &c);
  }
}

// A new child window goes to the bottom of its siblings: made from the top of the stacking
// down, the windows need no restacking (each restacking is a round trip to the window system).
void Win32Backend::createWindows(FormWindow& fw, const Control* container) {
  for (const auto& [c, position] : InStackingOrder(*fw.form, container)) {
    if (Deferred(*c)) continue;
    if (WindowOf(*c) == nullptr) createControl(fw, *c, position);
    if (c->kind() == ControlKind::Container) createWindows(fw, c);
  }
}

void Win32Backend::createControl(FormWindow& fw, Control& control, int position) {
  if (control.kind() == ControlKind::Timer) {
    applyTimer(control);
    return;
  }
  const WindowKind kind = WindowKindOf(control.kind());
  HWND parent = control.container() != nullptr ? WindowOf(*control.container()) : fw.window.get();
  DWORD style = kind.style | WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  if (control.visible()) style |= WS_VISIBLE;
  if (!control.enabled()) style |= WS_DISABLED;
  const RECT r = controlPixelRect(control);
  const auto id = static_cast<INT_PTR>(kFirstControlId + position);
  const std::wstring text = HasText(control.kind()) ? AnsiToWide(control.caption()) : L"";
  HWND window = CreateWindowExW(kind.exStyle, kind.className, text.c_str(), style, r.left, r.top,
                                r.right - r.left, r.bottom - r.top, parent,
                                reinterpret_cast<HMENU>(id), instance_, &control);
  if (window == nullptr) throw std::runtime_error("the window of " + control.name() + " fails");
  if (control.kind() == ControlKind::PushButton || control.kind() == ControlKind::OptionButton ||
      control.kind() == ControlKind::TextBox) {
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&control));
    SubclassControlWindow(window);
  }
  control.native = reinterpret_cast<std::uintptr_t>(window);
  SendMessageW(window, WM_SETFONT,
               reinterpret_cast<WPARAM>(font(control.bold() ? Weight::Bold : Weight::Normal)), 0);
  if (control.kind() == ControlKind::OptionButton) {
    SendMessageW(window, BM_SETCHECK, control.selected() ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  if (control.kind() == ControlKind::TextBox) {
    SendMessageW(window, EM_LIMITTEXT, static_cast<WPARAM>(std::max(control.maxLength(), 0)), 0);
  }
  if (!control.toolTip().empty()) applyToolTip(control);
}

void Win32Backend::applyStacking(Form& form, const Control* container) {
  HWND after = HWND_TOP;
  for (const auto& [c, position] : InStackingOrder(form, container)) {
    HWND window = WindowOf(*c);
    if (window == nullptr) continue;
    // Windows are made in the order of the stacking: one already in its place stays.
    const HWND inPlace =
        after == HWND_TOP ? GetWindow(GetParent(window), GW_CHILD) : GetWindow(after, GW_HWNDNEXT);
    if (inPlace != window) {
      SetWindowPos(window, after, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
    after = window;
  }
}

void Win32Backend::applyToolTip(Control& control) {
  const FormWindow* fw = FormWindowOf(control.form());
  HWND window = WindowOf(control);
  if (fw == nullptr || !fw->toolTip || window == nullptr) return;
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(window);
  tool.uId = reinterpret_cast<UINT_PTR>(window);
  SendMessageW(fw->toolTip.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  if (control.toolTip().empty()) return;
  std::wstring text = AnsiToWide(control.toolTip());
  tool.lpszText = text.data();  // copied by the tool tip
  SendMessageW(fw->toolTip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32Backend::applyTimer(Control& control) {
  HWND window = WindowOf(control.form());
  const int position = PositionOf(control);
  if (window == nullptr || position < 0) return;
  const auto id = static_cast<UINT_PTR>(kFirstControlId + position);
  KillTimer(window, id);
  control.native = id;
  if (control.enabled() && control.interval() > 0) {
    SetTimer(window, id, static_cast<UINT>(control.interval()), nullptr);
  }
}

void Win32Backend::destroyForm(Form& form) {
  FormWindow* fw = FormWindowOf(form);
  if (fw == nullptr) return;
  // The owner must be enabled before its modal dialog goes: Windows hands the activation of a
  // destroyed window to its owner only if that can take it, and otherwise to another program.
  EnableAll(fw->disabledWhileModal);
  // From here on the windows' procedures no longer call into the toolkit.
  form.native = 0;
  SetWindowLongPtrW(fw->window.get(), GWLP_USERDATA, 0);
  std::erase_if(forms_, [fw](const std::unique_ptr<FormWindow>& f) { return f.get() == fw; });
  for (int i = 0; i < form.controlCount(); ++i) form.controlAt(i).native = 0;
}

void Win32Backend::applyBounds(FormWindow& fw) {
  const Form& form = *fw.form;
  HWND window = fw.window.get();
  const int left = toPixelsX(form.left());
  const int top = toPixelsY(form.top());
  const int width = toPixelsX(form.width());
  const int height = toPixelsY(form.height());
  FlagScope applying(fw.applying);
  if (IsIconic(window)) {
    // A minimised window keeps the position it will be restored to.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(window, &placement);
    placement.rcNormalPosition = RECT{left, top, left + width, top + height};
    placement.showCmd = SW_SHOWMINNOACTIVE;
    placement.flags = 0;
    SetWindowPlacement(window, &placement);
  } else {
    SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Win32Backend::formChanged(Form& form, forms::FormProperty property) {
  FormWindow* fw = FormWindowOf(form);
  if (fw == nullptr) return;
  HWND window = fw->window.get();
  switch (property) {
    case forms::FormProperty::Caption:
      SetWindowTextW(window, AnsiToWide(form.caption()).c_str());
      break;
    case forms::FormProperty::Bounds:
      applyBounds(*fw);
      break;
    case forms::FormProperty::WindowState: {
      if (!IsWindowVisible(window)) break;  // showing applies the state
      FlagScope applying(fw->applying);
      switch (form.windowState()) {
        case forms::WindowState::Minimized:
          ShowWindow(window, SW_MINIMIZE);
          break;
        case forms::WindowState::Maximized:
          ShowWindow(window, SW_MAXIMIZE);
          break;
        case forms::WindowState::Normal:
          ShowWindow(window, SW_RESTORE);
          break;
      }
      break;
    }
  }
}

void Win32Backend::showForm(Form& form) {
  FormWindow* fw = FormWindowOf(form);
  if (fw == nullptr) return;
  HWND window = fw->window.get();
  const forms::WindowState state = form.windowState();
  {
    FlagScope applying(fw->applying);
    ShowWindow(window, state == forms::WindowState::Minimized   ? SW_SHOWMINNOACTIVE
                       : state == forms::WindowState::Maximized ? SW_SHOWMAXIMIZED
                                                                : SW_SHOWNORMAL);
  }
  if (startupTrace_ != nullptr) startupTrace_->mark("window_shown");
  if (state != forms::WindowState::Minimized) {
    if (Control* focused = form.focused(); focused != nullptr && WindowOf(*focused) != nullptr) {
      SetFocus(WindowOf(*focused));
    }
  }
  UpdateWindow(window);
}

void Win32Backend::dpiChanged(Form& form, int dpi, const RECT& suggested) {
  if (dpi <= 0) return;
  twipsPerPixelX_ = twipsPerPixelY_ = 1440.0 / dpi;
  fonts_ = SharedFonts(dpi);
  for (const auto& fw : forms_) {
    const Form& each = *fw->form;
    for (int i = 0; i < each.controlCount(); ++i) {
      const Control& c = each.controlAt(i);
      HWND window = WindowOf(c);
      if (window == nullptr) continue;
      placeControlWindow(c);
      SendMessageW(window, WM_SETFONT,
                   reinterpret_cast<WPARAM>(font(c.bold() ? Weight::Bold : Weight::Normal)), TRUE);
    }
  }
  if (HWND window = WindowOf(form)) {
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Win32Backend::controlChanged(Control& control, Property property) {
  if (control.kind() == ControlKind::Timer) {
    if (property == Property::Timer || property == Property::Enabled) applyTimer(control);
    return;
  }
  HWND window = WindowOf(control);
  if (window == nullptr) {
    // A container shown for the first time: its windows are made now, as it stands.
    if (property == Property::Visible && control.kind() == ControlKind::Container &&
        !Deferred(control)) {
      realise(control);
    }
    return;
  }
  switch (property) {
    case Property::Caption:
      // Setting a text a window already shows would only repaint it (60 captions at start-up).
      if (HasText(control.kind())) {
        const std::wstring text = AnsiToWide(control.caption());
        if (ShowsText(window, text)) break;
        SetWindowTextW(window, text.c_str());
        if (control.kind() == ControlKind::Label) InvalidateRect(window, nullptr, TRUE);
      }
      break;
    case Property::Bounds:
      placeControlWindow(control);
      if (control.kind() == ControlKind::Container) {
        // Children are placed from their edges in the client area, which moved with it.
        Form& form = control.form();
        for (int i = 0; i < form.controlCount(); ++i) {
          const Control& child = form.controlAt(i);
          for (const Control* up = child.container(); up != nullptr; up = up->container()) {
            if (up == &control) {
              placeControlWindow(child);
              break;
            }
          }
        }
      }
      break;
    case Property::Visible:
      ShowWindow(window, control.visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case Property::Enabled:
      EnableWindow(window, control.enabled() ? TRUE : FALSE);
      break;
    case Property::BackColor:
      InvalidateRect(window, nullptr, TRUE);
      break;
    case Property::Bold: {
      // A weight pass sets every control's weight; only a changed font repaints.
      const HFONT wanted = font(control.bold() ? Weight::Bold : Weight::Normal);
      if (reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)) != wanted) {
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(wanted), TRUE);
      }
      break;
    }
    case Property::ToolTip:
      applyToolTip(control);
      break;
    case Property::Selected:
      SendMessageW(window, BM_SETCHECK, control.selected() ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case Property::MaxLength:
      SendMessageW(window, EM_LIMITTEXT, static_cast<WPARAM>(std::max(control.maxLength(), 0)), 0);
      break;
    case Property::ZOrder:
      applyStacking(control.form(), control.container());
      break;
    case Property::Timer:
      break;
  }
}

void Win32Backend::setFocus(Control& control) {
  if (HWND window = WindowOf(control)) SetFocus(window);
}

void Win32Backend::showDragOutline(Form& form, const forms::Rect& rect) {
  // No tool tip pops up over the labels that the pointer passes during a drag.
  if (FormWindow* fw = FormWindowOf(form); fw != nullptr && fw->toolTip) {
    SendMessageW(fw->toolTip.get(), TTM_ACTIVATE, FALSE, 0);
  }
  moveDragOutline(form, rect);
}

void Win32Backend::moveDragOutline(Form& form, const forms::Rect& rect) {
  FormWindow* fw = FormWindowOf(form);
  if (fw == nullptr) return;
  RECT r = pixelRect(rect);
  MapWindowPoints(fw->window.get(), nullptr, reinterpret_cast<POINT*>(&r), 2);
  fw->outline.showAt(instance_, r);
}

void Win32Backend::hideDragOutline(Form& form) {
  FormWindow* fw = FormWindowOf(form);
  if (fw == nullptr) return;
  fw->outline.hide();
  if (fw->toolTip) SendMessageW(fw->toolTip.get(), TTM_ACTIVATE, TRUE, 0);
}

void Win32Backend::releaseCapture(Form& form) {
  if (deferCaptureRelease) return;
  const FormWindow* fw = FormWindowOf(form);
  HWND captured = GetCapture();
  if (fw == nullptr || captured == nullptr) return;
  if (captured == fw->window.get() || IsChild(fw->window.get(), captured)) ReleaseCapture();
}

Control* Win32Backend::controlUnder(const FormWindow& fw, POINT screen) const {
  HWND formWindow = fw.window.get();
  HWND top = WindowFromPoint(screen);
  if (top == nullptr || GetAncestor(top, GA_ROOT) != formWindow) return nullptr;
  // Down through the containers to the topmost visible window at the point, disabled included.
  HWND parent = formWindow;
  for (;;) {
    POINT local = screen;
    ScreenToClient(parent, &local);
    HWND child = ChildWindowFromPointEx(parent, local, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (child == nullptr || child == parent) break;
    parent = child;
  }
  for (HWND w = parent; w != nullptr && w != formWindow; w = GetParent(w)) {
    if (Control* c = ControlOfWindow(w)) return c;
  }
  return nullptr;
}

void Win32Backend::mouseInput(Form& form, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const FormWindow* fw = FormWindowOf(form);
  if (fw == nullptr) return;
  POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ClientToScreen(window, &screen);
  POINT client = screen;
  ScreenToClient(fw->window.get(), &client);
  const forms::Point at{static_cast<forms::Twips>(client.x * twipsPerPixelX_),
                        static_cast<forms::Twips>(client.y * twipsPerPixelY_)};
  Control* under = controlUnder(*fw, screen);
  const int shift = ShiftState(wParam);
  int button = 0;
  bool down = false;
  switch (message) {
    case WM_MOUSEMOVE:
      form.pointerMove(under, ButtonsHeld(wParam), shift, at);
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      button = forms::kLeftButton, down = true;
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      button = forms::kRightButton, down = true;
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      button = forms::kMiddleButton, down = true;
      break;
    case WM_LBUTTONUP:
      button = forms::kLeftButton;
      break;
    case WM_RBUTTONUP:
      button = forms::kRightButton;
      break;
    case WM_MBUTTONUP:
      button = forms::kMiddleButton;
      break;
    default:
      return;
  }
  if (down) {
    // Keep the pointer until every button is up, so that the release comes back here.
    if (GetCapture() != window) SetCapture(window);
    form.pointerDown(under, button, shift, at);
    return;
  }
  form.pointerUp(under, button, shift, at);
  if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && !deferCaptureRelease &&
      GetCapture() == window) {
    ReleaseCapture();
  }
}

void Win32Backend::showModal(Form& form) {
  HWND previous = GetActiveWindow();
  std::vector<HWND> disabled;
  const forms::Toolkit& toolkit = form.toolkit();
  for (int i = 0; i < toolkit.formCount(); ++i) {
    HWND other = WindowOf(toolkit.formAt(i));
    if (&toolkit.formAt(i) != &form && other != nullptr && IsWindowEnabled(other)) {
      EnableWindow(other, FALSE);
      disabled.push_back(other);
    }
  }
  if (FormWindow* fw = FormWindowOf(form)) fw->disabledWhileModal = disabled;
  showForm(form);
  while (form.loaded()) {
    MSG msg;
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
      break;
    }
    if (got == -1) break;
    DispatchWithDialogKeys(msg);
  }
  EnableAll(disabled);  // also when the loop ended with the form still loaded
  if (previous != nullptr && IsWindow(previous)) SetActiveWindow(previous);
}

}  // namespace tw::win32
