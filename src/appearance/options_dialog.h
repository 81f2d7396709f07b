// The options dialog "Options": four colours for the entry labels and a normal or bold weight
// for all text. Each choice takes effect and is saved the moment the mouse is released over it;
// "OK" and the close box only close the dialog. The dialog exists only while it is open.
#pragma once

#include <array>
#include <cstdint>

#include "forms/events.h"
#include "forms/form.h"
#include "forms/toolkit.h"

namespace tw::core {
class App;
}

namespace tw::appearance {

inline constexpr int kFontChoiceCount = 2;
inline constexpr int kColorChoiceCount = 4;

struct OptionsDialog {
  // Builds the whole layout; nothing is wired and no window is created.
  explicit OptionsDialog(forms::Toolkit& toolkit);

  forms::Form form;
  forms::Control* Holdfocus = nullptr;      // focus sink below the client area, first in tab order
  std::array<forms::Control*, 2> Label1{};  // "Text....", "Color...." running under the choices
  forms::Control* Frame1 = nullptr;         // the font choices
  std::array<forms::Control*, kFontChoiceCount> FontOption{};    // index = FontChoice
  forms::Control* Frame2 = nullptr;                              // the colour choices
  std::array<forms::Control*, kColorChoiceCount> ColorOption{};  // index = ColorChoice
  forms::Control* OKBtn = nullptr;
};

// The dialog's own handlers.
void Form_Load(core::App& app, OptionsDialog& dialog);
// The weight pass over the dialog's controls, by the current FontChoice.
void setbold(core::App& app, OptionsDialog& dialog);
void ColorOption_MouseUp(core::App& app, OptionsDialog& dialog, const forms::MouseEvent& e);
void FontOption_MouseUp(core::App& app, OptionsDialog& dialog, const forms::MouseEvent& e);
void OKBtn_Click(OptionsDialog& dialog);

// Connects the dialog's events to its handlers.
void WireOptionsDialog(core::App& app, OptionsDialog& dialog);

}  // namespace tw::appearance
