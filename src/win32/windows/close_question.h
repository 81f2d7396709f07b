// The question when a change cannot be saved as Typewell closes: "Retry", "Close without saving"
// or "Cancel", in a task dialog of the common controls (a message box with "Try Again",
// "Continue" and "Cancel" where the system has none).
#pragma once

#include <windows.h>

#include <string>

#include "services/messages.h"

namespace tw::win32 {

// The control ID of the button "Close without saving".
inline constexpr int kCloseWithoutSavingId = 1001;

services::CloseAnswer AskCloseQuestion(HWND owner, const std::wstring& message);

}  // namespace tw::win32
