#include "weblinks/browser_launch.h"

#include <optional>

#include "store/binary_file.h"

namespace tw::weblinks {

namespace {

enum class Launch { Started, NotStarted };

// Creates the placeholder if it is missing (an existing one keeps its bytes), then asks the
// shell for its program. nullopt when the placeholder cannot be created or opened (a read-only
// program folder) or no program is registered: the click then does nothing, silently.
std::optional<std::string> RegisteredBrowser(core::App& app) {
  try {
    store::OpenBinaryFile(app.pathOf(kPlaceholderName)).close();
  } catch (const store::FileError&) {
    return std::nullopt;
  }
  return app.windows.findExecutable(kPlaceholderName, app.programFolder);
}

Launch OpenPage(core::App& app, const std::string& page) {
  const std::optional<std::string> browser = RegisteredBrowser(app);
  if (!browser) return Launch::NotStarted;
  app.windows.startProgram(BrowserCommandLine(*browser, page));
  app.main.Holdfocus->setFocus();
  app.main.form.setWindowState(forms::WindowState::Minimized);
  return Launch::Started;
}

}  // namespace

const char* WebsiteAddress() {
  return TYPEWELL_WEBSITE_URL;
}

std::string BrowserCommandLine(const std::string& browser, const std::string& page) {
  return "\"" + browser + "\" \"" + page + "\"";
}

void Command1_Click(core::App& app) {
  // The tutorial lies below the program folder, written with a forward slash.
  if (OpenPage(app, app.programFolder + kTutorialPage) == Launch::Started) {
    app.main.Holdfocus->setFocus();
  }
}

void WebsiteBtn_Click(core::App& app) {
  OpenPage(app, WebsiteAddress());
}

void WireWebLinks(core::App& app) {
  app.main.Command1->onClick = [&app](int) { Command1_Click(app); };
  app.main.WebsiteBtn->onClick = [&app](int) { WebsiteBtn_Click(app); };
}

}  // namespace tw::weblinks
