#include "win32/windows/close_question.h"

#include <commctrl.h>

#include "ui/layout.h"
#include "win32/system/system.h"

namespace tw::win32 {

namespace {

using TaskDialogFn = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

services::CloseAnswer AskByMessageBox(HWND owner, const std::wstring& message) {
  const std::wstring text = message + L"\n\n(Try Again: Retry. Continue: Close without saving.)";
  switch (MessageBoxW(owner, text.c_str(), ui::kMessageTitle,
                      MB_ICONERROR | MB_CANCELTRYCONTINUE | MB_DEFBUTTON3)) {
    case IDTRYAGAIN:
      return services::CloseAnswer::Retry;
    case IDCONTINUE:
      return services::CloseAnswer::CloseWithoutSaving;
    default:
      return services::CloseAnswer::Cancel;
  }
}

}  // namespace

services::CloseAnswer AskCloseQuestion(HWND owner, const std::wstring& message) {
  // From Windows Vista on, in the common controls of version 6 that the manifest asks for; looked
  // up, so that the program still starts where it is missing.
  const auto taskDialog = SystemFunction<TaskDialogFn>(L"comctl32.dll", "TaskDialogIndirect");
  if (taskDialog == nullptr) return AskByMessageBox(owner, message);
  const TASKDIALOG_BUTTON buttons[] = {{IDRETRY, L"&Retry"},
                                       {kCloseWithoutSavingId, L"Close &without saving"}};
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof(config);
  config.hwndParent = owner;
  config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
  config.dwCommonButtons = TDCBF_CANCEL_BUTTON;
  config.pszWindowTitle = ui::kMessageTitle;
  config.pszMainIcon = TD_ERROR_ICON;
  config.pszContent = message.c_str();
  config.cButtons = static_cast<UINT>(std::size(buttons));
  config.pButtons = buttons;
  // Cancel, the answer that loses nothing, is what Enter chooses.
  config.nDefaultButton = IDCANCEL;
  int chosen = IDCANCEL;
  if (FAILED(taskDialog(&config, &chosen, nullptr, nullptr))) {
    return AskByMessageBox(owner, message);
  }
  if (chosen == IDRETRY) return services::CloseAnswer::Retry;
  if (chosen == kCloseWithoutSavingId) return services::CloseAnswer::CloseWithoutSaving;
  return services::CloseAnswer::Cancel;
}

}  // namespace tw::win32
