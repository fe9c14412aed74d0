#pragma once
// A world point in a polyline's own system (that of its normal), where its vertices keep their points: the
// way back from CPolyArc3D::WorldPoint, for what the user picks or drags.
#include "entity/core/poly_arc3d.h"

inline CPoint3d ownPoint(const CPolyArc3D& poly, const CPoint3d& world) {
    CPoint3d p = world;
    if (poly.normalMatrix()) poly.normalMatrix()->ApplyToPt(&p, &world);
    return p;
}
