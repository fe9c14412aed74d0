// Scale factor and meridian convergence at a projected point.
#include "geometry/projections/ctes_proj.h"

#include <cmath>

namespace {

constexpr double kLatitudeStep = 0.001; // radians either side along the meridian

} // namespace

double CtesProj::ProjScale(const CPoint3d& xy, const CPoint3d* geo) {
    double scale = 1;
    if (type() == 'L') {
        CPoint3d computed;
        if (!geo && XyToGeo(xy, computed)) geo = &computed;
        if (geo) scale = p1 * std::hypot(xy.x - p3, xy.y - p4) / (ProjNorm(geo->y) * std::cos(geo->y));
    } else if (type() == 'U' && ellipsoid) {
        scale = std::fabs(p1) / std::cos((xy.x - 500000) / ellipsoid->a);
    }
    return std::isfinite(scale) && scale <= 1.01 && scale >= 0.99 ? scale : 1;
}

// The meridian through the point, drawn by two points just north and south of it: its bearing from grid
// north is the convergence, with the opposite sign.
double CtesProj::AConvergence(const CPoint3d& xy, const CPoint3d* geo) {
    CPoint3d computed;
    if (!geo) {
        if (!XyToGeo(xy, computed)) return 0;
        geo = &computed;
    }
    CPoint3d north;
    CPoint3d south;
    if (!GeoToXy(CPoint3d(geo->x, geo->y + kLatitudeStep, geo->z), north) ||
        !GeoToXy(CPoint3d(geo->x, geo->y - kLatitudeStep, geo->z), south))
        return 0;
    const double towardsNorth = std::atan((north.x - xy.x) / (north.y - xy.y));
    const double towardsSouth = std::atan((south.x - xy.x) / (south.y - xy.y));
    return -(towardsNorth + towardsSouth) / 2;
}
