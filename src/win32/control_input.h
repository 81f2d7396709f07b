// How the controls of Typewell's windows take the mouse, the keys and a screen reader's
// questions, shared by their window procedures (controls.cpp, label.cpp).
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "win32/controls.h"

namespace tw::win32 {

ControlEvents* EventsOf(HWND control);

struct PressTracking {
  // Presses, moves and releases of a control that reports them; false for other messages. The
  // control's own processing (a button's pressed look, its capture and BN_CLICKED) runs as usual
  // for the left button; right and middle buttons belong to the press alone (no context menu).
  static bool OnMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                        const std::function<void()>& runDefault);
  static bool Held(HWND control);
};

// Whether PressTracking::OnMessage or OnKeyMessage can act on the message. The controls pass
// every other message by before they look anything up: a control's events are a window property,
// which under Wine each reading asks of the window server, and a control gets many messages for
// each paint alone.
bool IsPressMessage(UINT message);
bool IsKeyMessage(UINT message);

// The keys a kind of control takes for itself (see ControlEvents::OnControlKey).
enum class KeySet { Label, PushButton, OptionButton, EditBox };

// WM_GETDLGCODE and the key messages of a control that takes the keys of the set; nullopt for
// the messages it leaves to its own processing, which runDefault runs.
std::optional<LRESULT> OnKeyMessage(HWND control, KeySet keys, UINT message, WPARAM wParam,
                                    LPARAM lParam, const std::function<LRESULT()>& runDefault);

// Whether the window has a non-client area to paint. A control without one skips the default
// WM_NCPAINT.
bool HasFrame(HWND window);

// What a screen reader hears of the control: the name its window gives it (AccessibleName).
std::optional<LRESULT> OnAccessibilityMessage(HWND control, UINT message, WPARAM wParam,
                                              LPARAM lParam);

// The labels' class: its window procedure and the extra bytes each window keeps.
LRESULT CALLBACK LabelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
inline constexpr int kLabelExtraBytes = 2 * sizeof(LONG_PTR);

}  // namespace tw::win32
