// Event payloads of the forms toolkit. Handlers are single-assignment std::function fields on
// the controls and forms (onMouseUp, onClick, ...); an element of a control array reports its
// index in every event, a single control reports -1.
#pragma once

#include "forms/geometry.h"

namespace tw::forms {

class Control;

struct MouseEvent {
  int index = -1;
  // Down and up: the one button that changed. Move: every button held (bits of MouseButton).
  int button = 0;
  int shift = 0;  // bits of ShiftKey
  // Pointer position relative to the control, in twips.
  Twips x = 0;
  Twips y = 0;
};

enum class DragState { Enter, Leave, Over };

struct DragEvent {
  int index = -1;
  Control* source = nullptr;  // the control being dragged; not owned
  Twips x = 0;                // pointer relative to the control under it
  Twips y = 0;
  DragState state = DragState::Over;
};

}  // namespace tw::forms
