#include "appearance/options.h"

#include <memory>

#include "appearance/options_dialog.h"

namespace tw::appearance {

void OptionsBtn_Click(app::App& app) {
  if (!app.options) {
    app.options = std::make_unique<OptionsDialog>(app.toolkit);
    WireOptionsDialog(app, *app.options);
  }
  // Returns when "OK" or the close box has unloaded the dialog.
  app.options->form.showModal();
  app.main.Holdfocus->setFocus();
  app.options.reset();
}

void WireOptions(app::App& app) {
  app.main.OptionsBtn->onClick = [&app](int) { OptionsBtn_Click(app); };
}

}  // namespace tw::appearance
