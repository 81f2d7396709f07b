// The outline that follows the pointer during a manual drag: a layered, click-through, topmost
// tool window that never takes activation. Its inside is the colour key, so only a frame of two
// lines shows, one dark and one light in the system's colours; WindowFromPoint looks through it.
#pragma once

#include <windows.h>

#include "win32/system/scoped_handles.h"

namespace tw::win32 {

class DragOutline {
 public:
  // Registers the outline's class. Throws StartFailure.
  static void Register();

  // Makes the outline's window unless it exists; false when the system cannot.
  bool Make();
  // Shows or moves the outline at a rectangle in screen pixels, above every normal window. It
  // has no owner: a window that owned this topmost popup could not be made topmost itself under
  // Wine.
  void ShowAt(const RECT& screen);
  void Hide();

  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  ScopedWindow window_;
};

}  // namespace tw::win32
