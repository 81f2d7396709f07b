#include "win32/fonts.h"

namespace tw::win32 {

namespace {
LOGFONTW MessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    return metrics.lfMessageFont;
  }
  LOGFONTW fallback{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(fallback), &fallback);
  return fallback;
}
}  // namespace

SharedFonts::SharedFonts(int dpi) {
  LOGFONTW font = MessageFont();
  if (dpi > 0) {
    // The system reports the font for its own DPI; a monitor of another DPI gets it scaled.
    WindowDC screen(nullptr);
    const int systemDpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    if (systemDpi > 0) font.lfHeight = MulDiv(font.lfHeight, dpi, systemDpi);
  }
  font.lfWeight = FW_NORMAL;
  normal_.reset(CreateFontIndirectW(&font));
  font.lfWeight = FW_BOLD;
  bold_.reset(CreateFontIndirectW(&font));
}

}  // namespace tw::win32
