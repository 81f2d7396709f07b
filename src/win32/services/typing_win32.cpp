// Typing on real Win32: the clipboard, the sending of strokes and the release of modifier keys
// that the user holds down (the keys of a Send are in typing_keys_win32.cpp); see
// services_win32.h.
#include <algorithm>
#include <cstring>
#include <vector>

#include "services/key_groups.h"
#include "win32/services/services_win32.h"
#include "win32/system/ansi_text.h"
#include "win32/system/start_failure.h"
#include "win32/system/window_binding.h"

namespace tw::win32 {

namespace {

constexpr wchar_t kOwnerClass[] = L"TypewellClipboardOwner";

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

}  // namespace

bool SendStrokes(std::span<const services::KeyStroke> strokes) {
  std::vector<INPUT> inputs;
  for (const auto& stroke : strokes) inputs.push_back(ToInput(stroke));
  return inputs.empty() ||
         SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

namespace {

// The owner handles nothing itself: the text is on the clipboard at once.
LRESULT ClipboardOwnerMessage(Win32Typing&, HWND window, UINT message, WPARAM wParam,
                              LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

ScopedWindow Win32Typing::CreateClipboardOwner() {
  Register({kOwnerClass, BoundWindowProc<Win32Typing, &ClipboardOwnerMessage>});
  ScopedWindow owner(CreateWindowExW(0, kOwnerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     GetModuleHandleW(nullptr), this));
  if (!owner) throw StartFailure("the clipboard's owner cannot be made");
  return owner;
}

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
  SendStrokes(services::ModifierReleases(
      [](std::uint8_t key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }));
}

}  // namespace tw::win32
