#include "core/keep_on_top.h"

namespace tw::core {

void KeepOnTop(App& app, platform::WindowHandle window) {
  const platform::PixelRect rect = app.windows.windowRect(window);
  app.windows.setWindowTopmost(window, rect);
}

}  // namespace tw::core
