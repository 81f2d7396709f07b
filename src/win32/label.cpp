// The labels of Typewell's windows: a background colour and a line of text, painted by us. An
// entry label takes the focus, shows it once the user works with the keyboard, and is named for
// a screen reader by its window.
#include <windows.h>

#include <iterator>
#include <optional>

#include "ui/colours.h"
#include "win32/control_input.h"
#include "win32/scoped_handles.h"

namespace tw::win32 {

namespace {

constexpr int kLabelMargin = 2;  // pixels between a label's left edge and its text
// A label keeps its font, its colour and whether it has a colour in its window's extra bytes.
constexpr int kFontSlot = 0;
constexpr int kColourSlot = sizeof(LONG_PTR);

ui::Rgb ToRgb(COLORREF c) {
  return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

bool HighContrast() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// An entry label in its chosen colour with a text that contrasts with it, or the system's
// window colours in high contrast; another label in the colours of the window's face.
ui::LabelColours ColoursOf(HWND label) {
  const auto chosen = static_cast<COLORREF>(GetWindowLongPtrW(label, kColourSlot));
  if (chosen == kNoLabelColour) {
    return {ToRgb(GetSysColor(COLOR_BTNFACE)), ToRgb(GetSysColor(COLOR_BTNTEXT))};
  }
  return ui::LabelColoursFor(
      ToRgb(chosen), HighContrast(),
      {ToRgb(GetSysColor(COLOR_WINDOW)), ToRgb(GetSysColor(COLOR_WINDOWTEXT))});
}

void PaintLabel(HWND label) {
  PaintScope paint(label);
  RECT r;
  GetClientRect(label, &r);
  const ui::LabelColours colours = ColoursOf(label);
  HDC dc = paint.dc();
  SelectScope brush(dc, GetStockObject(DC_BRUSH));
  SetDCBrushColor(dc,
                  RGB(colours.background.red, colours.background.green, colours.background.blue));
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  const auto font = reinterpret_cast<HGDIOBJ>(GetWindowLongPtrW(label, kFontSlot));
  SelectScope selected(dc, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(colours.text.red, colours.text.green, colours.text.blue));
  wchar_t text[256];
  const int length = GetWindowTextW(label, text, static_cast<int>(std::size(text)));
  RECT textRect = r;
  textRect.left += kLabelMargin;
  DrawTextW(dc, text, length, &textRect,
            DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
  // The focus shows once the user works with the keyboard (the window's UI state says so).
  if (GetFocus() == label && (SendMessageW(label, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0) {
    DrawFocusRect(dc, &r);
  }
}

std::optional<LRESULT> OnLabelMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFONT:
      SetWindowLongPtrW(window, kFontSlot, static_cast<LONG_PTR>(wParam));
      if (LOWORD(lParam) != 0) InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return GetWindowLongPtrW(window, kFontSlot);
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, TRUE);
      return result;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE: {
      const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
      InvalidateRect(window, nullptr, FALSE);
      return result;
    }
    case WM_NCPAINT:
      if (!HasFrame(window)) return 0;
      return std::nullopt;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      PaintLabel(window);
      return 0;
    default:
      return std::nullopt;
  }
}

}  // namespace

LRESULT CALLBACK LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    const auto runDefault = [&] { return DefWindowProcW(window, message, wParam, lParam); };
    if (const auto answer = OnAccessibilityMessage(window, message, wParam, lParam)) {
      return *answer;
    }
    if (IsPressMessage(message) &&
        PressTracking::OnMessage(window, message, wParam, lParam, runDefault)) {
      return 0;
    }
    if (IsKeyMessage(message)) {
      if (const auto result =
              OnKeyMessage(window, KeySet::Label, message, wParam, lParam, runDefault)) {
        return *result;
      }
    }
    if (const auto result = OnLabelMessage(window, message, wParam, lParam)) return *result;
  } catch (...) {
    OutputDebugStringA("Typewell: an event handler of a label failed\n");
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void SetLabelColour(HWND label, COLORREF colour) {
  if (static_cast<COLORREF>(GetWindowLongPtrW(label, kColourSlot)) == colour) return;
  SetWindowLongPtrW(label, kColourSlot, static_cast<LONG_PTR>(colour));
  InvalidateRect(label, nullptr, TRUE);
}

}  // namespace tw::win32
