// Typing on real Win32: the clipboard, the keys of a stroke table sent with SendInput, and the
// release of modifier keys that the user holds down; see services_win32.h.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <vector>

#include "win32/ansi_text.h"
#include "win32/services_win32.h"

namespace tw::win32 {

namespace {

using Clock = std::chrono::steady_clock;

constexpr wchar_t kOwnerClass[] = L"TypewellClipboardOwner";
// How long the target may take to take one piece of input.
constexpr std::chrono::milliseconds kKeysBound{1000};
// A key that no keyboard layout assigns: pressing it between the user's Alt or Win press and our
// release stops the lone release from opening a menu bar or the Start menu.
constexpr WORD kUnassignedKey = 0xE8;

ScopedWindow CreateMessageOnlyWindow() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kOwnerClass;
  RegisterClassExW(&windowClass);  // fails harmlessly when it is registered already
  return ScopedWindow(CreateWindowExW(0, kOwnerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      instance, nullptr));
}

// The clipboard, open for as long as the object lives.
class OpenClipboardSession {
 public:
  explicit OpenClipboardSession(HWND owner) : open_(owner != nullptr && OpenClipboard(owner)) {}
  ~OpenClipboardSession() {
    if (open_) CloseClipboard();
  }
  OpenClipboardSession(const OpenClipboardSession&) = delete;
  OpenClipboardSession& operator=(const OpenClipboardSession&) = delete;
  bool IsOpen() const { return open_; }

 private:
  bool open_;
};

// A movable global memory block with a copy of the data, handed to the clipboard, which then owns
// it; freed here if the clipboard does not take it.
bool PutOnClipboard(UINT format, const void* data, std::size_t size) {
  if (format == 0) return false;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (block == nullptr) return false;
  void* target = GlobalLock(block);
  if (target != nullptr) {
    std::memcpy(target, data, size);
    GlobalUnlock(block);
    if (SetClipboardData(format, block) != nullptr) return true;
  }
  GlobalFree(block);
  return false;
}

// Marks the clipboard's content as not for the clipboard history, the cloud clipboard or
// clipboard monitors. Older systems do not know these formats and ignore them.
void PutPrivacyMarks() {
  const DWORD no = 0;
  for (const wchar_t* mark : {L"ExcludeClipboardContentFromMonitorProcessing",
                              L"CanIncludeInClipboardHistory", L"CanUploadToCloudClipboard"}) {
    PutOnClipboard(RegisterClipboardFormatW(mark), &no, sizeof(no));
  }
}

// The text in the system's ANSI code page, for CF_TEXT. Program texts are already in it unless
// Windows-1252 stands in for a multi-byte code page.
std::string ClipboardAnsiText(const std::string& text, const std::wstring& wide) {
  if (TextCodePage() == GetACP()) return text;
  const int size = static_cast<int>(wide.size());
  const int needed =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(std::max(needed, 0)), '\0');
  if (needed > 0) {
    WideCharToMultiByte(CP_ACP, 0, wide.data(), size, bytes.data(), needed, nullptr, nullptr);
  }
  return bytes;
}

INPUT ToInput(const services::KeyStroke& stroke) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = stroke.virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(stroke.virtualKey, MAPVK_VK_TO_VSC));
  if (stroke.extended) input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  if (stroke.up) input.ki.dwFlags |= KEYEVENTF_KEYUP;
  return input;
}

bool SendStrokes(const std::vector<services::KeyStroke>& strokes) {
  std::vector<INPUT> inputs;
  for (const auto& stroke : strokes) inputs.push_back(ToInput(stroke));
  return inputs.empty() ||
         SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

// Waits until the thread of target has returned to its message loop; false when the bound ran
// out or the target is hung. Messages sent to this thread are answered while it waits (no
// SMTO_BLOCK): pasting makes the target ask the clipboard's owner, our own window, for the data.
bool RoundTrip(HWND target, Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  if (left.count() <= 0) return false;
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(target, WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                             static_cast<UINT>(left.count()), &result) != 0;
}

// Key-ups, without waiting, for the keys that the strokes left down (a stroke table that was sent
// only in part).
void ReleaseKeysLeftDown(std::span<const services::KeyStroke> sent) {
  std::vector<services::KeyStroke> down;
  for (const auto& stroke : sent) {
    if (!stroke.up) {
      down.push_back(stroke);
    } else {
      std::erase_if(down, [&](const auto& d) { return d.virtualKey == stroke.virtualKey; });
    }
  }
  for (auto& stroke : down) stroke.up = true;
  std::reverse(down.begin(), down.end());
  SendStrokes(down);
}

}  // namespace

Win32Typing::Win32Typing() : clipboardOwner_(CreateMessageOnlyWindow()) {}

bool Win32Typing::PutOnClipboard(const std::string& text) {
  OpenClipboardSession clipboard(clipboardOwner_.get());
  if (!clipboard.IsOpen() || !EmptyClipboard()) return false;
  const std::wstring wide = AnsiToWide(text);
  const std::string ansi = ClipboardAnsiText(text, wide);
  const bool unicode = win32::PutOnClipboard(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * 2);
  const bool plain = win32::PutOnClipboard(CF_TEXT, ansi.c_str(), ansi.size() + 1);
  PutPrivacyMarks();
  return unicode && plain;
}

void Win32Typing::ReleaseHeldModifiers() {
  struct Modifier {
    WORD key;
    bool extended;
    bool opensMenu;  // a lone release of Alt or Win activates a menu
  };
  static constexpr std::array kModifiers{
      Modifier{VK_LSHIFT, false, false},   Modifier{VK_RSHIFT, false, false},
      Modifier{VK_LCONTROL, false, false}, Modifier{VK_RCONTROL, true, false},
      Modifier{VK_LMENU, false, true},     Modifier{VK_RMENU, true, true},
      Modifier{VK_LWIN, true, true},       Modifier{VK_RWIN, true, true},
      Modifier{VK_SHIFT, false, false},    Modifier{VK_CONTROL, false, false},
      Modifier{VK_MENU, false, true},
  };
  std::vector<services::KeyStroke> releases;
  bool maskMenu = false;
  for (const auto& m : kModifiers) {
    if ((GetAsyncKeyState(m.key) & 0x8000) == 0) continue;
    releases.push_back({static_cast<std::uint8_t>(m.key), true, m.extended});
    maskMenu = maskMenu || m.opensMenu;
  }
  if (maskMenu) {
    releases.insert(releases.begin(),
                    {{kUnassignedKey, false, false}, {kUnassignedKey, true, false}});
  }
  SendStrokes(releases);
}

services::KeysSent Win32Typing::Send(std::span<const services::KeyStroke> strokes, Wait wait,
                                     services::WindowHandle target) {
  const HWND window = ToHwnd(target);
  if (wait == Wait::UntilTaken && !IsWindow(window)) return services::KeysSent::Refused;
  const auto deadline = Clock::now() + kKeysBound;
  // The whole table in one call: the system delivers it without any of the user's own input in
  // between.
  std::vector<INPUT> inputs;
  for (const auto& stroke : strokes) inputs.push_back(ToInput(stroke));
  const UINT sent = inputs.empty()
                        ? 0
                        : SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  if (sent != inputs.size()) {
    ReleaseKeysLeftDown(strokes.first(sent));
    return services::KeysSent::Refused;
  }
  if (wait == Wait::UntilTaken && (!RoundTrip(window, deadline) || !RoundTrip(window, deadline))) {
    return services::KeysSent::TimedOut;
  }
  return services::KeysSent::Taken;
}

}  // namespace tw::win32
