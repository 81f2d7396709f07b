// Page switching by a release over a page tab or by a drag passing over it.
#include "edit/pages.h"

namespace tw::edit {

void ShowPage(core::App& app, int page) {
  auto& frames = app.main.Frame;
  for (int i = 0; i < core::kPageCount; ++i) {
    forms::Control& frame = *frames[i];
    if (i == page) {
      // A container once moved stays at its new place, so each one moves at most once.
      if (frame.left() != frames[0]->left()) frame.setLeft(frames[0]->left());
      frame.setVisible(true);
    } else {
      frame.setVisible(false);
    }
  }
}

void Page_MouseUp(core::App& app, const forms::MouseEvent& e) {
  app.main.Holdfocus->setFocus();
  ShowPage(app, e.index);
  // A release outside the tab does not select it by itself; the marked tab follows the page.
  app.main.Page[e.index]->setSelected(true);
}

void Page_DragOver(core::App& app, const forms::DragEvent& e) {
  // Raised again and again while the pointer moves over the tab: only the first one switches.
  if (app.main.Frame[e.index]->visible()) return;
  ShowPage(app, e.index);
  app.main.Page[e.index]->setSelected(true);
}

}  // namespace tw::edit
