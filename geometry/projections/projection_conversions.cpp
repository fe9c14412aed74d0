// Geographic to projected coordinates and back: the dispatch on the type letter, and the types whose
// formulas fit in a line (scaled geographic, Mercator on the sphere).
#include "geometry/projections/ctes_proj.h"
#include "geometry/projections/projection_formulas.h"

#include <cmath>
#include <numbers>

using namespace geometry::projections;

namespace {

bool isSwiss(const CtesProj& projection) {
    return projection.type() == 'C' && (projection.name[1] == 'H' || projection.name[1] == 'h');
}

// PROJ's bounds of a geographic point: a latitude past a pole by more than rounding, or a longitude of more
// than 10 radians, is no point at all.
constexpr double kLatitudeSlack = 1e-12;
constexpr double kMaxLongitude = 10;

bool isGeographic(const CPoint3d& geo) {
    return isFinite(geo) && std::fabs(geo.y) <= std::numbers::pi / 2 + kLatitudeSlack &&
           std::fabs(geo.x) <= kMaxLongitude;
}

// Commits a result only when it is finite, so that a failure leaves the caller's point untouched.
int commit(int result, const CPoint3d& computed, CPoint3d& out) {
    if (result == 0 || !isFinite(computed)) return 0;
    out = computed;
    return result;
}

// An inverse also answers only a latitude between the poles.
int commitGeographic(int result, const CPoint3d& computed, CPoint3d& geo) {
    return isGeographic(computed) ? commit(result, computed, geo) : 0;
}

} // namespace

int CtesProj::GeoToXy(const CPoint3d& geo, CPoint3d& xy) {
    if (!ellipsoid || !isGeographic(geo)) return 0;
    CPoint3d out;
    const double a = ellipsoid->a;
    switch (type()) {
    case 'G':
        return commit(1, {(geo.x - meridian - p0) / p1, geo.y / p1, geo.z}, xy);
    case 'L':
        return commit(lambertToXy(*this, geo, out), out, xy);
    case 'M':
        return commit(
            1, {a * GisEcartRD(geo.x - meridian), a * std::log(1 / std::cos(geo.y) + std::tan(geo.y)), geo.z},
            xy);
    case 'U':
        return commit(transverseMercatorToXy(*this, geo, out), out, xy);
    case 'E':
        return commit(localFrameToXy(*this, geo, out), out, xy);
    default:
        if (!isSwiss(*this)) return 0;
        out = xy; // its out-of-zone message shows the caller's point as it came in
        return commit(swissToXy(*this, geo, out), out, xy);
    }
}

int CtesProj::XyToGeo(const CPoint3d& xy, CPoint3d& geo) {
    if (!ellipsoid || !isFinite(xy)) return 0;
    CPoint3d out;
    const double a = ellipsoid->a;
    switch (type()) {
    case 'G':
        return commitGeographic(1, {xy.x * p1 + p0 + meridian, xy.y * p1, xy.z}, geo);
    case 'L':
        return commitGeographic(lambertToGeo(*this, xy, out), out, geo);
    case 'M':
        return commitGeographic(1, {xy.x / a + meridian, std::atan(std::sinh(xy.y / a)), xy.z}, geo);
    case 'U':
        return commitGeographic(transverseMercatorToGeo(*this, xy, out), out, geo);
    case 'E':
        return commitGeographic(localFrameToGeo(*this, xy, out), out, geo);
    default:
        // The outside library answers for its own zone.
        return isSwiss(*this) ? commit(swissToGeo(*this, xy, out), out, geo) : 0;
    }
}

double CtesProj::LatitudeIso(double latitude) const {
    // The limits at the poles: tan(pi/4 + phi/2) of the rounded pi/2 would stay finite.
    if (std::fabs(latitude) >= std::numbers::pi / 2) return std::copysign(HUGE_VAL, latitude);
    const double e = ellipsoid ? ellipsoid->e : 0;
    const double es = e * std::sin(latitude);
    return std::log(std::tan(std::numbers::pi / 4 + latitude / 2) * std::pow((1 - es) / (1 + es), e / 2));
}

double CtesProj::ProjNorm(double latitude) const {
    return ellipsoid ? Ellipsoide::getRayonN(ellipsoid->a, ellipsoid->e, std::sin(latitude)) : 0;
}
