// Connects page switching and drag and drop to the main window's controls.
#include "edit/pages_and_drag.h"

namespace tw::edit {

void WirePagesAndDrag(core::App& app) {
  for (forms::Control* label : app.main.Names) {
    label->onMouseDown = [&app](const forms::MouseEvent& e) { Names_MouseDown(app, e); };
    label->onMouseMove = [&app](const forms::MouseEvent& e) { Names_MouseMove(app, e); };
    label->onDragDrop = [&app](const forms::DragEvent& e) { Names_DragDrop(app, e); };
  }
  for (forms::Control* tab : app.main.Page) {
    tab->onMouseUp = [&app](const forms::MouseEvent& e) { Page_MouseUp(app, e); };
    tab->onDragOver = [&app](const forms::DragEvent& e) { Page_DragOver(app, e); };
  }
}

}  // namespace tw::edit
