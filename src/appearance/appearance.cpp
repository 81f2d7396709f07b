#include "appearance/appearance.h"

#include <array>

#include "store/settings_file.h"

namespace tw::appearance {

ui::Rgb LabelColour(std::int16_t colourChoice) {
  // Entries 15, 10, 11 and 14 of the classic 16-colour palette.
  static constexpr std::array<ui::Rgb, store::kColourChoiceCount> kColours{{
      {255, 255, 255},
      {0, 255, 0},
      {0, 255, 255},
      {255, 255, 0},
  }};
  return kColours[static_cast<std::size_t>(store::ValidColourChoice(colourChoice))];
}

void Appearance::Apply() {
  view_.SetLabelColour(LabelColour(settings_.Record().colourChoice));
  view_.SetBold(settings_.Bold());
}

ui::Choices Appearance::Current() const {
  return {settings_.Record().fontChoice, settings_.Record().colourChoice};
}

void Appearance::OnColourChosen(int choice) {
  if (choice < 0 || choice >= store::kColourChoiceCount) return;
  settings_.SetColourChoice(static_cast<std::int16_t>(choice));
  view_.SetLabelColour(LabelColour(settings_.Record().colourChoice));
  saver_.SaveChanges();
}

void Appearance::OnFontChosen(int choice) {
  if (choice < 0 || choice >= store::kFontChoiceCount) return;
  settings_.SetFontChoice(static_cast<std::int16_t>(choice));
  view_.SetBold(settings_.Bold());
  saver_.SaveChanges();
}

}  // namespace tw::appearance
