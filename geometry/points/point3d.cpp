#include "geometry/points/point3d.h"

#include "geometry/points/angle_units.h"
#include "geometry/transforms/mat3d.h"

#include <cmath>

using geometry::planLength;

namespace {

// Length along an arc of chord c and bulge b: c * (1 + b^2) * atan(b) / b.
double arcLength(double chord, double bulge) {
    return bulge == 0 ? chord : chord * (1 + bulge * bulge) * std::atan(bulge) / bulge;
}

CPoint3d fromArray(const double* p) {
    return {p[0], p[1], p[2]};
}

} // namespace

CPoint3d::CPoint3d(const Mat3D* m, const CPoint3d& p) : CPoint3d(p) {
    if (m) m->ApplyToPt(this);
}

CPoint3d& CPoint3d::set(double px, double py, double pz) {
    x = px;
    y = py;
    z = pz;
    return *this;
}

CPoint3d& CPoint3d::setPTR(std::int64_t a, std::int64_t b, std::int64_t c) {
    return set(static_cast<double>(a), static_cast<double>(b), static_cast<double>(c));
}

void CPoint3d::setVide() {
    set(_RVIDE, _RVIDE, _RVIDE);
}

int CPoint3d::isNull() const {
    return x == _RVIDE || (x == 0 && y == 0 && z == 0);
}

bool CPoint3d::isEq2dTol(const CPoint3d& p, double tol) const {
    return std::fabs(x - p.x) <= tol && std::fabs(y - p.y) <= tol;
}

bool CPoint3d::isEq3dTol(const CPoint3d& p, double tol) const {
    return isEq2dTol(p, tol) && std::fabs(z - p.z) <= tol;
}

CPoint3d& CPoint3d::operator+=(const CPoint3d& p) {
    return *this = *this + p;
}

CPoint3d& CPoint3d::operator-=(const CPoint3d& p) {
    return *this = *this - p;
}

CPoint3d& CPoint3d::operator*=(double s) {
    return *this = *this * s;
}

CPoint3d& CPoint3d::operator/=(double s) {
    return *this = *this / s;
}

CPoint3d CPoint3d::crossProduct(const CPoint3d& p) const {
    return {y * p.z - z * p.y, z * p.x - x * p.z, x * p.y - y * p.x};
}

CPoint3d& CPoint3d::normalize() {
    const double length = dist3d();
    if (length > 1e-6) *this /= length;
    return *this;
}

double CPoint3d::dist2d() const {
    return std::sqrt(x * x + y * y);
}

double CPoint3d::dist3d() const {
    return std::sqrt(x * x + y * y + z * z);
}

double CPoint3d::dist2dTo(const CPoint3d& p, double bulge) const {
    if (x == _RVIDE || p.x == _RVIDE) return 0;
    return arcLength(planLength(p.x - x, p.y - y), bulge);
}

double CPoint3d::dist2dTo(const double* p, double bulge) const {
    return dist2dTo(fromArray(p), bulge);
}

double CPoint3d::dist3dTo(const CPoint3d& p, double bulge) const {
    const double h = arcLength(planLength(p.x - x, p.y - y), bulge);
    const double dz = (z != 0 && p.z != 0) ? z - p.z : 0;
    return dz == 0 ? h : std::sqrt(h * h + dz * dz);
}

double CPoint3d::dist3dTo(const double* p, double bulge) const {
    return dist3dTo(fromArray(p), bulge);
}

double CPoint3d::gisTo(const CPoint3d& p, double* dist) const {
    const double dx = p.x - x;
    const double dy = p.y - y;
    if (dist) *dist = planLength(dx, dy);
    if (dx == 0 && dy == 0) return 0;
    const double g = std::atan2(dy, dx);
    return g < 0 ? g + _400rd : g;
}

CPoint3d CPoint3d::polar(double angle, double dist) const {
    return {x + dist * std::cos(angle), y + dist * std::sin(angle), z};
}

void CPoint3d::polar(double angle, double dist, CPoint3d& out) const {
    out = polar(angle, dist);
}

CPoint3d CPoint3d::milieu(const CPoint3d& p, double bulge) const {
    CPoint3d m((x + p.x) / 2, (y + p.y) / 2, (z != 0 && p.z != 0) ? (z + p.z) / 2 : 0);
    if (bulge != 0) {
        // The half chord turned a right angle clockwise and scaled by the bulge is the sagitta.
        const double mx = m.x;
        m.x = mx + (m.y - y) * bulge;
        m.y = m.y - (mx - x) * bulge;
    }
    return m;
}

CPoint3d CPoint3d::baryCentre(const CPoint3d& p, const CPoint3d& q) const {
    return (*this + p + q) / 3;
}

double CPoint3d::surf3dTo(const CPoint3d& p, const CPoint3d& q) const {
    const double a = dist3dTo(p);
    const double b = p.dist3dTo(q);
    const double c = q.dist3dTo(*this);
    const double s = a + b + c;
    // Heron's product of a flat triangle can come out a few units below 0 by rounding: its area is 0.
    const double product = (s - 2 * a) * s * (s - 2 * b) * (s - 2 * c);
    return product > 0 ? std::sqrt(product) / 4 : 0;
}
