// Moving an entry onto an empty slot by dragging its label: a press on a label notes the press
// point, a move of more than 10 twips with the left button alone starts a drag of the proxy
// Dragbox (an outline the size of the label follows the pointer), and a drop on an empty label
// moves the entry there, rewriting only the two records concerned in Forms.dat.
#pragma once

#include "core/app.h"
#include "forms/events.h"

namespace tw::edit {

// A move of more than this many twips from the press point, on either axis, starts a drag.
inline constexpr forms::Twips kDragThreshold = 10;

// Any button pressed on Names(Index): the press point becomes the drag start point.
void Names_MouseDown(core::App& app, const forms::MouseEvent& e);
// The pointer moves over Names(Index), or with a button held after a press on it.
void Names_MouseMove(core::App& app, const forms::MouseEvent& e);
// A drag is dropped on Names(Index).
void Names_DragDrop(core::App& app, const forms::DragEvent& e);

}  // namespace tw::edit
