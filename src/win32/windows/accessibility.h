// What a screen reader hears of Typewell's controls: each control's accessible name ("Insert 4:
// Smith & Co", "Entry 4, empty", "Page 1"), asked of its window procedure whenever a reader reads
// it, and announcements that need no box.
//
// A control's window procedure answers first, before its own processing:
//   if (auto answer = AnswerAccessibility(window, message, wParam, lParam,
//                                         [&] { return NameOfThisControl(); })) {
//     return *answer;
//   }
// and the window calls NotifyNameChanged(control) whenever that name changes.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tw::win32 {

namespace accessibility_detail {
std::optional<LRESULT> AnswerGetObject(HWND control, WPARAM wParam, LPARAM lParam) noexcept;
// The message by which the control's accessible object asks the control for its name (lParam: a
// std::wstring to fill); sent only from within the process.
UINT NameQueryMessage() noexcept;
}  // namespace accessibility_detail

// WM_GETOBJECT for the control's client area: the system's accessible object of the control, but
// named by nameOf() at each reading (the system's name where it is empty); the name query of
// that object: nameOf(). nullopt for any
// other message or object, and where the system cannot make the object: the control's own
// processing then answers as usual.
template <class NameOf>
std::optional<LRESULT> AnswerAccessibility(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                           NameOf&& nameOf) noexcept {
  if (message == WM_GETOBJECT) {
    return accessibility_detail::AnswerGetObject(control, wParam, lParam);
  }
  if (message < 0xC000 || message != accessibility_detail::NameQueryMessage()) return std::nullopt;
  try {
    std::wstring name = nameOf();
    if (name.empty()) return 0;  // the object reads the name the system gives the control
    *reinterpret_cast<std::wstring*>(lParam) = std::move(name);
    return 1;
  } catch (...) {
    return 0;  // the object then reads the name the system gives the control
  }
}

// A COM object of ours: it counts its references and deletes itself at the last release.
template <class Interface>
class ComObject : public Interface {
 public:
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

 protected:
  ComObject() = default;
  virtual ~ComObject() = default;

 private:
  LONG references_ = 1;
};

// Tells screen readers that the control's name changed (they read it again).
void NotifyNameChanged(HWND control) noexcept;

// Tells the user something without a modal box: a warning sound and, where the system has them
// (Windows 10 1709 and later), a screen reader's announcement of text. Never fails; never waits.
void Announce(HWND window, const std::wstring& text) noexcept;

}  // namespace tw::win32
