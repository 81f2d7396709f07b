#include "app/lifecycle.h"

#include "appearance/highlighting.h"
#include "core/keep_on_top.h"
#include "edit/editing.h"

namespace tw::app {

void Form_Load(core::App& app) {
  appearance::setbold(app);
  app.main.form.setTop(app.settings.WindowTop);
  app.main.form.setLeft(app.settings.WindowLeft);
  core::KeepOnTop(app, app.main.form.hwnd());
}

void Form_Resize(core::App& app) {
  core::KeepOnTop(app, app.main.form.hwnd());
}

void Form_Deactivate(core::App& app) {
  core::KeepInFrontLater(app);
}

void Form_QueryUnload(core::App& app, bool& cancel, forms::CloseReason reason) {
  if (app.main.Gettext->visible()) cancel = !edit::CommitEditAtClose(app, reason);
}

void Form_Unload(core::App& app) {
  if (app.requestExit) app.requestExit(0);
}

void MinimizeBtn_Click(core::App& app) {
  app.main.Holdfocus->setFocus();
  app.main.form.setWindowState(forms::WindowState::Minimized);
}

void WireLifecycle(core::App& app) {
  forms::Form& form = app.main.form;
  form.onLoad = [&app] { Form_Load(app); };
  form.onResize = [&app] { Form_Resize(app); };
  form.onQueryUnload = [&app](bool& cancel, forms::CloseReason reason) {
    Form_QueryUnload(app, cancel, reason);
  };
  form.onUnload = [&app] { Form_Unload(app); };
  app.main.MinimizeBtn->onClick = [&app](int) { MinimizeBtn_Click(app); };
}

}  // namespace tw::app
