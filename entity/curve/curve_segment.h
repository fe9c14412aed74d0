#pragma once
// One segment of the polyline read as a curve of its fraction f in [0, 1]: the plan position moves evenly
// along the chord or the arc, the height evenly from one end to the other.
#include "geometry/arcs/arc3d.h"

namespace poly_curve {

CPoint3d pointAtFraction(const CArc3d& segment, double f);

// The fraction at which the arc passes the point of its circle in the direction `bearing` from the centre;
// -1 when the arc does not reach it.
double arcFraction(const CArc3d& segment, double bearing);

} // namespace poly_curve
