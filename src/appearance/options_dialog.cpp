#include "appearance/options_dialog.h"

namespace tw::appearance {

OptionsDialog::OptionsDialog(forms::Toolkit& toolkit)
    : form(toolkit, "Options", forms::FormStyle{forms::BorderStyle::FixedDialog, false, false}) {}

}  // namespace tw::appearance
