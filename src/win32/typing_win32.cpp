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
// How long the target may take to take one key.
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

// The navigation keys (Home, End, Insert, Delete, the arrows, Page Up and Down) are the extended
// ones, whose scan code carries the E0 prefix; without it a program may take them for the keys
// of the numeric pad.
bool IsExtended(WORD key) {
  return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE ||
         key == VK_RCONTROL || key == VK_RMENU || key == VK_LWIN || key == VK_RWIN;
}

INPUT ToInput(const services::KeyStroke& stroke) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = stroke.virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(stroke.virtualKey, MAPVK_VK_TO_VSC));
  if (IsExtended(stroke.virtualKey)) input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  if (stroke.up) input.ki.dwFlags |= KEYEVENTF_KEYUP;
  return input;
}

bool IsModifier(std::uint8_t key) {
  return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU ||
         (key >= VK_LSHIFT && key <= VK_RMENU) || key == VK_LWIN || key == VK_RWIN;
}

bool SendStrokes(const std::vector<services::KeyStroke>& strokes) {
  std::vector<INPUT> inputs;
  for (const auto& stroke : strokes) inputs.push_back(ToInput(stroke));
  return inputs.empty() ||
         SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

// A pause that answers the messages sent to this thread meanwhile: the target's paste asks the
// clipboard's owner, a window of this thread, for the text (under Wine even for data put on the
// clipboard at once), and would wait for it. The first pauses only yield.
void Pause(int round) {
  constexpr int kYieldingRounds = 20;
  if (round < kYieldingRounds) {
    SwitchToThread();
  } else {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_SENDMESSAGE);
  }
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

bool KeyDown(std::uint8_t key) {
  return (GetKeyState(key) & 0x8000) != 0;
}

// This thread shares the input state of the target's thread for as long as the object lives:
// its GetKeyState then shows the keys as far as the target has read them, for the system changes
// the key state as the thread removes key messages from its queue. Made before the first key is
// sent, since attaching resets the shared key state.
class InputAttachment {
 public:
  explicit InputAttachment(DWORD thread) : thread_(thread) {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // attaching needs a message queue
    attached_ = thread != 0 && thread != GetCurrentThreadId() &&
                AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
  }
  ~InputAttachment() {
    if (attached_) AttachThreadInput(GetCurrentThreadId(), thread_, FALSE);
  }
  InputAttachment(const InputAttachment&) = delete;
  InputAttachment& operator=(const InputAttachment&) = delete;
  bool Attached() const { return attached_; }

 private:
  DWORD thread_;
  bool attached_ = false;
};

// The window of the target's thread that answers a round trip: its focused one.
HWND Answerer(HWND target, DWORD thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr ? info.hwndFocus : target;
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

// The keys of one Send, typed on a thread of their own: attached to the target's input, a thread
// shares its key state and its input queue, and Typewell's own window thread must not (a click
// on Typewell meanwhile would be queued with the target's input). The window thread waits for it
// answering the messages sent to it.
struct Typist {
  std::vector<services::KeyStroke> strokes;
  HWND target;
  DWORD thread;
  services::KeysSent result = services::KeysSent::Taken;

  // The keys are sent in groups that each end with the press of a key other than a modifier (or
  // with the last stroke); that key is held while the target takes it: once the shared key state
  // shows it (read) and a round trip comes back (handled), the next group goes out. A Shift is so
  // still held while the key it modifies is handled, also for programs that ask for the state of
  // Shift with GetAsyncKeyState. Where the state cannot show a key (no attachment, or the key is
  // in that state already, held by the user), the round trip alone stands in. The last press is
  // waited for only until it is read, and the key-ups after it not at all.
  void Type() {
    const InputAttachment attachment(thread);
    std::size_t lastPressAt = 0;
    for (std::size_t i = 0; i < strokes.size(); ++i) {
      if (!strokes[i].up) lastPressAt = i;
    }
    for (std::size_t begin = 0; begin < strokes.size();) {
      std::size_t end = begin;
      while (end + 1 < strokes.size() && (strokes[end].up || IsModifier(strokes[end].virtualKey))) {
        ++end;
      }
      const services::KeyStroke last = strokes[end];
      const bool shows = attachment.Attached() && KeyDown(last.virtualKey) == last.up;
      if (!SendStrokes({strokes.begin() + begin, strokes.begin() + end + 1})) {
        ReleaseKeysLeftDown(std::span(strokes).first(end + 1));
        result = services::KeysSent::Refused;
        return;
      }
      begin = end + 1;
      // Too slow: the rest goes out unwaited; so do the key-ups after the last press.
      if (result != services::KeysSent::Taken || end > lastPressAt) continue;
      const auto deadline = Clock::now() + kKeysBound;
      for (int round = 0; shows && KeyDown(last.virtualKey) == last.up && Clock::now() < deadline;
           ++round) {
        Pause(round);
      }
      const bool read = !shows || KeyDown(last.virtualKey) != last.up;
      const bool roundTrip = end < lastPressAt || !shows;
      if (!read || (roundTrip && !RoundTrip(Answerer(target, thread), deadline))) {
        result = services::KeysSent::TimedOut;
      }
    }
  }

  static DWORD WINAPI Run(void* typist) {
    static_cast<Typist*>(typist)->Type();
    return 0;
  }
};

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
    bool opensMenu;  // a lone release of Alt or Win activates a menu
  };
  static constexpr std::array kModifiers{
      Modifier{VK_LSHIFT, false},   Modifier{VK_RSHIFT, false}, Modifier{VK_LCONTROL, false},
      Modifier{VK_RCONTROL, false}, Modifier{VK_LMENU, true},   Modifier{VK_RMENU, true},
      Modifier{VK_LWIN, true},      Modifier{VK_RWIN, true},    Modifier{VK_SHIFT, false},
      Modifier{VK_CONTROL, false},  Modifier{VK_MENU, true},
  };
  std::vector<services::KeyStroke> releases;
  bool maskMenu = false;
  for (const auto& m : kModifiers) {
    if ((GetAsyncKeyState(m.key) & 0x8000) == 0) continue;
    releases.push_back({static_cast<std::uint8_t>(m.key), true});
    maskMenu = maskMenu || m.opensMenu;
  }
  if (maskMenu)
    releases.insert(releases.begin(), {{kUnassignedKey, false}, {kUnassignedKey, true}});
  SendStrokes(releases);
}

// The keys go out from a Typist (above), the window thread answering sent messages meanwhile.
services::KeysSent Win32Typing::Send(std::span<const services::KeyStroke> strokes,
                                     services::WindowHandle target) {
  const HWND window = ToHwnd(target);
  Typist typist{
      {strokes.begin(), strokes.end()}, window, GetWindowThreadProcessId(window, nullptr)};
  if (typist.thread == 0) return services::KeysSent::Refused;
  const ScopedHandle worker(CreateThread(nullptr, 0, Typist::Run, &typist, 0, nullptr));
  if (!worker) return services::KeysSent::Refused;
  const HANDLE done = worker.get();
  while (WaitForSingleObject(done, 0) == WAIT_TIMEOUT) {
    MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_SENDMESSAGE);
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  return typist.result;
}

services::KeysSent Win32Typing::AwaitTaken(services::WindowHandle target) {
  // A key that no layout assigns, taken after everything sent before it.
  static constexpr services::KeyStroke kMarker[] = {{kUnassignedKey, false},
                                                    {kUnassignedKey, true}};
  return Send(kMarker, target);
}

}  // namespace tw::win32
