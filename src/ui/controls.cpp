#include "ui/controls.h"

#include "store/entry_file.h"
#include "store/settings_file.h"
#include "ui/layout.h"

namespace tw::ui {

namespace {

// The controls that come in numbered runs: the first ID of each run and its length.
struct Run {
  Role role;
  int firstId;
  int count;
};
constexpr Run kRuns[] = {
    {Role::Page, kFirstPageId, store::kPageCount},
    {Role::PageTab, kFirstPageTabId, store::kPageCount},
    {Role::InsertButton, kFirstInsertButtonId, store::kSlotCount},
    {Role::EntryLabel, kFirstEntryLabelId, store::kSlotCount},
    {Role::FontChoice, kFirstFontOptionId, store::kFontChoiceCount},
    {Role::ColourChoice, kFirstColourOptionId, store::kColourChoiceCount},
};

struct Single {
  Control control;
  int id;
};
constexpr Single kSingles[] = {
    {{Role::EditBox, 0}, kEditBoxId},
    {{Role::Command, static_cast<int>(Command::Tutorial)}, kTutorialButtonId},
    {{Role::Command, static_cast<int>(Command::Options)}, kOptionsButtonId},
    {{Role::Command, static_cast<int>(Command::WebSite)}, kWebSiteButtonId},
    {{Role::Command, static_cast<int>(Command::Minimize)}, kMinimizeButtonId},
    {{Role::OkButton, 0}, kOkButtonId},
};

std::wstring Number(int index) {
  return std::to_wstring(index + 1);
}

}  // namespace

Control ControlOf(int id) {
  for (const Run& run : kRuns) {
    if (id >= run.firstId && id < run.firstId + run.count) return {run.role, id - run.firstId};
  }
  for (const Single& single : kSingles) {
    if (single.id == id) return single.control;
  }
  return {};
}

int IdOf(Control control) {
  for (const Run& run : kRuns) {
    if (run.role == control.role && control.index >= 0 && control.index < run.count) {
      return run.firstId + control.index;
    }
  }
  for (const Single& single : kSingles) {
    if (single.control == control) return single.id;
  }
  return 0;
}

std::wstring AccessibleName(Control control, const std::wstring& entryText,
                            std::optional<int> editedSlot) {
  switch (control.role) {
    case Role::InsertButton:
      return L"Insert " + Number(control.index) +
             (entryText.empty() ? L", empty" : L": " + entryText);
    case Role::EntryLabel:
      return entryText.empty() ? L"Entry " + Number(control.index) + L", empty" : entryText;
    case Role::PageTab:
      return L"Page " + Number(control.index);
    case Role::EditBox:
      return editedSlot ? L"Entry " + Number(*editedSlot) : L"";
    default:
      return {};
  }
}

}  // namespace tw::ui
