#include "appearance/highlighting.h"

#include <array>

namespace tw::appearance {

forms::Rgb LabelColour(std::int16_t colorChoice) {
  static constexpr std::array<forms::Rgb, 4> kColours{{
      {255, 255, 255},  // white
      {0, 255, 0},      // light green
      {0, 255, 255},    // light cyan
      {255, 255, 0},    // yellow
  }};
  const auto i = static_cast<std::size_t>(colorChoice);
  return i < kColours.size() ? kColours[i] : kColours[0];
}

void RecolourEntryLabels(core::App& app) {
  const forms::Rgb colour = LabelColour(app.settings.ColorChoice);
  for (forms::Control* label : app.main.Names) label->setBackColor(colour);
}

void WeightPass(forms::Form& form, std::int16_t fontChoice) {
  const bool bold = fontChoice == 1;
  const int count = form.controlCount();
  for (int i = 0; i < count; ++i) {
    try {
      form.controlAt(i).setBold(bold);
    } catch (const forms::NoFontError&) {
      // The timer has no font; the pass goes on.
    }
  }
}

void setbold(core::App& app) {
  RecolourEntryLabels(app);
  WeightPass(app.main.form, app.settings.FontChoice);
}

void SetBoldMainWindow(core::App& app) {
  WeightPass(app.main.form, app.settings.FontChoice);
}

}  // namespace tw::appearance
