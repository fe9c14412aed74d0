#pragma once
// Picks at a point: what an entity draws, tested against the pick box around the point, as a host's pick
// finds it (a click in the empty middle of a circle finds nothing).
#include "host/entities/entity.h"

namespace host {

enum class PickHit {
    Drawn,       // what the entity draws passes within the pick box
    Missed,      // it draws, elsewhere
    DrawsNothing // it draws nothing the host can see: where it is cannot be told
};

// Whether what `entity` draws passes within `tolerance` of `worldPoint`, in plan: its lines and curves,
// the edges of its meshes, the inside of its filled polygons and the box of its texts.
PickHit pickHit(AcDbEntity* entity, const AcGePoint3d& worldPoint, double tolerance);

// The selection marker of what `entity` draws nearest to `worldPoint` in plan, as a host reports for a pick
// that names no part; 0 when it draws nothing.
Adesk::GsMarker nearestMarker(AcDbEntity* entity, const AcGePoint3d& worldPoint);

// The pick box's half side in drawing units: PICKBOX pixels.
double pickTolerance();

} // namespace host
