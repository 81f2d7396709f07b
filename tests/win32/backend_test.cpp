// The main window's layout realised as real windows and what the backend renders: every
// control at lround(twips / twips-per-pixel) in its container at the real DPI (96, 144 in a
// child process, and after a move to a monitor of 144 DPI), hidden controls hidden, the focus
// sink focused under the "Tutorial" button, labels painted in their colour, and weight passes
// that share one normal and one bold font.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>

#include "backend_test_support.h"
#include "win32/scoped_handles.h"

namespace tw::win32::testing {
namespace {

HFONT FontOf(const forms::Control& c) {
  return reinterpret_cast<HFONT>(SendMessageW(Hwnd(c), WM_GETFONT, 0, 0));
}

COLORREF PixelOf(HWND window, int x, int y) {
  UpdateWindow(window);
  HDC dc = GetDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

// Every control's window lies at its twips, converted at dpi, in its container.
void ExpectLayoutAt(const core::MainWindow& m, int dpi) {
  const double tpp = 1440.0 / dpi;
  const auto px = [tpp](forms::Twips t) { return static_cast<long>(std::lround(t / tpp)); };
  HWND formWindow = Win32Backend::WindowOf(m.form);
  for (int i = 0; i < m.form.controlCount(); ++i) {
    const forms::Control& c = m.form.controlAt(i);
    SCOPED_TRACE(c.name() + "(" + std::to_string(c.index()) + ") at " + std::to_string(dpi));
    HWND h = Hwnd(c);
    if (c.kind() == forms::ControlKind::Timer || (h == nullptr && !c.shown())) continue;
    ASSERT_EQ(GetDlgCtrlID(h), kFirstControlId + i);
    EXPECT_EQ(GetParent(h), c.container() ? Hwnd(*c.container()) : formWindow);
    RECT r;
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, formWindow, reinterpret_cast<POINT*>(&r), 2);
    const forms::Rect abs = c.absoluteBounds();
    EXPECT_EQ(r.left, px(abs.left));
    EXPECT_EQ(r.top, px(abs.top));
    EXPECT_EQ(r.right - r.left, px(abs.width));
    EXPECT_EQ(r.bottom - r.top, px(abs.height));
  }
}

TEST(BackendLayout, EveryControlAtItsPixelsHiddenOnesHiddenAndTheSinkFocusedUnderTutorial) {
  const char* expected = std::getenv("TYPEWELL_EXPECT_DPI");
  const int dpi = expected ? std::atoi(expected) : 96;
  RealMainWindow w;
  ASSERT_DOUBLE_EQ(w.backend.twipsPerPixelY(), 1440.0 / dpi);
  w.show();
  core::MainWindow& m = w.main;
  ExpectLayoutAt(m, dpi);
  EXPECT_FALSE(IsWindowVisible(Hwnd(*m.Gettext)) || IsWindowVisible(Hwnd(*m.Dragbox)));
  // The pages not on show get their windows when first shown, where they then stand.
  EXPECT_EQ(Hwnd(*m.FillBtn[15]), nullptr);
  for (int p = 1; p < core::kPageCount; ++p) {
    m.Frame[p]->setLeft(m.Frame[0]->left());
    m.Frame[p]->setVisible(true);
  }
  ExpectLayoutAt(m, dpi);
  EXPECT_TRUE(IsWindowVisible(Hwnd(*m.Names[59])));
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == Hwnd(*m.Holdfocus); }));
  RECT sink;
  GetWindowRect(Hwnd(*m.Holdfocus), &sink);
  POINT middle{(sink.left + sink.right) / 2, (sink.top + sink.bottom) / 2};
  EXPECT_EQ(WindowFromPoint(middle), Hwnd(*m.Command1));
}

TEST(BackendLayout, AtHighDpiInAChildProcess) {
  if (std::getenv("TYPEWELL_EXPECT_DPI")) GTEST_SKIP() << "already the high-DPI run";
  const wchar_t* desktop = L"Control Panel\\Desktop";
  const DWORD high = 144;  // Wine reads it for every new process
  RegSetKeyValueW(HKEY_CURRENT_USER, desktop, L"LogPixels", REG_DWORD, &high, sizeof(high));
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  SetEnvironmentVariableW(L"TYPEWELL_EXPECT_DPI", L"144");
  const int exitCode = _wsystem(
      (L"\"\"" + std::wstring(self) + L"\" --gtest_filter=BackendLayout.Every*\"").c_str());
  SetEnvironmentVariableW(L"TYPEWELL_EXPECT_DPI", nullptr);
  RegDeleteKeyValueW(HKEY_CURRENT_USER, desktop, L"LogPixels");
  EXPECT_EQ(exitCode, 0) << "the layout test failed at 144 DPI (see its output above)";
}

TEST(BackendLayout, AMoveToAMonitorOf144DpiLaysOutAgainWithFontsForIt) {
  RealMainWindow w;
  w.show();
  HWND window = Win32Backend::WindowOf(w.main.form);
  LOGFONTW before{}, after{};
  GetObjectW(FontOf(*w.main.Command1), sizeof(before), &before);
  RECT suggested{100, 50, 100 + 300, 50 + 640};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  w.main.Frame[2]->setVisible(true);  // a page first shown after the move
  ExpectLayoutAt(w.main, 144);
  RECT now;
  GetWindowRect(window, &now);
  EXPECT_TRUE(EqualRect(&now, &suggested));
  GetObjectW(FontOf(*w.main.Names[40]), sizeof(after), &after);
  EXPECT_EQ(std::abs(after.lfHeight), std::lround(std::abs(before.lfHeight) * 1.5));
}

TEST(BackendInput, APressOnTheBareClientAreaEndsWhenAnotherWindowTakesTheCapture) {
  RealMainWindow w;
  w.show();
  int releases = 0;
  w.main.Names[0]->onMouseUp = [&](const forms::MouseEvent&) { ++releases; };
  HWND form = Win32Backend::WindowOf(w.main.form);
  // Between the page bar and "Web Site" lies the form's own client area.
  const LPARAM gap = MAKELPARAM(100, (4944 + 5004) / 2 / w.backend.twipsPerPixelY());
  SendMessageW(form, WM_LBUTTONDOWN, MK_LBUTTON, gap);
  ASSERT_EQ(GetCapture(), form);
  ScopedWindow other(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     nullptr, nullptr));
  SetCapture(other.get());  // a message box, or another program, takes the mouse
  ReleaseCapture();
  // The next click on a label is a click of its own, not the end of the lost press.
  HWND label = Hwnd(*w.main.Names[0]);
  SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(releases, 1);
}

TEST(BackendRendering, LabelsPaintTheirColourAndWeightPassesShareTwoFontsCreatingNothing) {
  RealMainWindow w;
  w.show();
  HWND label = Hwnd(*w.main.Names[2]);
  EXPECT_TRUE(PumpUntil([&] { return PixelOf(label, 100, 8) == RGB(255, 255, 255); }));
  w.main.Names[2]->setBackColor({0, 128, 0});
  EXPECT_TRUE(PumpUntil([&] { return PixelOf(label, 100, 8) == RGB(0, 128, 0); }));
  EXPECT_TRUE(PumpUntil([&] {  // "Page" has no colour of its own: the face colour
    return PixelOf(Hwnd(*w.main.Label1), 40, 1) == GetSysColor(COLOR_BTNFACE);
  }));

  const forms::Form& form = w.main.form;
  const HFONT normal = FontOf(*w.main.Command1);
  const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  for (int pass = 0; pass < 51; ++pass) {
    for (int i = 0; i < form.controlCount(); ++i) {
      if (form.controlAt(i).hasFont()) form.controlAt(i).setBold(pass % 2 == 0);
    }
    PumpUntil([] { return true; });
  }
  w.main.Frame[3]->setVisible(true);  // a page first shown now comes with the weight of now
  std::set<HFONT> fonts;
  for (const forms::Control* c :
       {w.main.Command1, w.main.Names[59], w.main.Page[2], w.main.Gettext, w.main.FillBtn[45]}) {
    fonts.insert(FontOf(*c));
  }
  ASSERT_EQ(fonts.size(), 1u);
  LOGFONTW bold{};
  GetObjectW(*fonts.begin(), sizeof(bold), &bold);
  EXPECT_EQ(bold.lfWeight, FW_BOLD);
  EXPECT_NE(*fonts.begin(), normal);
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore);
}

}  // namespace
}  // namespace tw::win32::testing
