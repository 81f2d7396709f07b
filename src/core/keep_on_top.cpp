#include "core/keep_on_top.h"

namespace tw::app {

void KeepOnTop(App& app, platform::WindowHandle window) {
  const platform::PixelRect rect = app.windows.windowRect(window);
  app.windows.setWindowTopmost(window, rect);
}

}  // namespace tw::app
