#include "appearance/options.h"

#include "appearance/options_dialog.h"

namespace tw::appearance {

void OptionsBtn_Click(core::App& app) {
  // The dialog exists only while it is open: a new one each time, marked afresh.
  OptionsDialog dialog(app.toolkit);
  WireOptionsDialog(app, dialog);
  // Returns when "OK" or the close box has unloaded the dialog.
  dialog.form.showModal();
  app.main.Holdfocus->setFocus();
}

void WireOptions(core::App& app) {
  app.main.OptionsBtn->onClick = [&app](int) { OptionsBtn_Click(app); };
}

}  // namespace tw::appearance
