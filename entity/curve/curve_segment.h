#pragma once
// One segment of the polyline read as a curve of its fraction f in [0, 1]: the plan position moves evenly
// along the chord or the arc, the height evenly from one end to the other.
#include <array>

#include "geometry/arcs/arc3d.h"

namespace poly_curve {

CPoint3d pointAtFraction(const CArc3d& segment, double f);

// The fractions at which the arc reaches furthest either way along `direction` (a vector of the segment's
// own system), inside the arc; -1 for one it does not reach. On a sloped arc the climb shifts them off the
// plan extremes of its circle.
std::array<double, 2> arcExtremeFractions(const CArc3d& segment, const CPoint3d& direction);

} // namespace poly_curve
