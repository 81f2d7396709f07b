#include "model/settings.h"

namespace tw::model {

store::SettingsFileState Settings::Load(const store::WindowGeometry& geometry,
                                        const store::PlaceCheck& onAnyMonitor) {
  return store::LoadSettings(file_, record_, geometry, onAnyMonitor);
}

void Settings::SetColourChoice(std::int16_t choice) {
  record_.colourChoice = choice;
  unsaved_ = true;
}

void Settings::SetFontChoice(std::int16_t choice) {
  record_.fontChoice = choice;
  unsaved_ = true;
}

void Settings::SetPlace(std::int16_t top, std::int16_t left) {
  record_.windowTop = top;
  record_.windowLeft = left;
  unsaved_ = true;
}

void Settings::Save() {
  store::WriteSettings(file_, record_);
  unsaved_ = false;
}

}  // namespace tw::model
