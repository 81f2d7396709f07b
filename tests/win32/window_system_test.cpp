// The Win32 window-system services with real windows (run under Wine on the build machine):
// hung windows and activations that never come, and the event pump. The clipboard, the keys and
// held modifiers are checked end to end, by what another program's fields receive.
#include "win32/window_system_win32.h"

#include <gtest/gtest.h>

#include <thread>

#include "backend_test_support.h"
#include "win32/activation.h"

namespace tw::win32::testing {
namespace {

using Clock = std::chrono::steady_clock;

// Counts the WM_APP messages of a TestWindow. A window procedure is stdcall on 32-bit Windows,
// which a lambda cannot be.
LRESULT CALLBACK CountingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_APP) ++*reinterpret_cast<int*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  return DefWindowProcW(h, m, w, l);
}

// A top-level window of this thread that counts the WM_APP messages it gets.
struct TestWindow {
  TestWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.lpszClassName = L"TypewellServicesTest";
    RegisterClassW(&windowClass);
    window.reset(CreateWindowExW(0, windowClass.lpszClassName, L"test", WS_OVERLAPPEDWINDOW, 0, 0,
                                 200, 100, nullptr, nullptr, nullptr, nullptr));
    SetWindowLongPtrW(window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pings));
  }
  UniqueWindow window;
  int pings = 0;
};

// Runs body while another thread holds a window of its own that takes no messages (a hung
// program).
void WithHungWindow(const std::function<void(HWND)>& body) {
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HWND hung = nullptr;
  std::thread owner([&] {
    TestWindow other;
    hung = other.window.get();
    SetEvent(ready);
    WaitForSingleObject(release, 20000);
  });
  WaitForSingleObject(ready, 10000);
  body(hung);
  SetEvent(release);
  owner.join();
  CloseHandle(ready);
  CloseHandle(release);
}

TEST(Win32Keys, AHungTargetAndAnActivationThatNeverComesEndAtTheirBounds) {
  Win32WindowSystem windows;
  TestWindow healthy;
  EXPECT_FALSE(windows.windowHung(FromHwnd(healthy.window.get())));
  WithHungWindow([&](HWND hung) {
    EXPECT_TRUE(windows.windowHung(FromHwnd(hung)));
    auto start = Clock::now();
    EXPECT_EQ(windows.sendKeys("{F24}", platform::KeyWait::Yes, FromHwnd(hung)),
              platform::SendResult::TimedOut);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
    // Hidden, and its thread takes no messages: it never takes the activation.
    start = Clock::now();
    EXPECT_FALSE(ActivateAndSettle(hung, std::chrono::milliseconds(500)));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
  });
}

TEST(Win32Events, TheEventPumpDispatchesWhatIsQueuedAndLeavesTheQuitRequest) {
  Win32WindowSystem windows;
  TestWindow window;
  PostMessageW(window.window.get(), WM_APP, 0, 0);
  PostMessageW(window.window.get(), WM_APP, 0, 0);
  PostQuitMessage(7);
  windows.doEvents();
  EXPECT_EQ(window.pings, 2);
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
}  // namespace tw::win32::testing
