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
// A latitude step below this (6 micrometres on the ground) ends the walk: the step after it would be below
// the rounding of the latitude.
constexpr double kLatitudeTolerance = 1e-9;

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

} // namespace

int lambertToXy(const CtesProj& projection, const CPoint3d& geo, CPoint3d& xy) {
    const double radius = projection.p2 * std::exp(-projection.p1 * projection.LatitudeIso(geo.y));
    const double theta = projection.p1 * aboutMeridian(geo.x - projection.meridian - projection.p0);
    xy.set(projection.p3 + radius * std::sin(theta), projection.p4 - radius * std::cos(theta), geo.z);
    return 1;
}

// The cone radius and angle of the point in closed form (the radius takes the sign of C, so that the angle
// of a southern cone is measured from its own pole); the isometric latitude from the radius; the latitude
// by walking LatitudeIso onto it from the series, with its derivative.
int lambertToGeo(const CtesProj& projection, const CPoint3d& xy, CPoint3d& geo) {
    const double n = projection.p1;
    const double side = projection.p2 < 0 ? -1 : 1;
    const double dx = xy.x - projection.p3;
    const double dy = projection.p4 - xy.y;
    const double radius = std::hypot(dx, dy);
    const double e = projection.ellipsoid ? projection.ellipsoid->e : 0;
    double longitude = projection.p0 + projection.meridian;
    double latitude = n > 0 ? std::numbers::pi / 2 : -std::numbers::pi / 2; // the apex is the pole
    if (radius > 0) {
        longitude += std::atan2(side * dx, side * dy) / n;
        const double iso = -std::log(radius / std::fabs(projection.p2)) / n;
        latitude = latitudeOfIsometric(iso, e);
        for (int round = 0; std::fabs(latitude) < std::numbers::pi / 2; ++round) {
            const double sinPhi = std::sin(latitude);
            const double step = (iso - projection.LatitudeIso(latitude)) * std::cos(latitude) *
                                (1 - e * e * sinPhi * sinPhi) / (1 - e * e);
            if (!std::isfinite(step) || round == kMaxRounds) {
                latitude = NAN;
                break;
            }
            latitude += step;
            if (std::fabs(step) <= kLatitudeTolerance) break;
        }
        if (std::fabs(latitude) >= std::numbers::pi / 2)
            // The pole the cone opens towards lies at an infinite radius: no point reaches it.
            latitude = latitude * n < 0 ? NAN : std::copysign(std::numbers::pi / 2, latitude);
    }
    if (std::isnan(latitude)) {
        mprintf("\nTransformation Impossible");
        return 0;
    }
    geo.set(aboutMeridian(longitude), latitude, xy.z);
    return 1;
}

} // namespace geometry::projections
