// Drag and drop of entries between slots.
#include "edit/drag_drop.h"

#include <cmath>
#include <string>

#include "core/save_guard.h"
#include "store/binary_file.h"
#include "store/entry_file.h"

namespace tw::edit {

namespace {

bool BeyondThreshold(const core::App& app, const forms::MouseEvent& e) {
  return std::fabs(e.x - app.dragStartX) > kDragThreshold ||
         std::fabs(e.y - app.dragStartY) > kDragThreshold;
}

// The proxy takes the label's place (from Frame(0), where the page on show stands), width,
// colour, text and weight; its height stays that of the layout.
void PrepareProxy(core::App& app, const forms::Control& label) {
  forms::Control& proxy = *app.main.Dragbox;
  const forms::Control& page = *app.main.Frame[0];
  proxy.setTop(page.top() + label.top());
  proxy.setLeft(page.left() + label.left());
  proxy.setWidth(label.width());
  proxy.setVisible(true);
  proxy.setBackColor(label.backColor());
  proxy.setCaption(label.caption());
  proxy.setBold(label.bold());
}

// Writes the text into the target record, then blanks the source record, within one opening:
// a failure in between leaves the entry in both places, never in none.
void WriteMove(core::App& app, int source, int target, const std::string& text) {
  store::BinaryFile file = store::OpenBinaryFile(app.pathOf(store::kEntryFileName));
  store::WriteEntryRecord(file, target, text);
  store::WriteEntryRecord(file, source, "");
  file.close();
}

}  // namespace

void Names_MouseDown(core::App& app, const forms::MouseEvent& e) {
  app.dragStartX = e.x;
  app.dragStartY = e.y;
}

void Names_MouseMove(core::App& app, const forms::MouseEvent& e) {
  forms::Control& label = *app.main.Names[e.index];
  if (label.caption().empty()) return;
  if (e.button != forms::kLeftButton) return;
  if (!BeyondThreshold(app, e)) return;

  // Hiding the edit box takes the focus from it, which commits an open edit; the pending events
  // run here so that the commit is done while CurrentSlot still names the edited slot.
  app.main.Gettext->setVisible(false);
  app.windows.doEvents();
  // The pending events may have ended the press (the button was released: that release was a
  // plain click) or already started this drag from a later move.
  forms::Form& form = app.main.form;
  if (form.pressedControl() != &label || form.dragging()) return;

  app.currentSlot = static_cast<std::int16_t>(e.index);
  PrepareProxy(app, label);
  app.main.Dragbox->beginDrag();
}

void Names_DragDrop(core::App& app, const forms::DragEvent& e) {
  app.main.Dragbox->setVisible(false);
  const int source = app.currentSlot;
  const int target = e.index;
  if (target == source) return;
  if (!app.main.Names[target]->caption().empty()) return;

  const std::string text = app.main.Names[source]->caption();
  // The file is written before the labels change: if it cannot be, the entry stays where it was.
  if (!core::GuardedSave(app, core::SaveKind::Entries,
                         [&] { WriteMove(app, source, target, text); })) {
    return;
  }
  app.main.Names[target]->setCaption(text);
  app.main.Names[source]->setCaption("");
  app.main.FillBtn[target]->setEnabled(true);
  app.main.FillBtn[source]->setEnabled(false);
}

}  // namespace tw::edit
