#include "app/startup.h"

#include <cmath>
#include <cstdio>

#include "app/lifecycle.h"
#include "app/wiring.h"
#include "appearance/highlighting.h"
#include "core/entries.h"
#include "core/keep_on_top.h"

namespace tw::app {

namespace {

// How long a second process waits for the window of a first one that holds the instance lock
// but has not shown its window yet.
constexpr int kInstanceWaitSteps = 50;
constexpr int kInstanceWaitStepMs = 100;

constexpr forms::Twips kShownOuterHeight = 6204;
constexpr forms::Twips kShownWebsiteWidth = 2784;
constexpr int kHintedLabels = 15;
constexpr std::int16_t kHintStarts = 10;

void ActivateRunningInstance(platform::WindowSystem& windows, platform::WindowHandle window) {
  windows.showWindowNormal(window);
  windows.setForegroundWindow(window);
}

// Step 2: another instance runs (its window exists, or it holds the lock of this folder and
// shows its window within the wait). Its window, once found, is restored and activated.
bool AnotherInstanceRuns(platform::WindowSystem& windows, const std::string& programFolder) {
  if (const platform::WindowHandle running = windows.findWindow(kInstanceCaption)) {
    ActivateRunningInstance(windows, running);
    return true;
  }
  if (windows.acquireInstanceLock(InstanceLockName(programFolder))) return false;
  for (int step = 0; step < kInstanceWaitSteps; ++step) {
    windows.sleep(kInstanceWaitStepMs);
    if (const platform::WindowHandle running = windows.findWindow(kInstanceCaption)) {
      ActivateRunningInstance(windows, running);
      break;
    }
  }
  return true;
}

platform::PixelRect PixelRectAt(const core::App& app, const store::SettingsRecord& r, double width,
                                double height) {
  const double perX = app.toolkit.twipsPerPixelX();
  const double perY = app.toolkit.twipsPerPixelY();
  const auto px = [](double twips, double per) {
    return static_cast<std::int32_t>(std::lround(twips / per));
  };
  return {px(r.WindowLeft, perX), px(r.WindowTop, perY), px(r.WindowLeft + width, perX),
          px(r.WindowTop + height, perY)};
}

void SetHint(core::App& app) {
  if (app.settings.StartCount >= kHintStarts) return;
  for (int s = 0; s < kHintedLabels; ++s) app.main.Names[s]->setToolTip(kHintToolTip);
}

void ReportStartFailure(platform::WindowSystem& windows, const store::FileError& e) {
  windows.reportError(
      "Typewell cannot start: the file " + e.path() + " cannot be used.\n\n" + e.reason(), 0);
}

// Steps 3 to 13; throws store::FileError.
void BuildAndShow(core::App& app) {
  forms::Form& form = app.main.form;
  form.setCaption(kInstanceCaption);
  form.load();
  LoadSettings(app, app.toolkit.screenWidth(), app.toolkit.screenHeight(), form.width(),
               form.height());
  appearance::RecolourEntryLabels(app);
  form.setTop(app.settings.WindowTop);
  form.setLeft(app.settings.WindowLeft);
  SetHint(app);
  form.setHeight(kShownOuterHeight);
  app.main.WebsiteBtn->setWidth(kShownWebsiteWidth);
  core::LoadEntries(app);
  appearance::SetBoldMainWindow(app);
  app.main.Page[0]->setSelected(true);
  form.show();
  core::KeepOnTop(app, form.hwnd());
}

}  // namespace

std::string ProgramFolderOf(const std::string& executablePath) {
  const auto cut = executablePath.find_last_of("\\/");
  std::string folder = cut == std::string::npos ? std::string() : executablePath.substr(0, cut + 1);
  if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder += '\\';
  return folder;
}

std::string InstanceLockName(const std::string& programFolder) {
  // FNV-1a over the folder with ASCII letters folded to lower case (paths ignore case).
  std::uint64_t hash = 14695981039346656037ull;
  for (const char ch : programFolder) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
    hash = (hash ^ c) * 1099511628211ull;
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return std::string("Typewell-") + hex;
}

void LoadSettings(core::App& app, double screenWidth, double screenHeight, double windowWidth,
                  double windowHeight) {
  const store::WindowGeometry geometry{screenWidth, screenHeight, windowWidth, windowHeight};
  const auto onAnyMonitor = [&](const store::SettingsRecord& r) {
    return app.windows.onAnyMonitor(PixelRectAt(app, r, windowWidth, windowHeight));
  };
  const store::SettingsFileState state =
      store::LoadSettings(app.programFolder, app.settings, geometry, onAnyMonitor);
  if (state == store::SettingsFileState::Empty) {
    app.main.form.setWindowState(forms::WindowState::Normal);
  }
}

std::optional<int> Main(forms::Toolkit& toolkit, platform::WindowSystem& windows,
                        std::function<void(int)> requestExit, std::unique_ptr<core::App>& app) {
  const std::string programFolder = ProgramFolderOf(windows.executablePath());
  if (AnotherInstanceRuns(windows, programFolder)) return 0;

  app = std::make_unique<core::App>(toolkit, windows, programFolder);
  app->requestExit = std::move(requestExit);
  WireEvents(*app);
  try {
    BuildAndShow(*app);
  } catch (const store::FileError& e) {
    // The window, never shown, is destroyed without raising its events, and its timer with it,
    // before the report: while the message is open, a second start must not find this window.
    app.reset();
    ReportStartFailure(windows, e);
    return 1;
  }
  return std::nullopt;
}

}  // namespace tw::app
