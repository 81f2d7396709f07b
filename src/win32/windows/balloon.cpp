#include "win32/windows/balloon.h"

#include <commctrl.h>

#include "win32/system/window_binding.h"

namespace tw::win32 {

void Balloon::Show(HWND edit, const std::wstring& title, const std::wstring& text) {
  Hide();
  edit_ = edit;
  EDITBALLOONTIP own{sizeof(own), title.c_str(), text.c_str(), TTI_WARNING};
  if (SendMessageW(edit, EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&own))) return;
  // No owner: under Wine a window that owns a topmost popup cannot itself be made topmost.
  tip_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_BALLOON | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr));
  if (!tip_) return LogFailure("the balloon's tool tip cannot be made");
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  tool.hwnd = edit;
  tool.lpszText = const_cast<wchar_t*>(text.c_str());  // copied by the tool tip
  SendMessageW(tip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tip_.get(), TTM_SETTITLEW, TTI_WARNING, reinterpret_cast<LPARAM>(title.c_str()));
  SendMessageW(tip_.get(), TTM_SETMAXTIPWIDTH, 0, 320);
  RECT r;
  GetWindowRect(edit, &r);
  SendMessageW(tip_.get(), TTM_TRACKPOSITION, 0, MAKELPARAM((r.left + r.right) / 2, r.bottom));
  SendMessageW(tip_.get(), TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

void Balloon::Hide() {
  if (edit_ != nullptr) SendMessageW(edit_, EM_HIDEBALLOONTIP, 0, 0);
  edit_ = nullptr;
  tip_.reset();
}

}  // namespace tw::win32
