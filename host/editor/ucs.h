#pragma once
// The current user coordinate system and conversions between coordinate systems (acedTrans): world (0),
// user (1), display (2) and paper-space display (3), or the object system of an extrusion direction. The
// host's view looks straight down on the user system, so the display systems are the user system.
#include "host/db/resbuf.h"
#include "host/ge/ge.h"

// The transform from the current user system to world coordinates.
bool acedGetCurrentUCS(AcGeMatrix3d& mat);
// `mat` must have orthonormal axes; false otherwise, and nothing changes.
bool acedSetCurrentUCS(const AcGeMatrix3d& mat);

// `from` and `to`: an RTSHORT (0 to 3) or RT3DPOINT (an extrusion direction). With `disp` non-zero the point
// is a displacement: it turns but does not move.
int acedTrans(const ads_point pt, const resbuf* from, const resbuf* to, int disp, ads_point result);

namespace host {
void resetUcs();
AcGePoint3d ucsToWorld(const AcGePoint3d& point);
AcGePoint3d worldToUcs(const AcGePoint3d& point);
} // namespace host
