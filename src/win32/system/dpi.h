// Dots per inch: each window has its own, the system has one (the primary monitor's at sign-in),
// and the layout's twips become pixels at the window's. The per-monitor functions exist from
// Windows 10 on; they are looked up, so that the program still starts on older systems.
#pragma once

#include <windows.h>

#include "ui/layout.h"

namespace tw::win32 {

int SystemDpi();
// The window's DPI; the system's where the system knows no other.
int DpiOf(HWND window);
// The outer size of a window with this style whose client area has the given size.
SIZE OuterSize(SIZE client, DWORD style, DWORD exStyle, int dpi);
// The system's message font for a DPI.
LOGFONTW MessageFont(int dpi);

}  // namespace tw::win32
