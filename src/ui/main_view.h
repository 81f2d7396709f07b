// The seam between Typewell's behaviour and its windows. The main window shows what the program
// tells it (MainView) and reports what the user does (MainWindowEvents); src/win32 makes it of
// real windows, the tests of a fake. Points and sizes are pixels of the window's own DPI, and
// the place of the window is in screen pixels.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "services/desktop.h"

namespace tw::ui {

struct Point {
  int x = 0;
  int y = 0;
};

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

enum class Command { Tutorial, Options, WebSite, Minimize };
enum class EditKey { Commit, Cancel };

// The two choices of the options dialog, as the settings file holds them.
struct Choices {
  int font = 0;    // 0 normal, 1 bold
  int colour = 0;  // 0 white, 1 green, 2 light cyan, 3 yellow
};

// What the options dialog reports, and what it shows when it opens and after each choice.
class OptionsEvents {
 public:
  virtual ~OptionsEvents() = default;
  virtual Choices Current() const = 0;
  virtual void OnColourChosen(int choice) = 0;
  virtual void OnFontChosen(int choice) = 0;
};

class MainWindowEvents {
 public:
  virtual ~MainWindowEvents() = default;

  // What the window shows, asked of the program rather than kept in a copy of its own: an
  // entry's text, the slot of the open edit, the slot whose entry is being dragged and the page on
  // show.
  virtual std::string EntryText(int slot) const = 0;
  virtual std::optional<int> EditedSlot() const = 0;
  virtual std::optional<int> DragSource() const = 0;
  virtual int ShownPage() const = 0;

  // The release of any mouse button that was pressed on the slot's "Insert" button, wherever
  // the pointer is then; or Space or Enter on it.
  virtual void OnInsertReleased(int slot) = 0;
  // A press of any button on an entry label, at a point of the label.
  virtual void OnEntryLabelPressed(int slot, Point at) = 0;
  // The pointer moved with a button held after a press on the label (no drag yet); leftAlone:
  // the left button and no other is held.
  virtual void OnEntryLabelDragged(int slot, Point at, bool leftAlone) = 0;
  // The release that ends a press on an entry label, unless a drag began; or F2 or Enter on it.
  virtual void OnEntryLabelReleased(int slot) = 0;
  // During a drag, the pointer over a page tab; and the release that ends the drag, over an
  // entry label of that slot or elsewhere.
  virtual void OnDragOverPageTab(int page) = 0;
  virtual void OnDragReleased(std::optional<int> slot) = 0;
  // Another window took the mouse before the release (a message box): a drag ends there.
  virtual void OnPressTakenAway() = 0;
  virtual void OnEditBoxLostFocus() = 0;
  // Enter (commit) or Esc (cancel) in the edit box.
  virtual void OnEditBoxKey(EditKey key) = 0;
  // The release of any mouse button that was pressed on a page tab; or a page chosen from the
  // keyboard.
  virtual void OnPageTabReleased(int page) = 0;
  virtual void OnCommand(Command command) = 0;
  // Once a second for the life of the window.
  virtual void OnTick() = 0;
  // Another window came to the front (the system names it; 0: the one in front now), Typewell
  // lost the activation, or a press reached it while another window was active.
  virtual void OnForegroundChanged(services::WindowHandle window) = 0;
  // The user or the system asks to close the window; false keeps it open.
  virtual bool OnCloseRequested() = 0;
  // The Windows session ends; the process ends after this returns.
  virtual void OnSessionEnding() = 0;
};

class MainView {
 public:
  virtual ~MainView() = default;

  // The slot's entry changed: its label shows the text, its "Insert" button is enabled exactly
  // when the text is not empty, and both are named after it.
  virtual void ShowEntry(int slot) = 0;
  // The hint " Click to add or edit text " as the tool tip of the first page's labels.
  virtual void ShowHint() = 0;
  // The page's container on show (the others hidden) and its tab marked. False, and the page on
  // show as it was, when the page's controls cannot be made (the window says so).
  [[nodiscard]] virtual bool ShowPage(int page) = 0;
  // The edit box over the slot's label with the text, shown and focused; and closing the edit
  // of the slot (the focus, if the box had it, goes to the slot's label).
  virtual void OpenEditBox(int slot, const std::string& text) = 0;
  virtual std::string EditBoxText() const = 0;
  virtual void CloseEditBox(int slot) = 0;
  // An outline of the label's size follows the pointer until the release, which it consumes.
  // False, and no drag, when the press that would drag is no longer held.
  [[nodiscard]] virtual bool BeginDrag(int slot) = 0;
  virtual void SetLabelColour(Rgb colour) = 0;
  // Every control's text bold or of normal weight.
  virtual void SetBold(bool bold) = 0;
  virtual void Minimize() = 0;
  virtual bool Minimized() const = 0;
  // Shows the window for the first time, normal or minimised (a task-bar button).
  virtual void ShowWindow(bool minimized) = 0;

  virtual int Dpi() const = 0;
  // The outer rectangle in screen pixels (where it will be restored to when minimised).
  virtual services::PixelRect Place() const = 0;
  // The outer size for the layout's client area, before the start-up shortens the window.
  virtual services::PixelSize LayoutOuterSize() const = 0;
  virtual void MoveTo(int left, int top) = 0;

  // Shows the options dialog modally; returns when it is closed.
  virtual void RunOptionsDialog(OptionsEvents& events) = 0;
};

}  // namespace tw::ui
