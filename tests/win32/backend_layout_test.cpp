// The main window's layout realised as real windows: every control's pixel position in the
// client area is lround(twips / twips-per-pixel) at the real DPI, its size likewise; hidden
// controls are hidden windows; the focus sink takes the focus and lies under the "Tutorial" button.
//
// The same tests run at 144 DPI in a child process: BackendLayout.AtHighDpi sets
// HKCU\Control Panel\Desktop\LogPixels to 144 (which Wine honours for new processes), starts
// this test program again with TYPEWELL_EXPECT_DPI=144 on the layout tests, and restores the
// value afterwards, whatever the outcome.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "backend_test_support.h"

namespace tw::win32::testing {
namespace {

using forms::ControlKind;

int ExpectedDpi() {
  const char* value = std::getenv("TYPEWELL_EXPECT_DPI");
  return value != nullptr ? std::atoi(value) : 96;
}

RECT RectInParent(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST(BackendLayout, EveryControlAtItsPixelRectangleInItsContainer) {
  RealMainWindow w;
  const double tpp = 1440.0 / ExpectedDpi();
  ASSERT_DOUBLE_EQ(w.backend.twipsPerPixelX(), tpp);
  ASSERT_DOUBLE_EQ(w.backend.twipsPerPixelY(), tpp);
  const auto px = [tpp](forms::Twips t) { return static_cast<long>(std::lround(t / tpp)); };
  const forms::Form& form = w.main.form;
  int windows = 0;
  for (int i = 0; i < form.controlCount(); ++i) {
    const forms::Control& c = form.controlAt(i);
    SCOPED_TRACE(c.name() + "(" + std::to_string(c.index()) + ")");
    if (c.kind() == ControlKind::Timer) {
      EXPECT_EQ(Hwnd(c), nullptr);
      continue;
    }
    HWND h = Hwnd(c);
    ASSERT_NE(h, nullptr);
    ++windows;
    EXPECT_EQ(GetDlgCtrlID(h), kFirstControlId + i);
    const HWND parent =
        c.container() != nullptr ? Hwnd(*c.container()) : Win32Backend::WindowOf(form);
    EXPECT_EQ(GetParent(h), parent);
    // Edges are rounded in the client area, so that the pixel position in the client area is
    // the twips position / twips-per-pixel for every control, whatever its container.
    const RECT r = RectInParent(h);
    const forms::Rect abs = c.absoluteBounds();
    const forms::Rect parentAbs =
        c.container() != nullptr ? c.container()->absoluteBounds() : forms::Rect{};
    EXPECT_EQ(r.left, px(abs.left) - px(parentAbs.left));
    EXPECT_EQ(r.top, px(abs.top) - px(parentAbs.top));
    EXPECT_EQ(r.right - r.left, px(c.width()));
    EXPECT_EQ(r.bottom - r.top, px(c.height()));
    POINT inClient{0, 0};
    MapWindowPoints(h, Win32Backend::WindowOf(form), &inClient, 1);
    EXPECT_EQ(inClient.x, px(abs.left));
    EXPECT_EQ(inClient.y, px(abs.top));
  }
  EXPECT_EQ(windows, form.controlCount() - 1);  // all but the timer

  // The client area has the layout's size.
  RECT client;
  GetClientRect(Win32Backend::WindowOf(form), &client);
  EXPECT_EQ(client.right, px(core::kClientWidth));
  EXPECT_EQ(client.bottom, px(core::kClientHeight));
}

TEST(BackendLayout, AControlPlacedOverALabelOfAMovedPageCoversItExactly) {
  RealMainWindow w;
  core::MainWindow& m = w.main;
  // Page 4 brought to the first page's place, then the edit box laid over one of its labels,
  // as editing does; every row of every page must meet the box pixel for pixel.
  for (int page = 1; page < 4; ++page) {
    m.Frame[page]->setLeft(m.Frame[0]->left());
    for (int row = 0; row < 15; ++row) {
      const forms::Control& label = *m.Names[page * 15 + row];
      m.Gettext->setBounds({m.Frame[0]->left() + label.left(), m.Frame[0]->top() + label.top(),
                            label.width(), m.Gettext->height()});
      RECT box;
      RECT under;
      GetWindowRect(Hwnd(*m.Gettext), &box);
      GetWindowRect(Hwnd(label), &under);
      SCOPED_TRACE("slot " + std::to_string(page * 15 + row));
      EXPECT_EQ(box.left, under.left);
      EXPECT_EQ(box.top, under.top);
      EXPECT_EQ(box.right, under.right);
    }
  }
}

TEST(BackendLayout, HiddenControlsAreHiddenWindowsAndTheFocusSinkIsNeverSeen) {
  RealMainWindow w;
  w.show();
  const core::MainWindow& m = w.main;
  EXPECT_FALSE(IsWindowVisible(Hwnd(*m.Gettext)));
  EXPECT_FALSE(IsWindowVisible(Hwnd(*m.Dragbox)));
  EXPECT_TRUE(IsWindowVisible(Hwnd(*m.Frame[0])));
  for (int p = 1; p < core::kPageCount; ++p) EXPECT_FALSE(IsWindowVisible(Hwnd(*m.Frame[p])));
  EXPECT_FALSE(IsWindowVisible(Hwnd(*m.FillBtn[15])));  // inside a hidden page

  // The sink holds the focus natively and in the toolkit.
  HWND sink = Hwnd(*m.Holdfocus);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == sink; })) << "the focus sink has no focus";
  EXPECT_EQ(m.form.focused(), m.Holdfocus);

  // It lies inside the "Tutorial" button, which is above it: every point of it shows the button.
  RECT sinkRect, buttonRect;
  GetWindowRect(sink, &sinkRect);
  GetWindowRect(Hwnd(*m.Command1), &buttonRect);
  RECT both;
  IntersectRect(&both, &sinkRect, &buttonRect);
  EXPECT_TRUE(EqualRect(&both, &sinkRect));
  HWND formWindow = Win32Backend::WindowOf(m.form);
  for (POINT p :
       {POINT{sinkRect.left, sinkRect.top}, POINT{sinkRect.right - 1, sinkRect.bottom - 1},
        POINT{(sinkRect.left + sinkRect.right) / 2, (sinkRect.top + sinkRect.bottom) / 2}}) {
    POINT local = p;
    ScreenToClient(formWindow, &local);
    EXPECT_EQ(ChildWindowFromPointEx(formWindow, local, CWP_SKIPINVISIBLE), Hwnd(*m.Command1));
  }
}

// Sets a DWORD value of HKCU\Control Panel\Desktop and puts the old state back on scope exit.
class DesktopValue {
 public:
  DesktopValue(const wchar_t* name, DWORD value) : name_(name) {
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                    KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
    DWORD old = 0, size = sizeof(old), type = 0;
    if (RegQueryValueExW(key_, name_, nullptr, &type, reinterpret_cast<BYTE*>(&old), &size) ==
            ERROR_SUCCESS &&
        type == REG_DWORD) {
      old_ = old;
    }
    RegSetValueExW(key_, name_, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
  }
  ~DesktopValue() {
    if (old_) {
      RegSetValueExW(key_, name_, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*old_),
                     sizeof(DWORD));
    } else {
      RegDeleteValueW(key_, name_);
    }
    RegCloseKey(key_);
  }
  DesktopValue(const DesktopValue&) = delete;
  DesktopValue& operator=(const DesktopValue&) = delete;

 private:
  const wchar_t* name_;
  HKEY key_ = nullptr;
  std::optional<DWORD> old_;
};

TEST(BackendLayout, AtHighDpi) {
  if (ExpectedDpi() != 96) GTEST_SKIP() << "already the high-DPI run";
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) +
                         L"\" --gtest_filter=BackendLayout.EveryControl*:BackendLayout.Hidden*";
  DWORD exitCode = 1;
  {
    DesktopValue dpi(L"LogPixels", 144);
    SetEnvironmentVariableW(L"TYPEWELL_EXPECT_DPI", L"144");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child{};
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0,
                                        nullptr, nullptr, &startup, &child);
    SetEnvironmentVariableW(L"TYPEWELL_EXPECT_DPI", nullptr);
    ASSERT_TRUE(started) << "cannot start " << GetLastError();
    const DWORD waited = WaitForSingleObject(child.hProcess, 120000);
    if (waited != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 3);
    GetExitCodeProcess(child.hProcess, &exitCode);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    ASSERT_EQ(waited, WAIT_OBJECT_0) << "the 144 DPI run did not end";
  }
  EXPECT_EQ(exitCode, 0u) << "the layout tests failed at 144 DPI (see their output above)";
}

}  // namespace
}  // namespace tw::win32::testing
