// The program's icon at a window's DPI: the small one of the caption and the large one of the
// task switcher, each in the size the system gives its kind of icon at that DPI.
#pragma once

#include <windows.h>

namespace tw::win32 {

// The class's icons: icon 1 of the module in the small and the large icon size at the system's
// DPI, kept for as long as the program runs. A window at that DPI then needs no icons of its own
// (under Wine, each icon given to a window costs a conversion for the X server at start-up).
void SetClassIcons(WNDCLASSEXW& windowClass);

// Gives the window icon 1 of its module in the small and the large icon size for the DPI. The
// window owns them: the icons of an earlier call go now, these with the window. Without icon 1
// (a test program) the window keeps what it shows.
void SetWindowIcons(HWND window, int dpi);

}  // namespace tw::win32
