#include "fill/target_tracking.h"

#include <cmath>
#include <limits>
#include <optional>

#include "core/keep_on_top.h"
#include "core/save_guard.h"
#include "store/settings_file.h"

namespace tw::fill {

namespace {

// A position in twips as the settings file holds it: rounded to the nearest integer with halves
// to even; nullopt when it does not fit a 16-bit field.
std::optional<std::int16_t> SavedTwips(forms::Twips value) {
  const double rounded = std::nearbyint(static_cast<double>(value));  // the default mode: to even
  if (!(rounded >= std::numeric_limits<std::int16_t>::min() &&
        rounded <= std::numeric_limits<std::int16_t>::max())) {
    return std::nullopt;  // also NaN
  }
  return static_cast<std::int16_t>(rounded);
}

}  // namespace

void KeepSavedPosition(core::App& app) {
  const forms::Form& form = app.main.form;
  if (form.windowState() != forms::WindowState::Normal) return;
  const auto savedTop = SavedTwips(form.top());
  const auto savedLeft = SavedTwips(form.left());
  // A window beyond what the file can hold keeps the last position that fits.
  if (!savedTop || !savedLeft) return;
  // Compared as saved: at 7.5 or 8.57 twips a pixel the position itself is fractional and never
  // equals the rounded one in the file.
  if (*savedTop == app.settings.WindowTop && *savedLeft == app.settings.WindowLeft) return;

  store::SettingsRecord moved = app.settings;
  moved.WindowTop = *savedTop;
  moved.WindowLeft = *savedLeft;
  // The in-memory record follows only a successful save, so that the next tick tries again.
  if (core::GuardedSave(app, core::SaveKind::WindowPosition,
                        [&] { store::SaveSettings(app.programFolder, moved); })) {
    app.settings.WindowTop = moved.WindowTop;
    app.settings.WindowLeft = moved.WindowLeft;
  }
}

void SampleForegroundWindow(core::App& app) {
  const platform::WindowHandle foreground = app.windows.foregroundWindow();
  // Also a message box of Typewell's own (a save error) is never the window to fill.
  if (foreground == 0 || app.ownsWindow(foreground)) return;
  app.targetWindow = foreground;
}

void Timer1_Timer(core::App& app) {
  KeepSavedPosition(app);
  SampleForegroundWindow(app);
  core::KeepInFrontIfDue(app);
}

}  // namespace tw::fill
