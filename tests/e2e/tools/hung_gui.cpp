// hung_gui: a program that stops answering, to show that a hung target cannot hang Typewell.
//   hung_gui.exe <outdir>
// A window titled "Typewell Hung Target" with one edit field. Once <outdir>/ready is written,
// the first activation, focus change or key that reaches it makes it stop pumping messages: it
// writes <outdir>/hung and sleeps until <outdir>/wake exists (at most a minute, so that a broken
// test never leaves it hanging for good), then runs normally again.
#include <windows.h>

#include <string>
#include <vector>

#include "tool_support.h"

namespace {

constexpr wchar_t kTitle[] = L"Typewell Hung Target";
constexpr wchar_t kClass[] = L"TypewellHungTarget";
constexpr DWORD kLongestHangMs = 60000;
constexpr DWORD kPollMs = 20;

struct Hang {
  std::wstring outdir;
  bool armed = false;
  bool done = false;
};

void HangOnce(Hang& hang) {
  if (!hang.armed || hang.done) return;
  hang.done = true;
  tw::tools::Touch(hang.outdir + L"\\hung");
  const std::wstring wake = hang.outdir + L"\\wake";
  for (DWORD slept = 0; slept < kLongestHangMs && !tw::tools::Exists(wake); slept += kPollMs)
    Sleep(kPollMs);
}

LRESULT CALLBACK HungProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* hang = reinterpret_cast<Hang*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrW(
          window, GWLP_USERDATA,
          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) HangOnce(*hang);
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_SETFOCUS) HangOnce(*hang);
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
  if (argc != 2) return 1;
  Hang hang;
  hang.outdir = args[1].c_str();

  const HWND window =
      tw::tools::CreateToolWindow(instance, HungProc, kClass, kTitle, {480, 60, 780, 180}, &hang);
  if (!window) return 1;
  const HWND field = CreateWindowExW(0, L"EDIT", L"hung", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10,
                                     260, 24, window, nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  SetFocus(field);

  MSG message;
  // Let the start-up's own activation and focus messages pass before arming the hang.
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  hang.armed = true;
  tw::tools::Touch(hang.outdir + L"\\ready");
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_KEYDOWN) HangOnce(hang);
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
