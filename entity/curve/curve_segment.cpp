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

// The fraction at which the arc passes the point of its circle in the direction `bearing` from the centre;
// -1 when the arc does not reach it.
double arcFraction(const CArc3d& segment, double bearing) {
    const double swept = segment.acentre();
    const double turn =
        intervalle_2pi(swept > 0 ? bearing - startBearing(segment) : startBearing(segment) - bearing);
    return turn <= std::fabs(swept) ? turn / std::fabs(swept) : -1;
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

std::array<double, 2> arcExtremeFractions(const CArc3d& segment, const CPoint3d& direction) {
    // Along the direction the arc reads M cos(b - a) + climb * f, with b = b0 + swept * f its bearing from
    // the centre: its slope vanishes where sin(b - a) = climb / (M * swept).
    const double swept = segment.acentre();
    const double reach = segment.radius * std::hypot(direction.x, direction.y);
    const double climb = direction.z * (segment.end.z - segment.start.z);
    if (reach * std::fabs(swept) < 1e-300) return {-1, -1};
    const double sine = climb / (reach * swept);
    if (std::fabs(sine) > 1) return {-1, -1};
    const double a = std::atan2(direction.y, direction.x);
    const double turn = std::asin(sine);
    return {arcFraction(segment, a + turn), arcFraction(segment, a + _200rd - turn)};
}

} // namespace poly_curve
