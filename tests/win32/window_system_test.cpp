// The Win32 window-system services with real windows (run under Wine on the build machine):
// the clipboard's formats, a clipboard held by someone else, hung windows and activations that
// never come, held modifiers and the event pump. Keys into another program's field are checked
// end to end.
#include "win32/window_system_win32.h"

#include <gtest/gtest.h>

#include <thread>

#include "backend_test_support.h"
#include "win32/activation.h"
#include "win32/ansi_text.h"

namespace tw::win32::testing {
namespace {

using Clock = std::chrono::steady_clock;

// A top-level window of this thread that counts the WM_APP messages it gets.
struct TestWindow {
  TestWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      if (m == WM_APP) ++*reinterpret_cast<int*>(GetWindowLongPtrW(h, GWLP_USERDATA));
      return DefWindowProcW(h, m, w, l);
    };
    windowClass.lpszClassName = L"TypewellServicesTest";
    RegisterClassW(&windowClass);
    window.reset(CreateWindowExW(0, windowClass.lpszClassName, L"test", WS_OVERLAPPEDWINDOW, 0, 0,
                                 200, 100, nullptr, nullptr, nullptr, nullptr));
    SetWindowLongPtrW(window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pings));
  }
  UniqueWindow window;
  int pings = 0;
};

std::string ClipboardBytes(HWND owner, UINT format) {
  if (!OpenClipboard(owner)) return "<not open>";
  std::string bytes;
  if (HANDLE data = GetClipboardData(format)) {
    bytes.assign(static_cast<const char*>(GlobalLock(data)), GlobalSize(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  const std::size_t unit = format == CF_UNICODETEXT ? 2 : 1;  // up to the terminating NUL
  for (std::size_t i = 0; i + unit <= bytes.size(); i += unit) {
    if (bytes.compare(i, unit, std::string(unit, '\0')) == 0) return bytes.substr(0, i);
  }
  return bytes;
}

// Runs body while another thread holds a window of its own that takes no messages (a hung
// program), after prepare(window) ran on that thread.
void WithHungWindow(const std::function<void(HWND)>& prepare,
                    const std::function<void(HWND)>& body) {
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HWND hung = nullptr;
  std::thread owner([&] {
    TestWindow other;
    hung = other.window.get();
    prepare(hung);
    SetEvent(ready);
    WaitForSingleObject(release, 20000);
    CloseClipboard();
  });
  WaitForSingleObject(ready, 10000);
  body(hung);
  SetEvent(release);
  owner.join();
  CloseHandle(ready);
  CloseHandle(release);
}

TEST(Win32Clipboard, HoldsTheTextAsUnicodeAndAnsiAndFailsWhileAnotherWindowHoldsIt) {
  ASSERT_EQ(TextCodePage(), 1252u) << "the byte values below are Windows-1252";
  Win32WindowSystem windows;
  TestWindow reader;
  ASSERT_TRUE(windows.setClipboardText("M\xFCller \x80\r\nx"));
  EXPECT_EQ(ClipboardBytes(reader.window.get(), CF_TEXT), "M\xFCller \x80\r\nx");
  const std::wstring wide = L"M\u00FCller \u20AC\r\nx";
  EXPECT_EQ(ClipboardBytes(reader.window.get(), CF_UNICODETEXT),
            std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2));
  EXPECT_TRUE(
      IsClipboardFormatAvailable(RegisterClipboardFormatW(L"CanIncludeInClipboardHistory")));

  WithHungWindow([](HWND h) { OpenClipboard(h); },
                 [&](HWND) { EXPECT_FALSE(windows.setClipboardText("while held")); });
  ASSERT_TRUE(windows.setClipboardText("ab"));
  EXPECT_EQ(ClipboardBytes(reader.window.get(), CF_TEXT), "ab");
}

TEST(Win32Keys, AHungTargetAndAnActivationThatNeverComesEndAtTheirBounds) {
  Win32WindowSystem windows;
  TestWindow healthy;
  EXPECT_FALSE(windows.windowHung(FromHwnd(healthy.window.get())));
  WithHungWindow([](HWND) {},
                 [&](HWND hung) {
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

TEST(Win32Keys, HeldModifiersAreReleasedAndTheEventPumpLeavesTheQuitRequest) {
  Win32WindowSystem windows;
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = VK_LCONTROL;
  inputs[1].ki.wVk = VK_LSHIFT;
  ASSERT_EQ(SendInput(2, inputs, sizeof(INPUT)), 2u);
  ASSERT_TRUE(PumpUntil([] { return GetAsyncKeyState(VK_CONTROL) < 0; }));
  windows.releaseHeldModifiers();
  EXPECT_TRUE(PumpUntil(
      [] { return GetAsyncKeyState(VK_CONTROL) >= 0 && GetAsyncKeyState(VK_SHIFT) >= 0; }));

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
