// The labels of Typewell's windows: a background colour and a line of text, painted by us. An
// entry label takes the focus, shows it once the user works with the keyboard, and is named for
// a screen reader by its window.
#include <windows.h>

#include "ui/colours.h"
#include "win32/system/scoped_handles.h"
#include "win32/system/system.h"
#include "win32/windows/control_input.h"

namespace tw::win32 {

namespace {

constexpr int kLabelMargin = 2;  // pixels between a label's left edge and its text
// A label keeps its font and its colour (kNoLabelColour: none) in its window's extra bytes.
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
  const std::wstring text = WindowText(label);
  RECT textRect = r;
  textRect.left += kLabelMargin;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
            DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS);
  // The focus shows once the user works with the keyboard (the window's UI state says so).
  if (GetFocus() == label && (SendMessageW(label, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0) {
    DrawFocusRect(dc, &r);
  }
}

}  // namespace

LRESULT LabelMessage(ControlEvents& events, HWND label, UINT message, WPARAM wParam,
                     LPARAM lParam) {
  const ControlMessage m{label, message, wParam, lParam, DefWindowProcW};
  if (const auto answer = ControlMessages::OnMessage(events, m)) return *answer;
  switch (message) {
    case WM_SETFONT:
      SetWindowLongPtrW(label, kFontSlot, static_cast<LONG_PTR>(wParam));
      if (LOWORD(lParam) != 0) InvalidateRect(label, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return GetWindowLongPtrW(label, kFontSlot);
    case WM_SETTEXT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE: {
      const LRESULT result = m.RunDefault();
      InvalidateRect(label, nullptr, message == WM_SETTEXT);
      return result;
    }
    case WM_NCPAINT:
      return HasFrame(label) ? m.RunDefault() : 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      PaintLabel(label);
      return 0;
    default:
      return m.RunDefault();
  }
}

void SetLabelColour(HWND label, COLORREF colour) {
  if (static_cast<COLORREF>(GetWindowLongPtrW(label, kColourSlot)) == colour) return;
  SetWindowLongPtrW(label, kColourSlot, static_cast<LONG_PTR>(colour));
  InvalidateRect(label, nullptr, TRUE);
}

}  // namespace tw::win32
