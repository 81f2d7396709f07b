#include "edit/editing.h"

#include "core/entries.h"
#include "core/save_guard.h"
#include "store/file_error.h"

namespace tw::edit {

namespace {

// Marks a commit as under way for its duration. Hiding the box, or a message box about a
// failed save, takes the focus from Gettext; the focus loss that this raises inside the commit
// must not commit and save (and report) a second time.
class CommitScope {
 public:
  explicit CommitScope(core::App& app) : app_(app) { app_.committingEdit = true; }
  ~CommitScope() { app_.committingEdit = false; }
  CommitScope(const CommitScope&) = delete;
  CommitScope& operator=(const CommitScope&) = delete;

 private:
  core::App& app_;
};

// The label of CurrentSlot takes the edit box's text exactly as typed, and its "Insert" button
// follows.
void StoreEditInLabel(core::App& app) {
  const int slot = app.currentSlot;
  app.main.Names[slot]->setCaption(app.main.Gettext->caption());
  core::UpdateFillButton(app, slot);
}

void SaveEditedEntries(core::App& app) {
  core::GuardedSave(app, core::SaveKind::Entries, [&app] { core::SaveEntries(app); });
}

// The session ends: one attempt, and a failure goes unreported, since the process ends whatever
// the user answers and a message box would only hold up the end of the session.
void SaveOnceAtSessionEnd(core::App& app) {
  try {
    core::SaveEntries(app);
  } catch (const store::FileError&) {
  }
}

}  // namespace

void Names_MouseUp(core::App& app, const forms::MouseEvent& e) {
  if (e.index < 0 || e.index >= store::kSlotCount) return;
  forms::Control& box = *app.main.Gettext;
  if (box.visible()) {
    CommitScope scope(app);
    StoreEditInLabel(app);
    SaveEditedEntries(app);
  }

  app.currentSlot = static_cast<std::int16_t>(e.index);
  const forms::Control& frame = *app.main.Frame[0];
  const forms::Control& label = *app.main.Names[e.index];
  box.setLeft(frame.left() + label.left());
  box.setTop(frame.top() + label.top());
  box.setWidth(label.width());
  box.setCaption(label.caption());
  box.setVisible(true);
  box.setFocus();
}

void Gettext_LostFocus(core::App& app) {
  if (app.committingEdit) return;
  CommitScope scope(app);
  StoreEditInLabel(app);
  app.main.Gettext->setVisible(false);
  SaveEditedEntries(app);
}

bool CommitEditAtClose(core::App& app, forms::CloseReason reason) {
  // A commit under way (its report open as the session ends) saves and reports by itself.
  if (app.committingEdit) return true;
  CommitScope scope(app);
  StoreEditInLabel(app);
  if (reason == forms::CloseReason::SessionEnd) {
    SaveOnceAtSessionEnd(app);
  } else if (!core::SaveOrAskRetry(app, [&app] { core::SaveEntries(app); })) {
    app.main.Gettext->setFocus();  // the question took the focus from the box; the edit goes on
    return false;
  }
  app.main.Gettext->setVisible(false);
  return true;
}

void WireEditing(core::App& app) {
  for (forms::Control* label : app.main.Names) {
    label->onMouseUp = [&app](const forms::MouseEvent& e) { Names_MouseUp(app, e); };
  }
  app.main.Gettext->onLostFocus = [&app](int) { Gettext_LostFocus(app); };
}

}  // namespace tw::edit
