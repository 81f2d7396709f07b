#include "fill/filling.h"

#include "fill/fill_action.h"
#include "fill/target_tracking.h"

namespace tw::fill {

void WireFilling(core::App& app) {
  app.main.Timer1->onTimer = [&app](int) { Timer1_Timer(app); };
  // Only the release fills: a click raised by Space or Enter on a focused button does nothing.
  for (forms::Control* button : app.main.FillBtn) {
    button->onMouseUp = [&app](const forms::MouseEvent& e) { FillBtn_MouseUp(app, e); };
  }
  app.main.form.onDeactivate = [&app] { SampleForegroundWindow(app); };
  app.main.form.onMouseActivate = [&app] { SampleForegroundWindow(app); };
}

}  // namespace tw::fill
