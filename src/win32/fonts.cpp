#include "win32/fonts.h"

#include "win32/dpi.h"

namespace tw::win32 {

SharedFonts::SharedFonts(int dpi) {
  LOGFONTW font = MessageFont(dpi);
  font.lfWeight = FW_NORMAL;
  normal_.reset(CreateFontIndirectW(&font));
  font.lfWeight = FW_BOLD;
  bold_.reset(CreateFontIndirectW(&font));
}

}  // namespace tw::win32
