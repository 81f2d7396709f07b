#include "app/startup.h"

#include "app/entries.h"
#include "app/wiring.h"

namespace tw::app {

std::string ProgramFolderOf(const std::string& executablePath) {
  const auto cut = executablePath.find_last_of("\\/");
  std::string folder = cut == std::string::npos ? std::string() : executablePath.substr(0, cut + 1);
  if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder += '\\';
  return folder;
}

// Provisional: creates, fills and shows the main window.
std::optional<int> Main(forms::Toolkit& toolkit, platform::WindowSystem& windows,
                        std::function<void(int)> requestExit, std::unique_ptr<App>& app) {
  app = std::make_unique<App>(toolkit, windows, ProgramFolderOf(windows.executablePath()));
  app->requestExit = std::move(requestExit);
  WireEvents(*app);
  app->main.form.setCaption(" Typewell");
  app->main.form.load();
  try {
    LoadEntries(*app);
  } catch (const store::FileError& e) {
    windows.reportError("Typewell cannot start: " + e.path() + "\n\n" + e.reason(), 0);
    app.reset();
    return 1;
  }
  app->main.Page[0]->setSelected(true);
  app->main.form.setWindowState(forms::WindowState::Normal);
  app->main.form.show();
  return std::nullopt;
}

}  // namespace tw::app
