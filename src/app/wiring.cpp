#include "app/wiring.h"

#include "app/lifecycle.h"
#include "appearance/options.h"
#include "edit/editing.h"
#include "edit/pages_and_drag.h"
#include "fill/filling.h"
#include "weblinks/browser_launch.h"

namespace tw::app {

void WireEvents(core::App& app) {
  WireLifecycle(app);
  edit::WireEditing(app);
  edit::WirePagesAndDrag(app);
  fill::WireFilling(app);
  // The loss of activation is followed by the target tracking and then by the lifecycle.
  app.main.form.onDeactivate = [&app, sample = app.main.form.onDeactivate] {
    if (sample) sample();
    Form_Deactivate(app);
  };
  appearance::WireOptions(app);
  weblinks::WireWebLinks(app);
}

}  // namespace tw::app
