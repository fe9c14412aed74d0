#pragma once
// Object snaps: the point of an entity near a picked point, found by asking the entities of the current
// space for their snap points (getOsnapPoints) in each mode that is on, within the aperture around the pick;
// INT (bit 32) asks the curves passing within the aperture for their intersections with each other.
#include "host/db/resbuf.h"
#include "host/ge/ge.h"

// Snaps `pt` (user coordinates) with the modes of `mode` ("_end,_mid", "end", "near", ...); RTNORM with the
// snapped point in `result`, RTERROR when no snap point lies within the aperture or the modes are unknown.
int acedOsnap(const ads_point pt, const ACHAR* mode, ads_point result);

namespace host {

// The OSMODE bits of a mode text such as "_end,_mid"; -1 for an unknown mode.
int osnapModeBits(const ACHAR* mode);
// The snap point nearest `worldPick` for the OSMODE bits `modes` (bit 0x4000 switches snapping off); false
// when there is none within the aperture.
bool snapToEntities(const AcGePoint3d& worldPick, int modes, AcGePoint3d& snapped);
// Drawing units per screen pixel: VIEWSIZE over the screen height of SCREENSIZE.
double unitsPerPixel();

} // namespace host
