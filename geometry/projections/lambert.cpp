// Lambert conformal conic: p0 the origin longitude, p1 the cone constant n, p2 the projection constant C,
// p3 the false easting and p4 the northing of the pole.
#include "geometry/projections/ctes_proj.h"
#include "geometry/projections/projection_formulas.h"
#include "services/output/output.h"

#include <cmath>
#include <numbers>

namespace geometry::projections {

namespace {

constexpr int kMaxRounds = 100;
constexpr double kTolerance = 0.0005;         // metres in y
constexpr double kEarthRadiusGuess = 6365000; // turns a y residual into a latitude step

// The latitude of isometric latitude `iso` on an ellipsoid of eccentricity e: the conformal latitude
// corrected by its series in e squared, a few hundredths of a millimetre off in y.
double latitudeOfIsometric(double iso, double e) {
    const double conformal = 2 * std::atan(std::exp(iso)) - std::numbers::pi / 2;
    const double e2 = e * e, e4 = e2 * e2, e6 = e4 * e2, e8 = e4 * e4;
    const double s2 = std::sin(2 * conformal), c2 = std::cos(2 * conformal);
    const double s4 = 2 * s2 * c2, c4 = 1 - 2 * s2 * s2;
    const double s6 = s4 * c2 + c4 * s2, s8 = 2 * s4 * c4;
    return conformal + (e2 / 2 + 5 * e4 / 24 + e6 / 12 + 13 * e8 / 360) * s2 +
           (7 * e4 / 48 + 29 * e6 / 240 + 811 * e8 / 11520) * s4 + (7 * e6 / 120 + 81 * e8 / 1120) * s6 +
           4279 * e8 / 161280 * s8;
}

// Where the latitude walk starts: the latitude whose cone radius is the point's distance to the pole, so
// that the first forward y is already within the tolerance; the equator when that distance gives none.
double firstLatitude(const CtesProj& projection, const CPoint3d& xy) {
    const double towardsPole = projection.p4 - xy.y;
    if (projection.p1 == 0 || projection.p2 == 0 || (towardsPole > 0) != (projection.p2 > 0)) return 0;
    const double iso =
        -std::log(std::hypot(xy.x - projection.p3, towardsPole) / std::fabs(projection.p2)) / projection.p1;
    const double latitude = latitudeOfIsometric(iso, projection.ellipsoid ? projection.ellipsoid->e : 0);
    return std::isfinite(latitude) ? latitude : 0;
}

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
    CPoint3d trial(longitude, firstLatitude(projection, xy), xy.z);
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
