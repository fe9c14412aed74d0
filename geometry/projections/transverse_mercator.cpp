// Transverse Mercator by the series of Snyder: p0 the central longitude, p1 the scale k0 (negative in the
// southern hemisphere, where northings carry a false northing of 10,000 km).
#include "geometry/projections/ctes_proj.h"
#include "geometry/projections/projection_formulas.h"

#include <cmath>
#include <numbers>

namespace geometry::projections {

namespace {

constexpr double kFalseEasting = 500000;
constexpr double kSouthernFalseNorthing = 10000000;

struct Series {
    double a, e2, ep2;
    explicit Series(const Ellipsoide& ellipsoid)
        : a(ellipsoid.a), e2(ellipsoid.e * ellipsoid.e), ep2(e2 / (1 - e2)) {}

    double firstMeridianFactor() const { return 1 - e2 / 4 - 3 * e2 * e2 / 64 - 5 * e2 * e2 * e2 / 256; }

    // Length of the meridian arc from the equator.
    double meridianArc(double phi) const {
        const double e4 = e2 * e2;
        const double e6 = e4 * e2;
        return a *
               (firstMeridianFactor() * phi -
                (3 * e2 / 8 + 3 * e4 / 32 + 45 * e6 / 1024) * std::sin(2 * phi) +
                (15 * e4 / 256 + 45 * e6 / 1024) * std::sin(4 * phi) - (35 * e6 / 3072) * std::sin(6 * phi));
    }
};

// Beyond this many rectifying radii from the central meridian no point of the ellipsoid projects (the bound
// of the exact transverse Mercator): eastings past it are refused rather than answered with absurd
// longitudes.
constexpr double kMaxEasting = 2.623395162778;

} // namespace

int transverseMercatorToXy(const CtesProj& projection, const CPoint3d& geo, CPoint3d& xy) {
    const Series s(*projection.ellipsoid);
    const double k0 = std::fabs(projection.p1);
    const double phi = geo.y;
    const double sinPhi = std::sin(phi);
    const double cosPhi = std::cos(phi);
    const double n = s.a / std::sqrt(1 - s.e2 * sinPhi * sinPhi);
    const double t = std::tan(phi) * std::tan(phi);
    const double c = s.ep2 * cosPhi * cosPhi;
    const double A = aboutMeridian(geo.x - projection.meridian - projection.p0) * cosPhi;
    const double A2 = A * A;
    const double x =
        k0 * n *
        (A + (1 - t + c) * A * A2 / 6 + (5 - 18 * t + t * t + 72 * c - 58 * s.ep2) * A * A2 * A2 / 120);
    double y =
        k0 * (s.meridianArc(phi) + n * std::tan(phi) *
                                       (A2 / 2 + (5 - t + 9 * c + 4 * c * c) * A2 * A2 / 24 +
                                        (61 - 58 * t + t * t + 600 * c - 330 * s.ep2) * A2 * A2 * A2 / 720));
    if (projection.p1 < 0) y += kSouthernFalseNorthing;
    xy.set(x + kFalseEasting, y, geo.z);
    return 1;
}

int transverseMercatorToGeo(const CtesProj& projection, const CPoint3d& xy, CPoint3d& geo) {
    const Series s(*projection.ellipsoid);
    const double k0 = std::fabs(projection.p1);
    const double northing = projection.p1 < 0 ? xy.y - kSouthernFalseNorthing : xy.y;
    const double rectifyingRadius = s.a * s.firstMeridianFactor();
    const double mu = northing / k0 / rectifyingRadius;
    // A northing beyond the pole, or an easting beyond the projection's reach, is no point of the ellipsoid.
    if (!(std::fabs(mu) <= std::numbers::pi / 2) ||
        !(std::fabs(xy.x - kFalseEasting) <= kMaxEasting * k0 * rectifyingRadius))
        return 0;
    const double root = std::sqrt(1 - s.e2);
    const double e1 = (1 - root) / (1 + root);
    const double e1_2 = e1 * e1;
    const double phi1 = mu + (3 * e1 / 2 - 27 * e1 * e1_2 / 32) * std::sin(2 * mu) +
                        (21 * e1_2 / 16 - 55 * e1_2 * e1_2 / 32) * std::sin(4 * mu) +
                        (151 * e1 * e1_2 / 96) * std::sin(6 * mu);
    const double sinPhi1 = std::sin(phi1);
    const double cosPhi1 = std::cos(phi1);
    const double tanPhi1 = std::tan(phi1);
    const double c1 = s.ep2 * cosPhi1 * cosPhi1;
    const double t1 = tanPhi1 * tanPhi1;
    const double w = 1 - s.e2 * sinPhi1 * sinPhi1;
    const double n1 = s.a / std::sqrt(w);
    const double r1 = s.a * (1 - s.e2) / std::pow(w, 1.5);
    const double d = (xy.x - kFalseEasting) / (n1 * k0);
    const double d2 = d * d;
    const double phi = phi1 - (n1 * tanPhi1 / r1) *
                                  (d2 / 2 - (5 + 3 * t1 + 10 * c1 - 4 * c1 * c1 - 9 * s.ep2) * d2 * d2 / 24 +
                                   (61 + 90 * t1 + 298 * c1 + 45 * t1 * t1 - 252 * s.ep2 - 3 * c1 * c1) * d2 *
                                       d2 * d2 / 720);
    const double lambda =
        aboutMeridian(projection.p0 + projection.meridian +
                      (d - (1 + 2 * t1 + c1) * d * d2 / 6 +
                       (5 - 2 * c1 + 28 * t1 - 3 * c1 * c1 + 8 * s.ep2 + 24 * t1 * t1) * d * d2 * d2 / 120) /
                          cosPhi1);
    geo.set(lambda, phi, xy.z);
    return 1;
}

} // namespace geometry::projections
