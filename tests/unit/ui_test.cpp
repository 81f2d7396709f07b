// What each control is, what a key does where the focus is, where the focus goes and what a
// screen reader hears: the decisions that the windows carry out.
#include <gtest/gtest.h>

#include <ostream>
#include <span>
#include <tuple>

#include "ui/layout.h"
#include "ui/navigation.h"

namespace tw::ui {

// What a failure prints: role, index and act as numbers.
std::ostream& operator<<(std::ostream& out, Control c) {
  return out << "{role " << static_cast<int>(c.role) << ", " << c.index << "}";
}
std::ostream& operator<<(std::ostream& out, Intent i) {
  return out << "{act " << static_cast<int>(i.act) << ", " << i.control << "}";
}

namespace {

constexpr Control kNone{};
Control Label(int slot) {
  return EntryLabelOf(slot);
}
Control Insert(int slot) {
  return InsertButtonOf(slot);
}
Control PageTab(int page) {
  return {Role::PageTab, page};
}

TEST(Controls, EachIdNamesOneControlAndEachControlItsId) {
  const std::pair<int, Control> cases[] = {
      {100, {Role::EditBox, 0}},
      {105, {Role::Command, static_cast<int>(Command::WebSite)}},
      {110, {Role::Page, 0}},
      {123, PageTab(3)},
      {124, kNone},
      {200, Insert(0)},
      {259, Insert(59)},
      {260, kNone},
      {300, Label(0)},
      {359, Label(59)},
      {360, kNone},
      {401, kNone},
      {405, {Role::OkButton, 0}},
      {411, {Role::FontChoice, 1}},
      {412, kNone},
      {423, {Role::ColourChoice, 3}},
      {424, kNone},
      {0, kNone}};
  for (const auto& [id, control] : cases) {
    SCOPED_TRACE(id);
    EXPECT_EQ(ControlOf(id), control);
    EXPECT_EQ(IdOf(control), control == kNone ? 0 : id);
  }
  // The page bar and the labels of the dialog do nothing of their own.
  for (const auto& plans : {std::span(kMainControls), std::span(kDialogControls)}) {
    for (const ControlPlan& plan : plans) {
      const Control control = ControlOf(plan.id);
      EXPECT_EQ(IdOf(control), control == kNone ? 0 : plan.id) << plan.id;
    }
  }
}

TEST(Keys, AKeyDoesWhatTheTableOfKeysSaysWhereTheFocusIs) {
  using enum Key;
  struct Case {
    Control focus;
    KeyPress key;
    Intent does;
  };
  const Case cases[] = {{Insert(3), {Enter}, {Act::Fill, Insert(3)}},
                        {{Role::Command, 1}, {Enter}, {Act::Run, {Role::Command, 1}}},
                        {Label(3), {F2}, {Act::Edit, Label(3)}},
                        {Label(3), {Enter, true}, {Act::Edit, Label(3)}},
                        {Label(1), {Up}, {Act::Focus, Label(0)}},
                        {Label(16), {Down}, {Act::Focus, Label(17)}},
                        {Label(15), {Up}, {}},
                        {Label(29), {Down}, {}},
                        {Label(3), {Left}, {Act::Focus, Insert(3)}},
                        {Label(4), {Left}, {}},
                        {Label(3), {Right}, {}},
                        {{Role::EditBox, 0}, {Enter}, {Act::Commit, {Role::EditBox, 0}}},
                        {{Role::EditBox, 0}, {Escape}, {Act::Cancel, {Role::EditBox, 0}}},
                        {{Role::EditBox, 0}, {Tab}, {}},
                        {PageTab(0), {Left}, {Act::ShowPage, PageTab(3)}},
                        {PageTab(3), {Down}, {Act::ShowPage, PageTab(0)}},
                        {PageTab(1), {Space}, {Act::ShowPage, PageTab(1)}},
                        {kNone, {Tab, true}, {Act::ShowPage, PageTab(3)}},
                        {Label(3), {Tab, true, true}, {Act::ShowPage, PageTab(1)}},
                        {Insert(3), {PageDown, true, true}, {Act::ShowPage, PageTab(3)}},
                        {kNone, {PageUp, true}, {Act::ShowPage, PageTab(1)}},
                        {kNone, {Tab}, {}},
                        {{Role::FontChoice, 1}, {Right}, {Act::Choose, {Role::FontChoice, 0}}},
                        {{Role::ColourChoice, 0}, {Up}, {Act::Choose, {Role::ColourChoice, 3}}},
                        {{Role::ColourChoice, 2}, {Space}, {Act::Choose, {Role::ColourChoice, 2}}},
                        {{Role::OkButton, 0}, {Enter}, {Act::Close, {Role::OkButton, 0}}},
                        {{Role::FontChoice, 0}, {Enter}, {}}};
  // Page 3 on show; of its slots 3 and 33 are filled.
  const KeyContext context{2, [](int slot) { return slot == 3 || slot == 33; }};
  for (const Case& c : cases) {
    EXPECT_EQ(KeyIntent(c.focus, c.key, context), c.does) << &c - cases;
  }
  EXPECT_EQ(std::tuple(TakesKey(Role::EntryLabel, Right), TakesKey(Role::InsertButton, Space),
                       TakesKey(Role::EditBox, Tab), TakesKey(Role::None, Tab)),
            std::tuple(true, false, false, false));
  EXPECT_EQ(
      std::tuple(ClickIntent(Insert(7)), ClickIntent({Role::Command, 2}), ClickIntent(PageTab(1))),
      std::tuple(Intent{Act::Fill, Insert(7)}, Intent{Act::Run, {Role::Command, 2}}, Intent{}));
}

TEST(Focus, TheFocusOfAControlThatGoesMovesToItsSlotsLabelOrTheSameRowOfThePageOnShow) {
  const auto filled = [](int slot) { return slot == 18; };
  const Control edit{Role::EditBox, 0};
  EXPECT_EQ(std::tuple(FocusWhenEditCloses(edit, 4), FocusWhenEditCloses(Insert(2), 4),
                       FocusWhenEntryEmptied(Insert(4), 4), FocusWhenEntryEmptied(Insert(5), 4)),
            std::tuple(Label(4), Insert(2), Label(4), Insert(5)));
  EXPECT_EQ(std::tuple(FocusWhenPageChanges(Insert(3), 1, filled),
                       FocusWhenPageChanges(Insert(4), 1, filled),
                       FocusWhenPageChanges(Label(33), 0, filled),
                       FocusWhenPageChanges(PageTab(2), 1, filled),
                       FocusWhenPageChanges(Label(20), 1, filled)),
            std::tuple(Insert(18), Label(19), Label(3), PageTab(2), Label(20)));
  EXPECT_EQ(std::tuple(FocusOnReturn(Insert(3), true, 2), FocusOnReturn(Insert(3), false, 2),
                       FocusOnReturn(kNone, true, 1)),
            std::tuple(Insert(3), Label(30), Label(15)));
}

TEST(Layout, TwipsBecomePixelsWhereTheControlStandsAndTheLayoutGrowsWithTallerText) {
  // At 96 DPI 15 twips are a pixel: the page's top (324) is 21.6 pixels, row 3's label (864) 79.2.
  const TwipsRect client{0, 0, kMainClientWidth, kMainClientHeight};
  EXPECT_EQ(PixelRectIn(EntryLabelRect(3), PageRect(0), 96),
            (services::PixelRect{55, 57, 184, 75}));
  const services::PixelRect page = PixelRectIn(PageRect(0), client, 144);
  const services::PixelRect label = PixelRectIn(EntryLabelRect(3), PageRect(0), 144);
  const services::PixelRect box = PixelRectIn(EditBoxRect(3), client, 144);
  EXPECT_EQ(std::tuple(box.left, box.top),
            std::tuple(page.left + label.left, page.top + label.top));
  EXPECT_EQ(std::tuple(TwipsToPixels(7, 96), TwipsToPixels(8, 96), LayoutDpi(96, 16),
                       LayoutDpi(96, 17), LayoutDpi(96, 24), LayoutDpi(144, 20)),
            std::tuple(0, 1, 96, 102, 144, 144));
}

TEST(Names, EachControlIsNamedForWhatItDoes) {
  EXPECT_EQ(
      std::tuple(AccessibleName(Insert(3), L"Smith & Co", 7), AccessibleName(Insert(3), L"", {}),
                 AccessibleName(Label(3), L"Smith & Co", {}), AccessibleName(Label(59), L"", {}),
                 AccessibleName(PageTab(0), L"", {}), AccessibleName({Role::EditBox, 0}, L"", 3),
                 AccessibleName({Role::EditBox, 0}, L"", {}),
                 AccessibleName({Role::Command, 0}, L"", {})),
      std::tuple(L"Insert 4: Smith & Co", L"Insert 4, empty", L"Smith & Co", L"Entry 60, empty",
                 L"Page 1", L"Entry 4", L"", L""));
}

}  // namespace
}  // namespace tw::ui
