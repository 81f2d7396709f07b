#include "ui/colours.h"

#include <algorithm>
#include <cmath>

namespace tw::ui {

namespace {

constexpr double kEnoughContrast = 4.5;
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

double Linear(std::uint8_t channel) {
  const double c = channel / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(Rgb c) {
  return 0.2126 * Linear(c.red) + 0.7152 * Linear(c.green) + 0.0722 * Linear(c.blue);
}

Rgb TextOn(Rgb background) {
  return ContrastRatio(kBlack, background) >= ContrastRatio(kWhite, background) ? kBlack : kWhite;
}

}  // namespace

double ContrastRatio(Rgb a, Rgb b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

LabelColours LabelColoursFor(Rgb chosen, bool highContrast, LabelColours systemWindow) {
  if (!highContrast) return {chosen, TextOn(chosen)};
  if (ContrastRatio(systemWindow.background, systemWindow.text) >= kEnoughContrast) {
    return systemWindow;
  }
  return {systemWindow.background, TextOn(systemWindow.background)};
}

}  // namespace tw::ui
