// The two fonts that every control of a window shares: the system's message font at the
// window's DPI, in normal and in bold weight. Made once per window and DPI, so that switching
// the weight makes no GDI object.
#pragma once

#include <windows.h>

#include "win32/scoped_handles.h"

namespace tw::win32 {

class SharedFonts {
 public:
  explicit SharedFonts(int dpi);
  HFONT Get(bool bold) const { return bold ? bold_.get() : normal_.get(); }

 private:
  ScopedFont normal_;
  ScopedFont bold_;
};

}  // namespace tw::win32
