#include "core/app.h"

namespace tw::core {

App::App(forms::Toolkit& toolkit, platform::WindowSystem& windows, std::string programFolder)
    : toolkit(toolkit), windows(windows), programFolder(std::move(programFolder)), main(toolkit) {}

App::~App() = default;

bool App::ownsWindow(platform::WindowHandle window) const {
  for (int i = 0; i < toolkit.formCount(); ++i) {
    if (toolkit.formAt(i).hwnd() == window) return true;
  }
  return windows.isOwnProcessWindow(window);
}

}  // namespace tw::core
