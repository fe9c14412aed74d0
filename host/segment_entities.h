#pragma once
// The host entity a polyline segment stands for when the polyline is exploded: a line, or an arc for a
// segment with a bulge.
#include "host/ge.h"

class AcDbCurve;

namespace host {
// The segment from a to b (plane coordinates) with its bulge, in the plane that `planeToWorld` places with
// normal `normal`; a new object for the caller.
AcDbCurve* segmentEntity(const AcGePoint2d& a, const AcGePoint2d& b, double bulge,
                         const AcGeMatrix3d& planeToWorld, const AcGeVector3d& normal);
} // namespace host
