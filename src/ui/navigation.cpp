#include "ui/navigation.h"

#include "store/entry_file.h"
#include "store/settings_file.h"

namespace tw::ui {

namespace {

using store::kPageCount;
using store::kSlotsPerPage;

// A row of the table of keys. The page keys (where: None) work anywhere in the main window and
// need Ctrl, with Shift as given; the keys of a control work with any modifier. Key::Other in a
// row stands for each arrow key, which steps back (Left, Up) or on (Right, Down). step: the row,
// page or choice that the act goes to, counted from the control's (or from the page on show);
// kItsInsert: the "Insert" button of the label's slot.
constexpr Key kArrow = Key::Other;
constexpr int kItsInsert = 100;
enum class Shift { Any, Up, Down };
struct KeyRule {
  Role where;
  Key key;
  Act act;
  int step = 0;
  Shift shift = Shift::Any;
};

constexpr KeyRule kKeyRules[] = {
    {Role::None, Key::Tab, Act::ShowPage, 1, Shift::Up},
    {Role::None, Key::Tab, Act::ShowPage, -1, Shift::Down},
    {Role::None, Key::PageDown, Act::ShowPage, 1},
    {Role::None, Key::PageUp, Act::ShowPage, -1},
    {Role::InsertButton, Key::Enter, Act::Fill},
    {Role::Command, Key::Enter, Act::Run},
    {Role::EntryLabel, Key::F2, Act::Edit},
    {Role::EntryLabel, Key::Enter, Act::Edit},
    {Role::EntryLabel, Key::Up, Act::Focus, -1},
    {Role::EntryLabel, Key::Down, Act::Focus, 1},
    {Role::EntryLabel, Key::Left, Act::Focus, kItsInsert},
    {Role::EntryLabel, Key::Right, Act::None},
    {Role::EditBox, Key::Enter, Act::Commit},
    {Role::EditBox, Key::Escape, Act::Cancel},
    {Role::PageTab, Key::Space, Act::ShowPage},
    {Role::PageTab, kArrow, Act::ShowPage},
    {Role::FontChoice, Key::Space, Act::Choose},
    {Role::FontChoice, kArrow, Act::Choose},
    {Role::ColourChoice, Key::Space, Act::Choose},
    {Role::ColourChoice, kArrow, Act::Choose},
    {Role::OkButton, Key::Enter, Act::Close},
};

bool IsArrow(Key key) {
  return key == Key::Left || key == Key::Right || key == Key::Up || key == Key::Down;
}

bool Matches(const KeyRule& rule, Role where, KeyPress key) {
  if (rule.where != where) return false;
  if (rule.key == kArrow ? !IsArrow(key.key) : rule.key != key.key) return false;
  if (where != Role::None) return true;
  return key.ctrl && (rule.shift == Shift::Any || key.shift == (rule.shift == Shift::Down));
}

int Wrapped(int index, int count) {
  return (index % count + count) % count;
}

int ChoiceCount(Role role) {
  return role == Role::FontChoice ? store::kFontChoiceCount : store::kColourChoiceCount;
}

// The rule's act on the control: the row above or below on the same page, the label's "Insert"
// button while it can take the focus, the page or the choice before or after (round the end).
Intent Resolve(const KeyRule& rule, Control focus, Key key, const KeyContext& context) {
  const int step = rule.key != kArrow ? rule.step : key == Key::Left || key == Key::Up ? -1 : 1;
  switch (rule.act) {
    case Act::ShowPage: {
      const int from = rule.where == Role::None ? context.shownPage : focus.index;
      return {Act::ShowPage, {Role::PageTab, Wrapped(from + step, kPageCount)}};
    }
    case Act::Choose:
      return {Act::Choose, {focus.role, Wrapped(focus.index + step, ChoiceCount(focus.role))}};
    case Act::Focus: {
      if (step == kItsInsert) {
        return context.filled(focus.index) ? Intent{Act::Focus, InsertButtonOf(focus.index)}
                                           : Intent{};
      }
      const int row = focus.index % kSlotsPerPage + step;
      if (row < 0 || row >= kSlotsPerPage) return {};
      return {Act::Focus, EntryLabelOf(focus.index + step)};
    }
    case Act::None:
      return {};
    default:
      return {rule.act, focus};
  }
}

}  // namespace

Intent KeyIntent(Control focus, KeyPress key, const KeyContext& context) {
  for (const Role where : {Role::None, focus.role}) {
    for (const KeyRule& rule : kKeyRules) {
      if (Matches(rule, where, key)) return Resolve(rule, focus, key.key, context);
    }
  }
  return {};
}

bool TakesKey(Role role, Key key) {
  for (const KeyRule& rule : kKeyRules) {
    if (role != Role::None && Matches(rule, role, {key})) return true;
  }
  return false;
}

Intent ClickIntent(Control clicked) {
  switch (clicked.role) {
    case Role::InsertButton:
      return {Act::Fill, clicked};
    case Role::Command:
      return {Act::Run, clicked};
    case Role::OkButton:
      return {Act::Close, clicked};
    default:
      return {};
  }
}

Control FocusWhenEditCloses(Control focus, int slot) {
  return focus.role == Role::EditBox ? EntryLabelOf(slot) : focus;
}

Control FocusWhenEntryEmptied(Control focus, int slot) {
  return focus == InsertButtonOf(slot) ? EntryLabelOf(slot) : focus;
}

Control FocusWhenPageChanges(Control focus, int page, const std::function<bool(int slot)>& filled) {
  if (focus.role != Role::InsertButton && focus.role != Role::EntryLabel) return focus;
  if (focus.index / kSlotsPerPage == page) return focus;
  const int slot = page * kSlotsPerPage + focus.index % kSlotsPerPage;
  return focus.role == Role::InsertButton && filled(slot) ? InsertButtonOf(slot)
                                                          : EntryLabelOf(slot);
}

Control FocusOnReturn(Control left, bool canTakeIt, int shownPage) {
  return left.role != Role::None && canTakeIt ? left : EntryLabelOf(shownPage * kSlotsPerPage);
}

}  // namespace tw::ui
