#include "app/lifecycle.h"

namespace tw::app {

void KeepOnTop(App& app, platform::WindowHandle window) {
  const platform::PixelRect rect = app.windows.windowRect(window);
  app.windows.setWindowTopmost(window, rect);
}

void WireLifecycle(App&) {}

}  // namespace tw::app
