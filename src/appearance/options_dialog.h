// The options dialog: the colour of the entry labels and the weight of all text.
#pragma once

#include "forms/form.h"
#include "forms/toolkit.h"

namespace tw::app {
class App;
}

namespace tw::appearance {

struct OptionsDialog {
  explicit OptionsDialog(forms::Toolkit& toolkit);
  forms::Form form;
};

}  // namespace tw::appearance
