// How the windows look: the background colour of the 60 entry labels and whether every text is
// bold, as the settings say, and the choices of the options dialog, each saved and applied the
// moment the user makes it.
#pragma once

#include <cstdint>

#include "model/saver.h"
#include "model/settings.h"
#include "ui/main_view.h"

namespace tw::appearance {

// The label colour of a colour choice: white, light green, light cyan, yellow; a value out of
// range stands for green.
ui::Rgb LabelColour(std::int16_t colourChoice);

class Appearance : public ui::OptionsEvents {
 public:
  Appearance(model::Settings& settings, model::Saver& saver, ui::MainView& view)
      : settings_(settings), saver_(saver), view_(view) {}

  // The main window's labels in their colour and its texts in their weight.
  void Apply();

  ui::Choices Current() const override;
  // The choice is stored and takes effect: the labels recoloured, or the main window's weight set
  // (the dialog sets its own from Current); then it is written.
  void OnColourChosen(int choice) override;
  void OnFontChosen(int choice) override;

 private:
  model::Settings& settings_;
  model::Saver& saver_;
  ui::MainView& view_;
};

}  // namespace tw::appearance
