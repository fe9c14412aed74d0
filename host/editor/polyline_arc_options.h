#pragma once
// PLINE's arc options that build an arc as ARC does (Angle, CEntre, Direction, Rayon, Second pt): each asks
// what it needs and adds the arc to the draft.
#include <string>

#include "host/editor/polyline_draft.h"

namespace host {

// Draws the arc of an option; false on a cancel.
using ArcOptionDraw = bool (*)(PolylineDraft&);

// The option of a global keyword ("Angle", "CEnter", "Direction", "Radius", "Second"); nullptr for another.
ArcOptionDraw arcOptionFor(const std::wstring& keyword);

} // namespace host
