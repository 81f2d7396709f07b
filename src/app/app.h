// Typewell: the entries and the settings, the subsystems that act on them, and the services and
// the main window they use. The main window reports what the user does to the App, which hands
// each event to the subsystems concerned; no subsystem knows another. A test builds an App over
// a temporary folder, fake services and a fake window.
#pragma once

#include <optional>
#include <string>

#include "app/placement.h"
#include "appearance/appearance.h"
#include "edit/drag_move.h"
#include "edit/editor.h"
#include "edit/pages.h"
#include "fill/filler.h"
#include "fill/target_tracker.h"
#include "model/entry_book.h"
#include "model/saver.h"
#include "model/settings.h"
#include "services/desktop.h"
#include "services/messages.h"
#include "services/shell.h"
#include "services/typing.h"
#include "ui/main_view.h"
#include "weblinks/browser_launch.h"

namespace tw::app {

struct Services {
  services::Desktop& desktop;
  services::Typing& typing;
  services::Shell& shell;
  services::Messages& messages;
};

class App final : public ui::MainWindowEvents {
 public:
  // programFolder ends in a separator; the window exists, hidden.
  App(const Services& services, ui::MainView& view, const std::wstring& programFolder);

  // Loads the settings and the entries into the window and shows it. Returns the message to
  // report when a file cannot be used: the program then ends.
  std::optional<std::wstring> Start();

  std::string EntryText(int slot) const override { return entries_.Text(slot); }
  std::optional<int> EditedSlot() const override { return editor_.Slot(); }
  std::optional<int> DragSource() const override { return drag_.Source(); }
  int ShownPage() const override { return pages_.Shown(); }
  void OnInsertReleased(int slot) override;
  void OnEntryLabelPressed(int slot, ui::Point at) override;
  void OnEntryLabelDragged(int slot, ui::Point at, bool leftAlone) override;
  void OnEntryLabelReleased(int slot) override;
  void OnDragOverPageTab(int page) override;
  void OnDragReleased(std::optional<int> slot) override;
  void OnPressTakenAway() override;
  void OnEditBoxLostFocus() override;
  void OnEditBoxKey(ui::EditKey key) override;
  void OnPageTabReleased(int page) override;
  void OnCommand(ui::Command command) override;
  void OnTick() override;
  void OnForegroundChanged(services::WindowHandle window) override;
  bool OnCloseRequested() override;
  void OnSessionEnding() override;

 private:
  void LoadAndShow();

  ui::MainView& view_;
  services::Desktop& desktop_;
  services::Messages& messages_;
  model::EntryBook entries_;
  model::Settings settings_;
  model::Saver saver_;
  fill::TargetTracker tracker_;
  fill::Filler filler_;
  edit::Editor editor_;
  edit::Pages pages_;
  edit::DragMove drag_;
  appearance::Appearance appearance_;
  weblinks::BrowserLaunch browser_;
  Placement placement_;
};

}  // namespace tw::app
