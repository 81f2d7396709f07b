// The fill action: a mouse release on an "Insert" button puts the entry of its slot into the
// focused field of the TargetWindow. The text travels through the clipboard; the target window
// is activated, the current line of its field is selected and replaced by a paste, and Tab moves
// its focus to the next field.
#pragma once

#include "core/app.h"
#include "forms/events.h"

namespace tw::fill {

// The title of the desktop window, which is never filled.
inline constexpr const char* kDesktopTitle = "PROGRAM MANAGER";

// The release of any mouse button on FillBtn(e.index). An entry that is empty once the focus
// has moved to the focus sink fills nothing.
void FillBtn_MouseUp(core::App& app, const forms::MouseEvent& e);

}  // namespace tw::fill
