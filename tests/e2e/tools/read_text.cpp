// read_text: prints the text of the first edit control of a top-level window found by its exact
// title, read with WM_GETTEXT, so that a test can see what another program's field holds.
//   read_text.exe "<window title>"
// The text goes to standard output in UTF-8, byte for byte (line breaks unchanged). Exit codes:
// 0 printed, 1 bad arguments, 2 no window has that title or it has no edit control.
#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tool_support.h"

namespace {

BOOL CALLBACK StopAtEdit(HWND child, LPARAM found) {
  wchar_t name[16] = {};
  if (GetClassNameW(child, name, 16) && lstrcmpiW(name, L"Edit") == 0) {
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
  }
  return TRUE;
}

// The first window of class "Edit" among the window's descendants.
HWND FindEdit(HWND window) {
  HWND found = nullptr;
  EnumChildWindows(window, StopAtEdit, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::wstring TextOf(HWND edit) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(edit, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
    return {};
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, 5000, &copied);
  text.resize(copied);
  return text;
}

std::string ToUtf8(const std::wstring& text) {
  const int size = static_cast<int>(text.size());
  const int needed =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
  if (needed > 0) {
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), needed, nullptr, nullptr);
  }
  return bytes;
}

}  // namespace

int main() {
  const std::vector<std::wstring> args = tw::tools::CommandLineArguments();
  const int argc = static_cast<int>(args.size());
  if (argc != 2) {
    std::fputs("usage: read_text.exe \"<window title>\"\n", stderr);
    return 1;
  }
  const HWND window = FindWindowW(nullptr, args[1].c_str());
  const HWND edit = window != nullptr ? FindEdit(window) : nullptr;
  if (edit == nullptr) return 2;
  const std::string text = ToUtf8(TextOf(edit));
  _setmode(_fileno(stdout), _O_BINARY);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}
