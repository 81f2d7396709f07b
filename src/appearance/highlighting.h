// The appearance settings applied to controls: the background colour of the 60 entry labels
// and the weight of every control's font.
#pragma once

#include <cstdint>

#include "core/app.h"
#include "forms/form.h"
#include "forms/geometry.h"

namespace tw::appearance {

// The label colour of a ColorChoice: white, light green, light cyan, yellow (0 to 3).
forms::Rgb LabelColour(std::int16_t colorChoice);

// Gives Names(0) .. Names(59), empty ones included, the colour of the current ColorChoice, in
// slot order.
void RecolourEntryLabels(core::App& app);

// Sets every control of the form that has a font to bold (FontChoice 1) or normal (0), visible
// or hidden, in one pass; a control without a font is passed over silently.
void WeightPass(forms::Form& form, std::int16_t fontChoice);

// The main window's setbold: recolours the entry labels, then the weight pass over the window.
void setbold(core::App& app);
// The weight pass over the main window, colours untouched.
void SetBoldMainWindow(core::App& app);

}  // namespace tw::appearance
