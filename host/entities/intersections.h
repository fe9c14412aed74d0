#pragma once
// Intersections of curves, found in a projection plane: each curve is cut into straight segments and
// circular arcs (exactly for lines, arcs, circles and polylines with bulges, by tessellation for the
// others), and the points are answered on the first curve, in world coordinates.
#include "host/db/acdb.h"
#include "host/rx/ac_array.h"
#include "host/rx/acad_status.h"

class AcDbEntity;
class AcGePlane;

namespace host {

// Extension follows `type`: kExtendThis lets the first curve's open ends go on (its end segments as lines,
// its arcs as full circles), kExtendArg the second's. Without a plane, the xy plane.
Acad::ErrorStatus intersectCurves(const AcDbEntity* first, const AcDbEntity* second, AcDb::Intersect type,
                                  const AcGePlane* plane, AcGePoint3dArray& points);

} // namespace host
