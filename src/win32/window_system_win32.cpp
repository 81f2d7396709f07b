// The window-system services on real Win32; see window_system_win32.h.
#include "win32/window_system_win32.h"

#include <cstring>

#include "platform/key_strings.h"
#include "win32/activation.h"
#include "win32/ansi_text.h"
#include "win32/key_sender.h"

namespace tw::win32 {

using platform::PixelRect;
using platform::WindowHandle;

namespace {

constexpr wchar_t kOwnerClass[] = L"TypewellServicesWindow";
// How long sending one key string may wait for the target in all.
constexpr std::chrono::milliseconds kKeyStringBound{1000};
// How long an activated window may take to settle in the foreground: it returns in a few
// milliseconds as a rule, but a busy machine can hold the target's thread back for longer.
constexpr std::chrono::milliseconds kActivationBound{2000};
// How long a window may take to answer before it counts as hung.
constexpr UINT kHungProbeMs = 200;
// A pass over the queue stops after this many messages, so that a window that keeps posting to
// itself cannot hold the caller forever.
constexpr int kMaxMessagesPerPass = 1000;

UniqueWindow CreateMessageOnlyWindow() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kOwnerClass;
  RegisterClassExW(&windowClass);  // fails harmlessly when a second object registers it again
  return UniqueWindow(CreateWindowExW(0, kOwnerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
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
  bool isOpen() const { return open_; }

 private:
  bool open_;
};

// A movable global memory block, freed unless the clipboard has taken it.
class GlobalBlock {
 public:
  GlobalBlock(const void* data, std::size_t size) : block_(GlobalAlloc(GMEM_MOVEABLE, size)) {
    if (!block_) return;
    if (void* target = GlobalLock(block_)) {
      std::memcpy(target, data, size);
      GlobalUnlock(block_);
    } else {
      GlobalFree(block_);
      block_ = nullptr;
    }
  }
  ~GlobalBlock() {
    if (block_) GlobalFree(block_);
  }
  GlobalBlock(const GlobalBlock&) = delete;
  GlobalBlock& operator=(const GlobalBlock&) = delete;

  // Hands the block to the clipboard; true when the clipboard took it.
  bool putOnClipboard(UINT format) {
    if (!block_ || !SetClipboardData(format, block_)) return false;
    block_ = nullptr;
    return true;
  }

 private:
  HGLOBAL block_;
};

bool PutOnClipboard(UINT format, const void* data, std::size_t size) {
  return format != 0 && GlobalBlock(data, size).putOnClipboard(format);
}

// Marks the clipboard's content as not for the clipboard history, the cloud clipboard or
// clipboard monitors. Older systems do not know these formats and ignore them.
void PutPrivacyMarks() {
  const DWORD no = 0;
  PutOnClipboard(RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing"), &no,
                 sizeof(no));
  PutOnClipboard(RegisterClipboardFormatW(L"CanIncludeInClipboardHistory"), &no, sizeof(no));
  PutOnClipboard(RegisterClipboardFormatW(L"CanUploadToCloudClipboard"), &no, sizeof(no));
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

RECT ToRect(const PixelRect& rect) {
  return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

// Mutex names may not hold a backslash except after the "Local\" or "Global\" namespace.
std::string MutexName(const std::string& name) {
  std::size_t start = 0;
  for (const char* space : {"Local\\", "Global\\"}) {
    if (name.rfind(space, 0) == 0) start = std::strlen(space);
  }
  std::string safe = name;
  for (std::size_t i = start; i < safe.size(); ++i) {
    if (safe[i] == '\\') safe[i] = '/';
  }
  return safe;
}

}  // namespace

Win32WindowSystem::Win32WindowSystem() : clipboardOwner_(CreateMessageOnlyWindow()) {}

Win32WindowSystem::~Win32WindowSystem() = default;

WindowHandle Win32WindowSystem::findWindow(const std::string& title) {
  return FromHwnd(FindWindowA(nullptr, title.c_str()));
}

void Win32WindowSystem::showWindowNormal(WindowHandle window) {
  ShowWindow(ToHwnd(window), SW_SHOWNORMAL);
}

void Win32WindowSystem::setForegroundWindow(WindowHandle window) {
  // The keys that follow an activation must not arrive before the window's thread has taken it.
  ActivateAndSettle(ToHwnd(window), kActivationBound);
}

WindowHandle Win32WindowSystem::foregroundWindow() {
  const HWND foreground = GetForegroundWindow();
  // Wine shows "no window active" as its desktop window in front (for instance when a program
  // noticed a loss of input focus late); that is no window a fill could go to.
  if (foreground == GetDesktopWindow()) return 0;
  return FromHwnd(foreground);
}

std::string Win32WindowSystem::windowTitle(WindowHandle window) {
  const HWND hwnd = ToHwnd(window);
  if (!IsWindow(hwnd)) return {};
  const int length = GetWindowTextLengthA(hwnd);
  if (length <= 0) return {};
  std::string title(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(hwnd, title.data(), length + 1);
  title.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return title;
}

PixelRect Win32WindowSystem::windowRect(WindowHandle window) {
  RECT rect{};
  if (!GetWindowRect(ToHwnd(window), &rect)) return {};
  return PixelRect{rect.left, rect.top, rect.right, rect.bottom};
}

void Win32WindowSystem::setWindowTopmost(WindowHandle window, const PixelRect& rect) {
  SetWindowPos(ToHwnd(window), HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left,
               rect.bottom - rect.top, SWP_NOACTIVATE);
}

void Win32WindowSystem::raiseTopmost(WindowHandle window) {
  constexpr UINT kZOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  SetWindowPos(ToHwnd(window), HWND_NOTOPMOST, 0, 0, 0, 0, kZOrderOnly);
  SetWindowPos(ToHwnd(window), HWND_TOPMOST, 0, 0, 0, 0, kZOrderOnly);
}

bool Win32WindowSystem::windowExists(WindowHandle window) {
  return window != 0 && IsWindow(ToHwnd(window));
}

bool Win32WindowSystem::windowHung(WindowHandle window) {
  const HWND hwnd = ToHwnd(window);
  if (IsHungAppWindow(hwnd)) return true;
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kHungProbeMs,
                             &result) == 0;
}

bool Win32WindowSystem::isOwnProcessWindow(WindowHandle window) {
  DWORD process = 0;
  return GetWindowThreadProcessId(ToHwnd(window), &process) != 0 &&
         process == GetCurrentProcessId();
}

bool Win32WindowSystem::foregroundIsThreadOf(WindowHandle window) {
  const HWND foreground = GetForegroundWindow();
  if (!foreground || !IsWindow(ToHwnd(window))) return false;
  return GetWindowThreadProcessId(foreground, nullptr) ==
         GetWindowThreadProcessId(ToHwnd(window), nullptr);
}

bool Win32WindowSystem::setClipboardText(const std::string& text) {
  OpenClipboardSession clipboard(clipboardOwner_.get());
  if (!clipboard.isOpen() || !EmptyClipboard()) return false;
  const std::wstring wide = AnsiToWide(text);
  const std::string ansi = ClipboardAnsiText(text, wide);
  const bool unicode = PutOnClipboard(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * 2);
  const bool plain = PutOnClipboard(CF_TEXT, ansi.c_str(), ansi.size() + 1);
  PutPrivacyMarks();
  return unicode && plain;
}

void Win32WindowSystem::releaseHeldModifiers() {
  ReleaseHeldModifiers();
}

platform::SendResult Win32WindowSystem::sendKeys(const std::string& keys, platform::KeyWait wait,
                                                 WindowHandle target) {
  const platform::ParsedKeys parsed = platform::ParseKeyString(keys);
  if (!parsed.ok()) return platform::SendResult::Failed;
  return SendKeyEvents(ResolveCharacters(parsed.events), wait, ToHwnd(target), kKeyStringBound);
}

void Win32WindowSystem::doEvents() {
  MSG message;
  for (int i = 0; i < kMaxMessagesPerPass && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
       ++i) {
    if (message.message == WM_QUIT) {
      // Leave the quit request for the message loop that owns it.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

std::optional<std::string> Win32WindowSystem::findExecutable(const std::string& file,
                                                             const std::string& directory) {
  // The shell is loaded on the first use only, and only from the system folder: it pulls in
  // much that the start-up does not need, and a DLL of that name planted beside the exe (a
  // Downloads folder) must never be loaded.
  if (!shell32_)
    shell32_.reset(LoadLibraryExW(L"shell32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  using FindExecutableFn = HINSTANCE(WINAPI*)(LPCSTR, LPCSTR, LPSTR);
  const auto find = shell32_ ? reinterpret_cast<FindExecutableFn>(reinterpret_cast<void*>(
                                   GetProcAddress(shell32_.get(), "FindExecutableA")))
                             : nullptr;
  if (find == nullptr) return std::nullopt;
  char result[MAX_PATH + 1] = {};
  const auto code = reinterpret_cast<INT_PTR>(
      find(file.c_str(), directory.empty() ? nullptr : directory.c_str(), result));
  if (code <= 32) return std::nullopt;
  result[MAX_PATH] = '\0';
  return std::string(result);
}

void Win32WindowSystem::startProgram(const std::string& commandLine) {
  std::string mutableLine = commandLine;  // CreateProcessA may write into its command line
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

bool Win32WindowSystem::onAnyMonitor(const PixelRect& rect) {
  const RECT r = ToRect(rect);
  return MonitorFromRect(&r, MONITOR_DEFAULTTONULL) != nullptr;
}

std::string Win32WindowSystem::executablePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

bool Win32WindowSystem::acquireInstanceLock(const std::string& name) {
  UniqueHandle mutex(CreateMutexA(nullptr, FALSE, MutexName(name).c_str()));
  if (!mutex) return true;  // no lock to be had: do not stop the program for it
  if (GetLastError() == ERROR_ALREADY_EXISTS) return false;
  instanceLocks_.push_back(std::move(mutex));
  return true;
}

void Win32WindowSystem::sleep(int milliseconds) {
  Sleep(static_cast<DWORD>(std::max(milliseconds, 0)));
}

void Win32WindowSystem::reportError(const std::string& message, WindowHandle owner) {
  MessageBoxA(ToHwnd(owner), message.c_str(), "Typewell", MB_ICONERROR | MB_OK);
}

bool Win32WindowSystem::askRetry(const std::string& message, WindowHandle owner) {
  return MessageBoxA(ToHwnd(owner), message.c_str(), "Typewell", MB_ICONERROR | MB_RETRYCANCEL) ==
         IDRETRY;
}

}  // namespace tw::win32
