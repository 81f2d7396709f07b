// The colours an entry label is painted in. Its text always contrasts with its background: the
// text colour is chosen for the label's colour, and with high contrast on, the labels take the
// system's window colours, whatever colour the user chose (the choice is kept for later).
#pragma once

#include "ui/main_view.h"

namespace tw::ui {

// The contrast ratio of two colours, from 1 (the same) to 21 (black and white), as the web's
// accessibility guidelines define it from their relative luminance.
double ContrastRatio(Rgb a, Rgb b);

struct LabelColours {
  Rgb background;
  Rgb text;
  bool operator==(const LabelColours&) const = default;
};

// What a label of the chosen colour is painted in. With high contrast on, the system's window
// colours, unless the scheme's own pair falls below 4.5:1; the text black or white, whichever
// contrasts more with the background.
LabelColours LabelColoursFor(Rgb chosen, bool highContrast, LabelColours systemWindow);

}  // namespace tw::ui
