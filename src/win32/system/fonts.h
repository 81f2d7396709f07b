// The two fonts that every control of a window shares: the system's message font at the
// window's DPI, in normal and in bold weight, and the DPI at which the window's layout fits
// their text. Made once per window, DPI and change of the system's fonts, so that switching the
// weight makes no GDI object.
#pragma once

#include <windows.h>

#include "win32/system/scoped_handles.h"

namespace tw::win32 {

class SharedFonts {
 public:
  explicit SharedFonts(int dpi);
  HFONT Get(bool bold) const { return bold ? bold_.get() : normal_.get(); }
  // The DPI at which the layout's twips become pixels: the window's own, or more where the
  // system's text is larger than the layout was made for ("Make text bigger"), so that no text
  // is clipped; the window then grows with it.
  int LayoutDpi() const { return layoutDpi_; }

 private:
  ScopedFont normal_;
  ScopedFont bold_;
  int layoutDpi_;
};

}  // namespace tw::win32
