// fill_floor: the least a fill can cost on this system, the benchmark's yardstick for Typewell's
// fill, written with plain Win32 calls and nothing of Typewell's.
//   fill_floor.exe "<target title>" <text> <count>
// Fills the focused field of that window <count> times: the text on the clipboard, the window
// made the foreground window, then Home, Shift+End, Backspace, Shift+Insert and Tab in one
// SendInput, waited for once, until the target has taken every key, by the test Typewell's fill
// uses: the target's key state (shared by attaching to its input) shows the last key read, and a
// round trip to it comes back after its handling. Prints "fills <n> median_ms <ms>".
// Exit codes: 0 done, 1 bad arguments, 2 no such window, 3 the target did not take the keys in
// time, 4 the clipboard could not be written.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kBound = std::chrono::seconds(1);

INPUT Key(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  if (key == VK_HOME || key == VK_END || key == VK_INSERT)
    input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  if (up) input.ki.dwFlags |= KEYEVENTF_KEYUP;
  return input;
}

bool PutOnClipboard(HWND owner, const std::wstring& text) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  const std::size_t size = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(block)));
  GlobalUnlock(block);
  const bool put = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  CloseClipboard();
  return put;
}

// Waits, answering the messages sent to this thread (the target's paste asks the clipboard's
// owner for the text), until the condition holds or the bound runs out.
template <class Condition>
bool AwaitAnswering(Condition condition, Clock::time_point deadline) {
  while (!condition()) {
    if (Clock::now() >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_SENDMESSAGE);
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  return true;
}

int FillOnce(HWND owner, HWND target, const std::wstring& text) {
  if (!PutOnClipboard(owner, text)) return 4;
  const auto deadline = Clock::now() + kBound;
  SetForegroundWindow(target);
  if (!AwaitAnswering([&] { return GetForegroundWindow() == target; }, deadline)) return 3;
  const DWORD thread = GetWindowThreadProcessId(target, nullptr);
  AttachThreadInput(GetCurrentThreadId(), thread, TRUE);  // before the keys: it resets their state
  INPUT keys[] = {Key(VK_HOME, false),   Key(VK_HOME, true),   Key(VK_SHIFT, false),
                  Key(VK_END, false),    Key(VK_END, true),    Key(VK_SHIFT, true),
                  Key(VK_BACK, false),   Key(VK_BACK, true),   Key(VK_SHIFT, false),
                  Key(VK_INSERT, false), Key(VK_INSERT, true), Key(VK_SHIFT, true),
                  Key(VK_TAB, false)};
  bool taken = SendInput(std::size(keys), keys, sizeof(INPUT)) == std::size(keys) &&
               AwaitAnswering([] { return (GetKeyState(VK_TAB) & 0x8000) != 0; }, deadline);
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  const HWND focus = GetGUIThreadInfo(thread, &info) && info.hwndFocus ? info.hwndFocus : target;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  DWORD_PTR result = 0;
  taken = taken && left.count() > 0 &&
          SendMessageTimeoutW(focus, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                              static_cast<UINT>(left.count()), &result);
  INPUT release = Key(VK_TAB, true);
  SendInput(1, &release, sizeof(INPUT));
  AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
  return taken ? 0 : 3;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fputs("usage: fill_floor.exe \"<target title>\" <text> <count>\n", stderr);
    return 1;
  }
  const HWND target = FindWindowW(nullptr, argv[1]);
  if (target == nullptr) return 2;
  const HWND owner =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  std::vector<double> ms;
  for (int i = 0; i < std::max(1, _wtoi(argv[3])); ++i) {
    const auto start = Clock::now();
    if (const int failure = FillOnce(owner, target, argv[2])) return failure;
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  const double median =
      ms.size() % 2 ? ms[ms.size() / 2] : (ms[ms.size() / 2 - 1] + ms[ms.size() / 2]) / 2;
  std::printf("fills %zu median_ms %.2f\n", ms.size(), median);
  return 0;
}
