#include "app/app.h"

#include "store/file_error.h"

namespace tw::app {

namespace {

constexpr std::int16_t kHintedStarts = 10;  // the hint shows in the first starts only

std::wstring In(const std::wstring& folder, const wchar_t* name) {
  return folder + name;
}

// What the user is told when a fill could not be done.
std::wstring NothingFilled(fill::FillOutcome outcome, const std::wstring& title) {
  switch (outcome) {
    case fill::FillOutcome::NoProgram:
      return L"Nothing filled: no other program was active before Typewell.";
    case fill::FillOutcome::ProgramGone:
      return L"Nothing filled: the program to fill is closed.";
    case fill::FillOutcome::NotAnswering:
      return L"Nothing filled: " + title + L" does not answer.";
    case fill::FillOutcome::ClipboardBusy:
      return L"Nothing filled: another program holds the clipboard.";
    case fill::FillOutcome::MoreRights:
      return L"Nothing filled: " + title +
             L" runs as administrator, and Windows lets no program with fewer rights type into it. "
             L"Start Typewell as administrator to fill it.";
    case fill::FillOutcome::Interrupted:
      return L"The fill stopped: another program came to the front.";
    default:
      return L"Nothing filled: Windows did not let Typewell type into " + title + L".";
  }
}

}  // namespace

App::App(const Services& services, ui::MainView& view, const std::wstring& programFolder)
    : view_(view),
      desktop_(services.desktop),
      messages_(services.messages),
      entries_(In(programFolder, store::kEntryFileName)),
      settings_(In(programFolder, store::kSettingsFileName)),
      saver_(entries_, settings_, services.messages),
      tracker_(services.desktop),
      filler_(services.desktop, services.typing),
      editor_(entries_, saver_, view),
      pages_(view),
      drag_(entries_, saver_, view),
      appearance_(settings_, saver_, view),
      browser_(services.shell, view, programFolder),
      placement_(view, settings_, services.desktop) {}

std::optional<std::wstring> App::Start() {
  try {
    LoadAndShow();
    return std::nullopt;
  } catch (const store::FileError& e) {
    return L"Typewell cannot start: the file " + e.Path() + L" cannot be used.\n\n" + e.Reason();
  }
}

void App::LoadAndShow() {
  const store::SettingsFileState state =
      settings_.Load(placement_.Geometry(),
                     [this](const auto& record) { return placement_.OnAnyMonitor(record); });
  placement_.MoveToSaved();
  if (settings_.Record().startCount < kHintedStarts) view_.ShowHint();
  entries_.Load();
  for (int slot = 0; slot < store::kSlotCount; ++slot) view_.ShowEntry(slot);
  appearance_.Apply();
  pages_.Show(0);
  // Only a first start (an empty settings file) opens the window normal; later starts show it
  // as a task-bar button until the user restores it.
  view_.ShowWindow(state == store::SettingsFileState::Written);
}

void App::OnInsertReleased(int slot) {
  // A right or middle press does not take the focus from the edit box: commit it here, so that
  // the entry filled is the one just typed.
  editor_.Commit();
  const services::WindowHandle target = tracker_.Target();
  const fill::FillOutcome outcome = filler_.Fill(entries_.Text(slot), target);
  if (outcome != fill::FillOutcome::Done) {
    messages_.Notify(NothingFilled(outcome, desktop_.WindowTitle(target)));
  }
}

void App::OnEntryLabelPressed(int /*slot*/, ui::Point at) {
  drag_.Press(at);
}

void App::OnEntryLabelDragged(int slot, ui::Point at, bool leftAlone) {
  if (!drag_.ShouldStart(slot, at, leftAlone)) return;
  // An open edit belongs to its own slot: committed before the drag names its source, and
  // written once the drag is under way (a report of a failed write takes the press away, and the
  // drag ends with it).
  editor_.Commit(edit::Editor::Write::ByCaller);
  drag_.Start(slot);
  saver_.SaveChanges();
}

void App::OnEntryLabelReleased(int slot) {
  editor_.Open(slot);
}

void App::OnDragOverPageTab(int page) {
  pages_.ShowDuringDrag(page);
}

void App::OnDragReleased(std::optional<int> slot) {
  drag_.Drop(slot);
}

void App::OnPressTakenAway() {
  drag_.Cancel();
}

void App::OnEditBoxLostFocus() {
  editor_.Commit();
}

void App::OnEditBoxKey(ui::EditKey key) {
  key == ui::EditKey::Commit ? editor_.Commit() : editor_.Cancel();
}

void App::OnPageTabReleased(int page) {
  editor_.Commit();
  pages_.Show(page);
}

void App::OnCommand(ui::Command command) {
  editor_.Commit();
  switch (command) {
    case ui::Command::Tutorial:
      browser_.OpenTutorial();
      break;
    case ui::Command::WebSite:
      browser_.OpenWebSite();
      break;
    case ui::Command::Options:
      view_.RunOptionsDialog(appearance_);
      break;
    case ui::Command::Minimize:
      view_.Minimize();
      break;
  }
}

void App::OnTick() {
  placement_.StoreIfMoved();
  saver_.SaveChanges();
  tracker_.Sample();
}

void App::OnForegroundChanged(services::WindowHandle window) {
  tracker_.Sample(window);
}

bool App::OnCloseRequested() {
  editor_.Commit(edit::Editor::Write::ByCaller);
  return saver_.SaveBeforeClose();
}

void App::OnSessionEnding() {
  editor_.Commit(edit::Editor::Write::ByCaller);
  saver_.SaveAtSessionEnd();
}

}  // namespace tw::app
