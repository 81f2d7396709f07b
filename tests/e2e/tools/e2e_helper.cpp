// e2e_helper: the Windows side of the end-to-end tests, one program with subcommands, which
// prints to the standard output that it inherits.
//   target <key log> [--topmost|--slow=<ms>|--taskbar] [text of field 1] [2] [3]
//       A window "Typewell Test Target" with three single-line edit fields and a multi-line one
//       below them (control IDs 101 to 104, Tab moves between them). Every key message is
//       appended to <key log> as "down|up <vk hex> shift=<0|1> ctrl=<0|1> alt=<0|1>", with the
//       modifier state that its thread sees. On activation the field that had the focus gets it
//       back, as in a dialog. F12 makes it stop taking messages until "<key log>.wake" exists
//       (a minute at most). --topmost: always on top, magenta, at (620, 250), and slow: it
//       takes 60 ms over every key message. --slow: "Typewell Slow Target", below the other,
//       takes that long over every key message. --taskbar: a stand-in for the shell's taskbar,
//       a topmost tool window of its class with no title, along the foot of the screen.
//   hold clipboard|<file> <marker>
//       Opens the clipboard with a window of its own (with none, Wine lets a second program open
//       it too) or the file with no sharing, creates <marker> and keeps it open until
//       "<marker>.release" exists (a minute at most).
//   copy "<text>"
//       Puts the text on the clipboard, as a user's copy in another program does.
//   probe "<title>" [<control ID>]...
//       "left top width height clientleft clienttop minimized foreground topmost focus dragging
//       above enabled" of the window (topmost: its real WS_EX_TOPMOST bit; focus: the control ID of
//       the focused window of its thread, 0 for none; dragging: a drag outline of its process is
//       shown; above: how many shown top-level windows lie above it; enabled: it takes input),
//       then "id left top width
//       height visible enabled" for each control of that ID.
//   winctl restore|close|right|activate "<title>"
//       Restores it, sends WM_CLOSE as the caption's close box does, or moves it one pixel to
//       the right, activating nothing; or brings it to the front, as Alt+Tab would.
//   dpi "<title>" <dpi>
//       Sends WM_DPICHANGED for that DPI, suggesting the window's place scaled from 96 DPI.
//   read-text "<title>"
//       The texts of the window's edit controls, each in UTF-16 followed by a NUL.
//   char "<title>" <caret> <UTF-16 unit in hex>
//       Puts the caret of the window's edit control at <caret> (-1: where it is), then sends it
//       WM_CHAR with the unit, as a key's letter becomes (a letter beyond the first plane comes
//       in two); when it returns, the control has taken it and reported the change.
//   names "<title>" <control ID>...
//       The accessible name of the control of each ID as a screen reader reads it (the name of
//       its client object, through MSAA from this process), each in UTF-16 followed by a NUL;
//       an empty one where there is no such control or name.
// Copied as browser.exe it stands in for the browser: it appends its command line (UTF-16) to
// browser.log beside itself. Exit code 2: no window has that title.
#include <windows.h>
// after windows.h
#include <fcntl.h>
#include <io.h>
#include <oleacc.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

HWND fields[4];
HWND lastFocus = nullptr;

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) {
    SetFocus(lastFocus ? lastFocus : fields[0]);
    return 0;
  }
  if (message == WM_COMMAND && HIWORD(wParam) == EN_SETFOCUS) {
    lastFocus = reinterpret_cast<HWND>(lParam);
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

bool Down(int key) {
  return (GetKeyState(key) & 0x8000) != 0;
}

// Waits (a minute at most) until the file exists.
void AwaitFile(const std::wstring& path) {
  for (int i = 0; i < 3000 && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) {
    Sleep(20);
  }
}

int Target(std::vector<std::wstring> args) {
  std::FILE* log = _wfopen(args[2].c_str(), L"ab");
  const bool topmost = args.size() > 3 && args[3] == L"--topmost";
  const bool taskbar = args.size() > 3 && args[3] == L"--taskbar";
  const bool slow = args.size() > 3 && args[3].starts_with(L"--slow=");
  const DWORD slowMs = topmost ? 60 : (slow ? _wtoi(args[3].c_str() + 7) : 0);
  if (topmost || taskbar || slow) args.erase(args.begin() + 3);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = TargetProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hbrBackground =
      topmost ? CreateSolidBrush(RGB(255, 0, 255)) : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = taskbar ? L"Shell_TrayWnd" : L"TypewellTestTarget";
  RegisterClassW(&windowClass);
  const HWND window = CreateWindowExW(
      taskbar ? WS_EX_TOPMOST | WS_EX_TOOLWINDOW : (topmost ? WS_EX_TOPMOST : 0),
      windowClass.lpszClassName,
      taskbar ? L"" : (slow ? L"Typewell Slow Target" : L"Typewell Test Target"),
      taskbar ? WS_POPUP : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
      taskbar ? 0 : (topmost ? 620 : 60), taskbar ? 984 : (topmost ? 250 : (slow ? 400 : 60)),
      taskbar ? 1280 : 450, taskbar ? 40 : 300, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (log == nullptr || window == nullptr) return 1;
  for (std::size_t i = 0; i < 4; ++i) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP |
                        (i == 3 ? ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL : ES_AUTOHSCROLL);
    fields[i] = CreateWindowExW(0, L"EDIT", i + 3 < args.size() ? args[i + 3].c_str() : L"", style,
                                10, 10 + 32 * static_cast<int>(i), 360, i == 3 ? 80 : 24, window,
                                reinterpret_cast<HMENU>(101 + i), nullptr, nullptr);
  }
  ShowWindow(window, SW_SHOWNORMAL);
  SetFocus(fields[0]);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    const UINT m = message.message;
    if (m == WM_KEYDOWN || m == WM_KEYUP || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP) {
      std::fprintf(log, "%s %02x shift=%d ctrl=%d alt=%d\n",
                   m == WM_KEYDOWN || m == WM_SYSKEYDOWN ? "down" : "up",
                   static_cast<unsigned>(message.wParam), Down(VK_SHIFT), Down(VK_CONTROL),
                   Down(VK_MENU));
      std::fflush(log);
      Sleep(slowMs);
    }
    if (m == WM_KEYDOWN && message.wParam == VK_F12) AwaitFile(args[2] + L".wake");
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

int Copy(const std::wstring& text) {
  const HWND owner =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  if (block == nullptr || !OpenClipboard(owner)) return 1;
  std::memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(block);
  const bool put = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, block) != nullptr;
  CloseClipboard();
  return put ? 0 : 1;
}

int Hold(const std::vector<std::wstring>& args) {
  const HWND owner =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  const bool clipboard = args[2] == L"clipboard";
  const HANDLE file = clipboard ? nullptr
                                : CreateFileW(args[2].c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (clipboard ? !OpenClipboard(owner) : file == INVALID_HANDLE_VALUE) return 1;
  CloseHandle(CreateFileW(args[3].c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  AwaitFile(args[3] + L".release");
  clipboard ? CloseClipboard() : CloseHandle(file);
  return 0;
}

BOOL CALLBACK MatchId(HWND child, LPARAM search) {
  auto& [id, found] = *reinterpret_cast<std::pair<int, HWND>*>(search);
  if (GetDlgCtrlID(child) != id) return TRUE;
  found = child;
  return FALSE;
}

int Probe(HWND window, const std::vector<std::wstring>& args) {
  RECT r;
  GetWindowRect(window, &r);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  DWORD process = 0;
  GUITHREADINFO thread{};
  thread.cbSize = sizeof(thread);
  const bool known = GetGUIThreadInfo(GetWindowThreadProcessId(window, &process), &thread);
  const bool focused = known && thread.hwndFocus != nullptr && IsChild(window, thread.hwndFocus);
  const HWND outline = FindWindowW(L"TypewellDragOutline", nullptr);
  DWORD outlineProcess = 0;
  GetWindowThreadProcessId(outline, &outlineProcess);
  const bool dragging = outlineProcess == process && IsWindowVisible(outline);
  int above = 0;
  for (HWND w = GetWindow(window, GW_HWNDPREV); w != nullptr; w = GetWindow(w, GW_HWNDPREV)) {
    above += IsWindowVisible(w) ? 1 : 0;
  }
  std::printf("%ld %ld %ld %ld %ld %ld %d %d %d %d %d %d %d\n", r.left, r.top, r.right - r.left,
              r.bottom - r.top, origin.x, origin.y, IsIconic(window) ? 1 : 0,
              GetForegroundWindow() == window ? 1 : 0,
              (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0,
              focused ? GetDlgCtrlID(thread.hwndFocus) : 0, dragging ? 1 : 0, above,
              IsWindowEnabled(window) ? 1 : 0);
  for (std::size_t i = 3; i < args.size(); ++i) {
    std::pair<int, HWND> search{_wtoi(args[i].c_str()), nullptr};
    EnumChildWindows(window, MatchId, reinterpret_cast<LPARAM>(&search));
    if (search.second == nullptr || !GetWindowRect(search.second, &r)) continue;
    std::printf("%d %ld %ld %ld %ld %d %d\n", search.first, r.left, r.top, r.right - r.left,
                r.bottom - r.top, IsWindowVisible(search.second) ? 1 : 0,
                IsWindowEnabled(search.second) ? 1 : 0);
  }
  return 0;
}

int Dpi(HWND window, int dpi) {
  RECT r;
  GetWindowRect(window, &r);
  RECT suggested{r.left, r.top, r.left + MulDiv(r.right - r.left, dpi, 96),
                 r.top + MulDiv(r.bottom - r.top, dpi, 96)};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  return 0;
}

int ReadText(HWND window) {
  _setmode(_fileno(stdout), _O_BINARY);
  for (HWND edit = nullptr; (edit = FindWindowExW(window, edit, L"Edit", nullptr)) != nullptr;) {
    wchar_t text[4096];
    DWORD_PTR length = 0;
    SendMessageTimeoutW(edit, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, &length);
    std::fwrite(text, sizeof(wchar_t), length + 1, stdout);
  }
  return 0;
}

int Char(HWND window, const std::vector<std::wstring>& args) {
  const HWND edit = FindWindowExW(window, nullptr, L"Edit", nullptr);
  SendMessageW(edit, EM_SETSEL, _wtoi(args[3].c_str()), _wtoi(args[3].c_str()));
  SendMessageW(edit, WM_CHAR, std::wcstoul(args[4].c_str(), nullptr, 16), 1);
  return 0;
}

int Names(HWND window, const std::vector<std::wstring>& args) {
  _setmode(_fileno(stdout), _O_BINARY);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  for (std::size_t i = 3; i < args.size(); ++i) {
    std::pair<int, HWND> search{_wtoi(args[i].c_str()), nullptr};
    EnumChildWindows(window, MatchId, reinterpret_cast<LPARAM>(&search));
    IAccessible* object = nullptr;
    BSTR name = nullptr;
    if (search.second != nullptr &&
        SUCCEEDED(AccessibleObjectFromWindow(search.second, OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&object)))) {
      VARIANT self{};
      self.vt = VT_I4;
      self.lVal = CHILDID_SELF;
      if (FAILED(object->get_accName(self, &name))) name = nullptr;
      object->Release();
    }
    std::fwrite(name ? name : L"", sizeof(wchar_t), SysStringLen(name) + 1, stdout);
    SysFreeString(name);
  }
  return 0;
}

int Browser(std::wstring log) {
  log.replace(log.size() - 3, 3, L"log");
  std::FILE* file = _wfopen(log.c_str(), L"ab");
  if (file == nullptr) return 1;
  std::fputws(GetCommandLineW(), file);
  return std::fclose(file) == 0 ? 0 : 1;
}

int WindowControl(HWND window, const std::wstring& what) {
  RECT r;
  GetWindowRect(window, &r);
  if (what == L"close") PostMessageW(window, WM_CLOSE, 0, 0);
  if (what == L"restore") ShowWindow(window, SW_RESTORE);
  if (what == L"activate") SetForegroundWindow(window);
  if (what == L"right") {
    SetWindowPos(window, nullptr, r.left + 1, r.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return 0;
}

}  // namespace

int main() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  const std::vector<std::wstring> args(argv, argv + count);
  wchar_t self[MAX_PATH] = {};
  const std::wstring exe(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
  if (exe.ends_with(L"\\browser.exe")) return Browser(exe);
  const std::wstring command = count > 1 ? args[1] : L"";
  if (command == L"target" && count >= 3) return Target(args);
  if (command == L"hold" && count == 4) return Hold(args);
  if (command == L"copy" && count == 3) return Copy(args[2]);
  const std::size_t title = command == L"winctl" ? 3 : 2;
  const HWND window = title < args.size() ? FindWindowW(nullptr, args[title].c_str()) : nullptr;
  if (window == nullptr) return 2;
  if (command == L"probe") return Probe(window, args);
  if (command == L"read-text") return ReadText(window);
  if (command == L"names") return Names(window, args);
  if (command == L"char" && count == 5) return Char(window, args);
  if (command == L"dpi" && count == 4) return Dpi(window, _wtoi(args[3].c_str()));
  if (command == L"winctl" && count == 4) return WindowControl(window, args[2]);
  std::fputs("usage: see the head of tests/e2e/tools/e2e_helper.cpp\n", stderr);
  return 1;
}
