// Where every control of the main window and of the options dialog stands, in twips (1440 to the
// inch) relative to its container, and the control IDs by which its windows, the tests and the
// benchmark tell them apart. Each window converts the twips at its own DPI.
#pragma once

#include "services/desktop.h"
#include "store/entry_file.h"

namespace tw::ui {

inline constexpr int kTwipsPerInch = 1440;
// The main window's caption, by which a second start finds it, and the options dialog's.
inline constexpr wchar_t kMainCaption[] = L" Typewell";
inline constexpr wchar_t kOptionsCaption[] = L" Typewell Options";
// The title of Typewell's message boxes: the caption without its leading blank.
inline constexpr const wchar_t* kMessageTitle = kMainCaption + 1;

// The tallest line of text that the layout's controls hold unclipped: 16 pixels at 96 DPI, the
// system's message font at its usual size. Larger text grows the layout with it.
inline constexpr int kLayoutLineHeightTwips = 240;

struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

enum class ControlKind { PushButton, OptionButton, Label, EditBox, Container };

struct ControlPlan {
  int id;
  ControlKind kind;
  int parentId;  // 0: the window's client area
  TwipsRect rect;
  const wchar_t* caption;
};

// --- the main window --------------------------------------------------------------------------
inline constexpr int kEditBoxId = 100;
inline constexpr int kTutorialButtonId = 101;
inline constexpr int kOptionsButtonId = 102;
inline constexpr int kPageBarId = 103;
inline constexpr int kPageLabelId = 104;
inline constexpr int kWebSiteButtonId = 105;
inline constexpr int kMinimizeButtonId = 106;
inline constexpr int kFirstPageId = 110;          // + page
inline constexpr int kFirstPageTabId = 120;       // + page
inline constexpr int kFirstInsertButtonId = 200;  // + slot
inline constexpr int kFirstEntryLabelId = 300;    // + slot

inline constexpr int kMainClientWidth = 2796;
inline constexpr int kMainClientHeight = 6576;  // the layout's; the shown window is shorter
inline constexpr int kRowPitch = 288;
inline constexpr int kEditBoxMaxLength = static_cast<int>(store::kEntryRecordSize);

// The controls that always exist, from the top of the stacking down, which is also the order of
// the Tab key. The pages (made when first shown) come after the "Options" button; the edit box
// lies above them, over a label when shown. An "&" marks a caption's access key.
inline constexpr ControlPlan kMainControls[] = {
    {kEditBoxId, ControlKind::EditBox, 0, {2988, 4788, 1632, 288}, L""},
    {kTutorialButtonId, ControlKind::PushButton, 0, {0, 0, 1360, 300}, L"&Tutorial"},
    {kOptionsButtonId, ControlKind::PushButton, 0, {1368, 0, 1404, 300}, L"&Options"},
    {kPageBarId, ControlKind::Container, 0, {0, 4680, 2784, 264}, L""},
    {kPageLabelId, ControlKind::Label, kPageBarId, {36, 36, 840, 264}, L"Page"},
    {kFirstPageTabId + 0, ControlKind::OptionButton, kPageBarId, {900, 0, 480, 264}, L"1"},
    {kFirstPageTabId + 1, ControlKind::OptionButton, kPageBarId, {1368, 0, 480, 264}, L"2"},
    {kFirstPageTabId + 2, ControlKind::OptionButton, kPageBarId, {1836, 0, 480, 264}, L"3"},
    {kFirstPageTabId + 3, ControlKind::OptionButton, kPageBarId, {2304, 0, 480, 264}, L"4"},
    {kWebSiteButtonId, ControlKind::PushButton, 0, {0, 5004, 2784, 300}, L"&Web Site"},
    {kMinimizeButtonId, ControlKind::PushButton, 0, {0, 5328, 2784, 480}, L"&Minimize"},
};

// The client area as shown: down to the bottom of "Minimize" and a margin below it. The window's
// frame is added to it at the window's DPI, however tall the system draws its caption.
inline constexpr int kMainBottomMargin = 24;
inline constexpr int kMainShownClientHeight = 5328 + 480 + kMainBottomMargin;

// A page's container, at the place of the first page, and its rows: an "Insert" button and the
// entry's label.
inline constexpr TwipsRect PageRect(int page) {
  constexpr int kWidths[store::kPageCount] = {2856, 2928, 3108, 2892};
  return {0, 324, kWidths[page], 4332};
}
inline constexpr TwipsRect InsertButtonRect(int row) {
  return {0, kRowPitch * row, 804, 300};
}
inline constexpr TwipsRect EntryLabelRect(int row) {
  return {828, kRowPitch * row, 1932, 276};
}

// The edit box over the slot's label, in the client area (every page stands where the first
// does), and the height of the outline that a dragged label leaves.
inline constexpr TwipsRect EditBoxRect(int slot) {
  const TwipsRect page = PageRect(0);
  const TwipsRect label = EntryLabelRect(slot % store::kSlotsPerPage);
  return {page.left + label.left, page.top + label.top, label.width, 288};
}
inline constexpr int kOutlineHeightTwips = 264;

// Twips as pixels at a DPI, to the nearest.
int TwipsToPixels(int twips, int dpi);
// A control's rectangle in its container, in pixels. The edges are rounded where the control
// stands in the window's client area, then made relative to its container, so that controls of
// different containers placed at the same twips (the edit box over a label) meet at the same
// pixels.
services::PixelRect PixelRectIn(const TwipsRect& control, const TwipsRect& container, int dpi);
// The DPI at which the layout's twips become pixels for a window of that DPI whose text has
// lines of that many pixels: its own, or more where the lines are taller than the layout's
// ("Make text bigger"), so that no text is clipped; the window then grows with it.
int LayoutDpi(int dpi, int lineHeight);

// --- the options dialog -----------------------------------------------------------------------
inline constexpr int kTextLabelId = 401;
inline constexpr int kColourLabelId = 402;
inline constexpr int kFontGroupId = 403;
inline constexpr int kColourGroupId = 404;
inline constexpr int kOkButtonId = 405;
inline constexpr int kFirstFontOptionId = 410;    // + FontChoice
inline constexpr int kFirstColourOptionId = 420;  // + ColorChoice

inline constexpr int kDialogClientWidth = 3060;
inline constexpr int kDialogClientHeight = 1716;

// From the top of the stacking down: the choices' containers lie above the labels, so that each
// row of dots runs up to the choices of its row.
inline constexpr ControlKind kChoice = ControlKind::OptionButton;
inline constexpr ControlPlan kDialogControls[] = {
    {kFontGroupId, ControlKind::Container, 0, {1044, 36, 1956, 372}, L""},
    {kFirstFontOptionId + 0, kChoice, kFontGroupId, {36, 0, 948, 300}, L"&Normal"},
    {kFirstFontOptionId + 1, kChoice, kFontGroupId, {1008, 0, 948, 300}, L"&Bold"},
    {kColourGroupId, ControlKind::Container, 0, {1080, 396, 2100, 732}, L""},
    {kFirstColourOptionId + 0, kChoice, kColourGroupId, {0, 72, 948, 300}, L"&White"},
    {kFirstColourOptionId + 1, kChoice, kColourGroupId, {972, 72, 948, 300}, L"&Green"},
    {kFirstColourOptionId + 2, kChoice, kColourGroupId, {0, 396, 948, 300}, L"B&lue"},
    {kFirstColourOptionId + 3, kChoice, kColourGroupId, {972, 396, 948, 300}, L"&Yellow"},
    {kOkButtonId, ControlKind::PushButton, 0, {36, 1152, 2964, 516}, L"OK"},
    {kTextLabelId, ControlKind::Label, 0, {36, 144, 2388, 300}, L"Text....................."},
    {kColourLabelId, ControlKind::Label, 0, {36, 576, 2424, 300}, L"Color.................."},
};

}  // namespace tw::ui
