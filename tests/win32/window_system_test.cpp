// The Win32 window-system services with real windows (run under Wine on the build machine):
// the clipboard's formats, a clipboard held by someone else, hung windows and activations that
// never come, held modifiers and the event pump. Keys into another program's field are checked
// end to end.
#include "win32/window_system_win32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "win32/activation.h"
#include "win32/ansi_text.h"

namespace tw::win32 {
namespace {

using platform::KeyWait;
using platform::PixelRect;
using platform::SendResult;

constexpr wchar_t kTestClass[] = L"TypewellServicesTest";
constexpr UINT kPing = WM_APP + 1;

LRESULT CALLBACK TestProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kPing) {
    ++*reinterpret_cast<int*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A top-level window of this test, destroyed with the object.
class TestWindow {
 public:
  explicit TestWindow(const char* title, DWORD exStyle = 0) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = TestProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kTestClass;
    RegisterClassExW(&windowClass);
    window_.reset(CreateWindowExW(exStyle, kTestClass, AnsiToWide(title).c_str(),
                                  WS_OVERLAPPEDWINDOW, 100, 100, 300, 200, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr));
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&pings));
  }
  HWND get() const { return window_.get(); }
  platform::WindowHandle handle() const { return FromHwnd(window_.get()); }
  void destroy() { window_.reset(); }
  int pings = 0;

 private:
  UniqueWindow window_;
};

// Pumps this thread's messages until the condition holds or the bound runs out.
bool PumpUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds bound = std::chrono::seconds(5)) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(5);
  }
  return true;
}

std::wstring ClipboardUnicode(HWND owner) {
  if (!OpenClipboard(owner)) return L"<not open>";
  std::wstring text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

std::string ClipboardBytes(HWND owner, UINT format) {
  if (!OpenClipboard(owner)) return "<not open>";
  std::string bytes;
  if (HANDLE data = GetClipboardData(format)) {
    const auto* begin = static_cast<const char*>(GlobalLock(data));
    bytes.assign(begin, GlobalSize(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return bytes;
}

TEST(Win32Clipboard, HoldsTheTextAsUnicodeAndAnsiAndStaysOutOfTheHistory) {
  ASSERT_EQ(TextCodePage(), 1252u) << "the byte values below are Windows-1252";
  Win32WindowSystem windows;
  TestWindow reader("clipboard reader");
  ASSERT_TRUE(windows.setClipboardText("M\xFCller \x80\r\nx"));

  EXPECT_EQ(ClipboardUnicode(reader.get()), L"M\u00FCller \u20AC\r\nx");
  const std::string ansi = ClipboardBytes(reader.get(), CF_TEXT);
  EXPECT_EQ(ansi.substr(0, ansi.find('\0')), "M\xFCller \x80\r\nx");
  const std::string no(4, '\0');
  EXPECT_EQ(ClipboardBytes(reader.get(), RegisterClipboardFormatW(L"CanIncludeInClipboardHistory")),
            no);
  EXPECT_EQ(ClipboardBytes(reader.get(), RegisterClipboardFormatW(L"CanUploadToCloudClipboard")),
            no);
  EXPECT_TRUE(IsClipboardFormatAvailable(
      RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing")));

  // A second text replaces the first whole.
  ASSERT_TRUE(windows.setClipboardText("ab"));
  EXPECT_EQ(ClipboardUnicode(reader.get()), L"ab");
}

TEST(Win32Clipboard, FailsWhileAnotherWindowHoldsItOpen) {
  Win32WindowSystem windows;
  ASSERT_TRUE(windows.setClipboardText("before"));
  // Held from another thread with its own window, as another program would hold it.
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE close = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    TestWindow owner("clipboard holder");
    const bool open = OpenClipboard(owner.get());
    SetEvent(opened);
    WaitForSingleObject(close, 10000);
    if (open) CloseClipboard();
  });
  WaitForSingleObject(opened, 10000);
  EXPECT_FALSE(windows.setClipboardText("while held"));
  SetEvent(close);
  holder.join();
  CloseHandle(opened);
  CloseHandle(close);
  EXPECT_TRUE(windows.setClipboardText("after"));
  TestWindow reader("clipboard reader");
  EXPECT_EQ(ClipboardUnicode(reader.get()), L"after");
}

TEST(Win32Keys, AHungTargetTimesOutWithinTheBound) {
  Win32WindowSystem windows;
  HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HWND hung = nullptr;
  // A window whose thread stops taking messages once it exists.
  std::thread owner([&] {
    TestWindow window("hung window");
    hung = window.get();
    SetEvent(created);
    WaitForSingleObject(release, 20000);
  });
  WaitForSingleObject(created, 10000);
  TestWindow healthy("healthy window");

  EXPECT_TRUE(windows.windowHung(FromHwnd(hung)));
  EXPECT_FALSE(windows.windowHung(healthy.handle()));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(windows.sendKeys("{F24}", KeyWait::Yes, FromHwnd(hung)), SendResult::TimedOut);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  // A window that never takes the activation (hidden, and its thread takes no messages): the
  // wait for it ends at its bound all the same.
  const auto activating = std::chrono::steady_clock::now();
  EXPECT_FALSE(ActivateAndSettle(hung, std::chrono::milliseconds(500)));
  EXPECT_LT(std::chrono::steady_clock::now() - activating, std::chrono::seconds(2));
  SetEvent(release);
  owner.join();
  CloseHandle(created);
  CloseHandle(release);
}

TEST(Win32Keys, HeldModifiersAreReleased) {
  Win32WindowSystem windows;
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = VK_LCONTROL;
  inputs[1].ki.wVk = VK_LSHIFT;
  ASSERT_EQ(SendInput(2, inputs, sizeof(INPUT)), 2u);
  ASSERT_TRUE(PumpUntil([] { return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; }));

  windows.releaseHeldModifiers();
  EXPECT_TRUE(PumpUntil([] {
    return (GetAsyncKeyState(VK_CONTROL) & 0x8000) == 0 &&
           (GetAsyncKeyState(VK_SHIFT) & 0x8000) == 0 &&
           (GetAsyncKeyState(VK_LCONTROL) & 0x8000) == 0;
  }));
}

TEST(Win32Events, DoEventsDispatchesQueuedMessagesAndLeavesTheQuitRequest) {
  Win32WindowSystem windows;
  TestWindow window("pump");
  PostMessageW(window.get(), kPing, 0, 0);
  PostMessageW(window.get(), kPing, 0, 0);
  windows.doEvents();
  EXPECT_EQ(window.pings, 2);

  PostQuitMessage(7);
  windows.doEvents();
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
}  // namespace tw::win32
