// Lambert conformal conic: p0 the origin longitude, p1 the cone constant n, p2 the projection constant C,
// p3 the false easting and p4 the northing of the pole.
#include "geometry/projections/ctes_proj.h"
#include "geometry/projections/projection_formulas.h"
#include "services/output/output.h"

#include <cmath>

namespace geometry::projections {

namespace {

constexpr int kMaxRounds = 100;
constexpr double kTolerance = 0.0005;         // metres in y
constexpr double kEarthRadiusGuess = 6365000; // turns a y residual into a latitude step

} // namespace

int lambertToXy(const CtesProj& projection, const CPoint3d& geo, CPoint3d& xy) {
    const double radius = projection.p2 * std::exp(-projection.p1 * projection.LatitudeIso(geo.y));
    const double theta = projection.p1 * ((geo.x - projection.meridian) - projection.p0);
    xy.set(projection.p3 + radius * std::sin(theta), projection.p4 - radius * std::cos(theta), geo.z);
    return 1;
}

// The longitude in closed form; the latitude by walking the forward y onto the given one.
int lambertToGeo(const CtesProj& projection, const CPoint3d& xy, CPoint3d& geo) {
    const double longitude = std::atan((xy.x - projection.p3) / (projection.p4 - xy.y)) / projection.p1 +
                             projection.p0 + projection.meridian;
    CPoint3d trial(longitude, 0, xy.z);
    CPoint3d forward;
    for (int round = 0; round < kMaxRounds; ++round) {
        lambertToXy(projection, trial, forward);
        const double residual = xy.y - forward.y;
        if (std::isnan(residual)) break;
        if (std::fabs(residual) <= kTolerance) {
            geo = trial;
            return 1;
        }
        trial.y += std::atan(residual / kEarthRadiusGuess);
    }
    mprintf("\nTransformation Impossible");
    return 0;
}

} // namespace geometry::projections
