#include "core/app.h"

namespace tw::core {

App::App(forms::Toolkit& toolkit, platform::WindowSystem& windows, std::string programFolder)
    : toolkit(toolkit), windows(windows), programFolder(std::move(programFolder)), main(toolkit) {}

App::~App() = default;

}  // namespace tw::core
