// What the Win32 backend renders and feeds back: the shared fonts, label colours, tool tips,
// option-button checks and clicks, typed text, timer ticks, native focus changes and the modal
// show of a second form.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "backend_test_support.h"

namespace tw::win32::testing {
namespace {

using forms::ControlKind;

HFONT FontOf(const forms::Control& c) {
  return reinterpret_cast<HFONT>(SendMessageW(Hwnd(c), WM_GETFONT, 0, 0));
}

void WeightPass(const forms::Form& form, bool bold) {
  for (int i = 0; i < form.controlCount(); ++i) {
    forms::Control& c = form.controlAt(i);
    if (c.hasFont()) c.setBold(bold);
  }
}

TEST(BackendRendering, WeightPassesShareOneBoldAndOneNormalFontAndCreateNothing) {
  RealMainWindow w;
  w.show();
  const forms::Form& form = w.main.form;
  const HFONT normal = FontOf(*w.main.Command1);
  ASSERT_NE(normal, nullptr);

  const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  for (int pass = 0; pass < 100; ++pass) {
    WeightPass(form, pass % 2 == 0);
    PumpUntil([] { return true; });  // let the repaints run
  }
  WeightPass(form, true);
  std::set<HFONT> fonts;
  for (int i = 0; i < form.controlCount(); ++i) {
    const forms::Control& c = form.controlAt(i);
    if (c.kind() != ControlKind::Timer && c.kind() != ControlKind::Container &&
        c.kind() != ControlKind::FocusSink) {
      fonts.insert(FontOf(c));
    }
  }
  ASSERT_EQ(fonts.size(), 1u) << "every control must use the one bold font";
  const HFONT bold = *fonts.begin();
  EXPECT_NE(bold, normal);
  LOGFONTW logical{};
  ASSERT_NE(GetObjectW(bold, sizeof(logical), &logical), 0);
  EXPECT_EQ(logical.lfWeight, FW_BOLD);
  const DWORD gdiAfter = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  EXPECT_LE(gdiAfter, gdiBefore) << "GDI objects grew over 100 weight passes";

  WeightPass(form, false);
  EXPECT_EQ(FontOf(*w.main.Names[7]), normal);
  EXPECT_EQ(FontOf(*w.main.Page[2]), normal);
}

TEST(BackendRendering, LabelsPaintTheirBackColourAndTheFaceColourWithoutOne) {
  RealMainWindow w;
  w.show();
  forms::Control& label = *w.main.Names[2];
  HWND h = Hwnd(label);
  const auto pixelAtRightEdge = [h] {
    RECT r;
    GetClientRect(h, &r);
    UpdateWindow(h);
    HDC dc = GetDC(h);
    const COLORREF c = GetPixel(dc, r.right - 3, r.bottom / 2);
    ReleaseDC(h, dc);
    return c;
  };
  EXPECT_TRUE(PumpUntil([&] { return pixelAtRightEdge() == RGB(255, 255, 255); }))
      << "an entry label starts white";
  label.setBackColor({0, 128, 0});
  EXPECT_TRUE(PumpUntil([&] { return pixelAtRightEdge() == RGB(0, 128, 0); }))
      << std::hex << pixelAtRightEdge();

  HWND pageLabel = Hwnd(*w.main.Label1);  // no colour set: the face colour
  RECT r;
  GetClientRect(pageLabel, &r);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_TRUE(PumpUntil([&] {
    UpdateWindow(pageLabel);
    HDC dc = GetDC(pageLabel);
    const COLORREF c = GetPixel(dc, r.right - 2, 1);
    ReleaseDC(pageLabel, dc);
    return c == face;
  }));
}

std::wstring ToolText(HWND tip, HWND tool) {
  wchar_t text[256] = {};
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = GetParent(tool);
  info.uId = reinterpret_cast<UINT_PTR>(tool);
  info.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 255, reinterpret_cast<LPARAM>(&info));
  return text;
}

TEST(BackendRendering, ALabelWithAToolTipHasOneToolThatFollowsItsText) {
  RealMainWindow w;
  HWND tip = Win32Backend::ToolTipOf(w.main.form);
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
  w.main.Names[0]->setToolTip(" Click to add or edit text ");
  w.main.Names[1]->setToolTip(" Click to add or edit text ");
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
  EXPECT_EQ(ToolText(tip, Hwnd(*w.main.Names[0])), L" Click to add or edit text ");
  w.main.Names[0]->setToolTip("other");
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
  EXPECT_EQ(ToolText(tip, Hwnd(*w.main.Names[0])), L"other");
  w.main.Names[0]->setToolTip("");
  w.main.Names[1]->setToolTip("");
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
}

TEST(BackendRendering, OptionButtonsShowTheSelectionAndReportNativeClicks) {
  RealMainWindow w;
  w.show();
  auto& page = w.main.Page;
  const auto checked = [&](int i) {
    return SendMessageW(Hwnd(*page[i]), BM_GETCHECK, 0, 0) == BST_CHECKED;
  };
  page[1]->setSelected(true);
  EXPECT_TRUE(checked(1));
  page[0]->setSelected(true);
  EXPECT_TRUE(checked(0));
  EXPECT_FALSE(checked(1));

  // A native click (through the page bar container to the form) selects and raises Click.
  int clicked = -1;
  page[3]->onClick = [&](int index) { clicked = index; };
  SendMessageW(Hwnd(*page[3]), BM_CLICK, 0, 0);
  EXPECT_EQ(clicked, 3);
  EXPECT_TRUE(page[3]->selected());
  EXPECT_TRUE(checked(3));
  EXPECT_FALSE(checked(0));

  // A disabled push button reports nothing.
  int buttonClicks = 0;
  w.main.FillBtn[4]->onClick = [&](int) { ++buttonClicks; };
  w.main.FillBtn[4]->setEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(Hwnd(*w.main.FillBtn[4])));
  SendMessageW(Hwnd(*w.main.FillBtn[4]), BM_CLICK, 0, 0);
  w.main.FillBtn[4]->setEnabled(true);
  SendMessageW(Hwnd(*w.main.FillBtn[4]), BM_CLICK, 0, 0);
  EXPECT_EQ(buttonClicks, 1);
}

TEST(BackendRendering, TypedTextReachesTheTextBoxAndFocusLossIsReported) {
  RealMainWindow w;
  w.show();
  forms::Control& box = *w.main.Gettext;
  HWND edit = Hwnd(box);
  EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 200);
  box.setVisible(true);
  box.setCaption("start");
  box.setFocus();
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == edit; }));

  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"caf\u00e9 typed"));
  EXPECT_EQ(box.caption(), "caf\xe9 typed");  // bytes in the ANSI code page

  int lost = 0;
  box.onLostFocus = [&](int) { ++lost; };
  SetFocus(Hwnd(*w.main.FillBtn[0]));  // the user tabs or clicks away
  EXPECT_EQ(lost, 1);
  EXPECT_EQ(w.main.form.focused(), w.main.FillBtn[0]);
}

TEST(BackendRendering, TheTimerTicksOnlyWhileEnabled) {
  RealMainWindow w;
  forms::Control& timer = *w.main.Timer1;
  int ticks = 0;
  timer.onTimer = [&](int) { ++ticks; };
  timer.setInterval(20);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  timer.setEnabled(false);
  PumpUntil([] { return true; });
  const int stopped = ticks;
  EXPECT_FALSE(PumpUntil([&] { return ticks > stopped; }, std::chrono::milliseconds(200)));
}

TEST(BackendRendering, AModalFormDisablesTheOthersAndReturnsWhenUnloaded) {
  RealMainWindow w;
  w.show();
  forms::Form dialog(w.toolkit, "Dialog",
                     forms::FormStyle{forms::BorderStyle::FixedDialog, false, false});
  dialog.setClientSize(3000, 2000);
  dialog.add(ControlKind::PushButton, "OKBtn", -1, nullptr, {100, 100, 1000, 400}, "OK");
  HWND mainWindow = Win32Backend::WindowOf(w.main.form);
  bool mainEnabledDuringModal = true;
  bool ownedByMain = false;
  dialog.onLoad = [&] {
    HWND self = Win32Backend::WindowOf(dialog);
    ownedByMain = GetWindow(self, GW_OWNER) == mainWindow;
    PostMessageW(self, WM_CLOSE, 0, 0);  // closed by a posted message, as by the close box
  };
  dialog.onUnload = [&] { mainEnabledDuringModal = IsWindowEnabled(mainWindow) != FALSE; };
  dialog.showModal();
  EXPECT_FALSE(dialog.loaded());
  EXPECT_TRUE(ownedByMain);
  EXPECT_FALSE(mainEnabledDuringModal);
  EXPECT_TRUE(IsWindowEnabled(mainWindow));
  EXPECT_EQ(w.toolkit.formCount(), 1);
}

}  // namespace
}  // namespace tw::win32::testing
