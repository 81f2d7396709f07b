// target_gui: a second program for the end-to-end tests to type into.
//   target_gui.exe <outdir> [text of field 1] [field 2] [field 3]
// A window titled "Typewell Test Target" with three single-line edit fields (Tab moves between
// them) and a multi-line field below them; the fields are numbered 1 to 4 from the top.
// After every change of a field's text or of the focus it rewrites <outdir>/fields.txt (UTF-8,
// one line "<n>\t<text>" per field with \n, \r, \t and \\ escaped, then "focus\t<n or -1>"),
// replacing the file whole so that a reader never sees half of it. Every key message it receives
// is appended to <outdir>/keys.log as "down|up <vk hex> shift=<0|1> ctrl=<0|1> alt=<0|1>", with
// the modifier state as the receiving thread sees it. <outdir>/rects.txt gives each field's
// rectangle on the screen, "<n>\t<left> <top> <width> <height>" in pixels, for clicking into it.
// <outdir>/ready is written once the window is shown and the files are current.
#include <windows.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tool_support.h"

namespace {

constexpr int kFieldCount = 4;
constexpr int kFirstFieldId = 101;
constexpr wchar_t kTitle[] = L"Typewell Test Target";
constexpr wchar_t kClass[] = L"TypewellTestTarget";

struct HandleCloser {
  void operator()(HANDLE h) const { CloseHandle(h); }
};
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

struct Target {
  std::wstring outdir;
  std::array<HWND, kFieldCount> fields{};
  HWND lastFocus = nullptr;  // given back to when the window is activated again
};

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int needed =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), needed, nullptr, nullptr);
  return bytes;
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        out += c;
    }
  }
  return out;
}

bool WriteWhole(const std::wstring& path, const std::string& bytes, DWORD disposition,
                DWORD access) {
  UniqueHandle file(CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    file.release();
    return false;
  }
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

// Writes a temporary file and moves it over the old one, so readers see old or new, never half.
void ReplaceFile(const std::wstring& path, const std::string& bytes) {
  const std::wstring temporary = path + L".tmp";
  if (WriteWhole(temporary, bytes, CREATE_ALWAYS, GENERIC_WRITE)) {
    MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
}

std::wstring FieldText(HWND field) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
  return text;
}

void WriteFields(const Target& target) {
  std::string out;
  int focus = -1;
  const HWND focused = GetFocus();
  for (int i = 0; i < kFieldCount; ++i) {
    out += std::to_string(i + 1) + "\t" + Escaped(Utf8(FieldText(target.fields[i]))) + "\n";
    if (focused == target.fields[i]) focus = i + 1;
  }
  out += "focus\t" + std::to_string(focus) + "\n";
  ReplaceFile(target.outdir + L"\\fields.txt", out);
}

void WriteRects(const Target& target) {
  std::string out;
  for (int i = 0; i < kFieldCount; ++i) {
    RECT r{};
    GetWindowRect(target.fields[i], &r);
    out += std::to_string(i + 1) + "\t" + std::to_string(r.left) + " " + std::to_string(r.top) +
           " " + std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top) + "\n";
  }
  ReplaceFile(target.outdir + L"\\rects.txt", out);
}

void LogKey(const Target& target, const MSG& message) {
  const bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
  char line[64];
  std::snprintf(line, sizeof(line), "%s %02x shift=%d ctrl=%d alt=%d\n", down ? "down" : "up",
                static_cast<unsigned>(message.wParam), (GetKeyState(VK_SHIFT) & 0x8000) ? 1 : 0,
                (GetKeyState(VK_CONTROL) & 0x8000) ? 1 : 0,
                (GetKeyState(VK_MENU) & 0x8000) ? 1 : 0);
  WriteWhole(target.outdir + L"\\keys.log", line, OPEN_ALWAYS, FILE_APPEND_DATA);
}

bool IsKeyMessage(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN ||
         message == WM_SYSKEYUP;
}

void CreateFields(HWND window, Target& target) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  for (int i = 0; i < kFieldCount; ++i) {
    const bool multiLine = i == kFieldCount - 1;
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP |
                        (multiLine ? ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL : ES_AUTOHSCROLL);
    target.fields[i] = CreateWindowExW(
        0, L"EDIT", L"", style, 10, 10 + 32 * i, 360, multiLine ? 80 : 24, window,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstFieldId + i)), instance, nullptr);
  }
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* target = reinterpret_cast<Target*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrW(
          window, GWLP_USERDATA,
          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
      break;
    case WM_CREATE:
      CreateFields(window, *target);
      return 0;
    case WM_ACTIVATE:
      // As a dialog does: the field that had the focus gets it back on activation.
      if (LOWORD(wParam) != WA_INACTIVE) {
        SetFocus(target->lastFocus ? target->lastFocus : target->fields[0]);
        return 0;
      }
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_SETFOCUS) target->lastFocus = reinterpret_cast<HWND>(lParam);
      if (HIWORD(wParam) == EN_CHANGE || HIWORD(wParam) == EN_SETFOCUS ||
          HIWORD(wParam) == EN_KILLFOCUS) {
        WriteFields(*target);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const std::vector<std::wstring> args = tw::tools::CommandLineArguments();
  const int argc = static_cast<int>(args.size());
  if (argc < 2) return 1;
  Target target;
  target.outdir = args[1].c_str();

  const HWND window = tw::tools::CreateToolWindow(instance, TargetProc, kClass, kTitle,
                                                  {60, 60, 450, 300}, &target);
  if (!window) return 1;
  for (int i = 0; i < 3 && i + 2 < argc; ++i) SetWindowTextW(target.fields[i], args[i + 2].c_str());
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  SetFocus(target.fields[0]);
  WriteFields(target);
  WriteRects(target);
  WriteWhole(target.outdir + L"\\ready", "", CREATE_ALWAYS, GENERIC_WRITE);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsKeyMessage(message.message)) LogKey(target, message);
    if (IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
