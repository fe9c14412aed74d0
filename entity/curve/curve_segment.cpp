#include "entity/curve/curve_segment.h"

#include "geometry/points/angle_helpers.h"
#include "geometry/points/angle_units.h"

#include <cmath>

namespace poly_curve {

namespace {
// Bearing from the centre to the start point of an arc.
double startBearing(const CArc3d& segment) {
    return segment.bulge > 0 ? segment.startGis - _100rd : segment.startGis + _100rd;
}
} // namespace

CPoint3d pointAtFraction(const CArc3d& segment, double f) {
    const double z = segment.start.z + (segment.end.z - segment.start.z) * f;
    if (segment.radius == 0) {
        CPoint3d p = segment.start + (segment.end - segment.start) * f;
        p.z = z;
        return p;
    }
    if (f <= 0) return segment.start;
    if (f >= 1) return segment.end;
    CPoint3d p = segment.centre.polar(startBearing(segment) + segment.acentre() * f, segment.radius);
    p.z = z;
    return p;
}

double arcFraction(const CArc3d& segment, double bearing) {
    const double swept = segment.acentre();
    const double turn =
        intervalle_2pi(swept > 0 ? bearing - startBearing(segment) : startBearing(segment) - bearing);
    return turn <= std::fabs(swept) ? turn / std::fabs(swept) : -1;
}

} // namespace poly_curve
