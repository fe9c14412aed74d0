#pragma once
// The conversions of each projection type, called by CtesProj::GeoToXy and XyToGeo once the input is known
// to be finite. Each answers the result code of those two (0 leaves the output untouched).
#include "geometry/points/point3d.h"

#include <cmath>
#include <numbers>

class CtesProj;

namespace geometry::projections {

int lambertToXy(const CtesProj& projection, const CPoint3d& geo, CPoint3d& xy);
int lambertToGeo(const CtesProj& projection, const CPoint3d& xy, CPoint3d& geo);
int transverseMercatorToXy(const CtesProj& projection, const CPoint3d& geo, CPoint3d& xy);
int transverseMercatorToGeo(const CtesProj& projection, const CPoint3d& xy, CPoint3d& geo);
int localFrameToXy(const CtesProj& projection, const CPoint3d& geo, CPoint3d& xy);
int localFrameToGeo(const CtesProj& projection, const CPoint3d& xy, CPoint3d& geo);
// xy comes in holding the caller's output point, which the out-of-zone message shows.
int swissToXy(const CtesProj& projection, const CPoint3d& geo, CPoint3d& xy);
int swissToGeo(const CtesProj& projection, const CPoint3d& xy, CPoint3d& geo);

// A longitude difference brought into (-pi, pi], so that a point across the antimeridian from the central
// meridian is taken the short way round.
inline double aboutMeridian(double difference) {
    const double wrapped = std::remainder(difference, 2 * std::numbers::pi);
    return wrapped == -std::numbers::pi ? std::numbers::pi : wrapped;
}

// Whether every coordinate is finite.
inline bool isFinite(const CPoint3d& p) {
    return p.x - p.x == 0 && p.y - p.y == 0 && p.z - p.z == 0;
}

} // namespace geometry::projections
