#include "core/keep_on_top.h"

namespace tw::core {

void KeepOnTop(App& app, platform::WindowHandle window) {
  const platform::PixelRect rect = app.windows.windowRect(window);
  app.windows.setWindowTopmost(window, rect);
}

void KeepInFrontLater(App& app) {
  app.inFrontDue = true;
}

void KeepInFrontIfDue(App& app) {
  if (!app.inFrontDue) return;
  const platform::WindowHandle foreground = app.windows.foregroundWindow();
  if (foreground == 0 || app.ownsWindow(foreground)) return;
  app.inFrontDue = false;
  app.windows.raiseTopmost(app.main.form.hwnd());
}

}  // namespace tw::core
