#include "win32/system/fonts.h"

#include "win32/system/dpi.h"

namespace tw::win32 {

namespace {

// The height of a line of the font, in pixels.
int LineHeight(HFONT font) {
  const WindowDC screen(nullptr);
  SelectScope selected(screen.get(), font);
  TEXTMETRICW metrics{};
  return GetTextMetricsW(screen.get(), &metrics) ? metrics.tmHeight : 0;
}

}  // namespace

SharedFonts::SharedFonts(int dpi) {
  LOGFONTW font = MessageFont(dpi);
  font.lfWeight = FW_NORMAL;
  normal_.reset(CreateFontIndirectW(&font));
  font.lfWeight = FW_BOLD;
  bold_.reset(CreateFontIndirectW(&font));
  layoutDpi_ = ui::LayoutDpi(dpi, LineHeight(bold_.get()));
}

}  // namespace tw::win32
