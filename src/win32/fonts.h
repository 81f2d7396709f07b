// The two fonts that every control of every form shares: the system's message font at the real
// DPI, in normal and in bold weight. Created once per backend; nothing is created per change of
// weight, so repeated weight passes allocate no GDI objects.
#pragma once

#include <windows.h>

#include "win32/scoped_handles.h"

namespace tw::win32 {

enum class Weight { Normal, Bold };

class SharedFonts {
 public:
  // The message font made for a monitor of the given dots per inch (0: the system's).
  explicit SharedFonts(int dpi = 0);
  HFONT get(Weight weight) const { return weight == Weight::Bold ? bold_.get() : normal_.get(); }

 private:
  ScopedFont normal_;
  ScopedFont bold_;
};

}  // namespace tw::win32
