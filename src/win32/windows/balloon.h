// A balloon beside a control that says something about it (a letter refused), until the control
// changes again or is hidden: an edit control's own balloon where the system has it, else a
// tracking tool tip in the balloon's form (Wine's edit control shows no balloon).
#pragma once

#include <windows.h>

#include <string>

#include "win32/system/scoped_handles.h"

namespace tw::win32 {

class Balloon {
 public:
  void Show(HWND edit, const std::wstring& title, const std::wstring& text);
  void Hide();

 private:
  ScopedWindow tip_;
  HWND edit_ = nullptr;
};

}  // namespace tw::win32
