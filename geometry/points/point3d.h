#pragma once
// CPoint3d: a point or vector of three doubles, the value type all geometry of the system rests on.
//
// Its layout is shared with the plug-in, which reads and writes x, y and z directly, and with the host's
// point and vector types (three doubles), which convert to and from it member by member.
#include <algorithm>
#include <cmath>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <type_traits>

class Mat3D;
class CPoint3d;

// A point or vector type of the CAD host: three public doubles x, y, z and nothing else. The host layer's
// types satisfy it, so the geometry needs no host header (conversions are member-wise copies).
template <class P>
concept HostPoint3d = !std::same_as<std::remove_cv_t<P>, CPoint3d> && std::is_standard_layout_v<P> &&
                      sizeof(P) == 3 * sizeof(double) && requires(const P& p) {
    requires std::same_as<decltype(p.x), double>;
    requires std::same_as<decltype(p.y), double>;
    requires std::same_as<decltype(p.z), double>;
};

class CPoint3d {
public:
    double x = 0;
    double y = 0;
    double z = 0;

    CPoint3d() = default;
    CPoint3d(double px, double py, double pz) : x(px), y(py), z(pz) {}
    template <HostPoint3d P> CPoint3d(const P& p) : x(p.x), y(p.y), z(p.z) {}
    // p mapped by m (Mat3D::ApplyToPt), or p itself when m is null.
    CPoint3d(const Mat3D* m, const CPoint3d& p);
    template <HostPoint3d P> CPoint3d(const Mat3D* m, const P& p) : CPoint3d(m, CPoint3d(p)) {}

    template <HostPoint3d P> CPoint3d& operator=(const P& p) { return set(p.x, p.y, p.z); }
    // The same coordinates as a host point or vector.
    template <HostPoint3d P>
    requires std::constructible_from<P, double, double, double>
    operator P() const { return P(x, y, z); }

    CPoint3d& set(double px, double py, double pz);
    // Three integers (handles, addresses) carried as coordinates.
    CPoint3d& setPTR(std::int64_t a, std::int64_t b, std::int64_t c);
    // An empty point has x equal to _RVIDE.
    void setVide();
    // 1 when empty or when x, y and z are all exactly 0.
    int isNull() const;

    // The i-th coordinate: 0 x, 1 y, anything else z.
    double& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
    double operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }

    bool operator==(const CPoint3d& p) const = default;
    bool isEq3d(const CPoint3d& p) const { return *this == p; }
    bool isEq2d(const CPoint3d& p) const { return x == p.x && y == p.y; }
    bool isEq2dTol(const CPoint3d& p, double tol) const;
    bool isEq3dTol(const CPoint3d& p, double tol) const;

    CPoint3d operator+(const CPoint3d& p) const { return {x + p.x, y + p.y, z + p.z}; }
    CPoint3d operator-(const CPoint3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
    CPoint3d& operator+=(const CPoint3d& p);
    CPoint3d& operator-=(const CPoint3d& p);
    CPoint3d operator*(double s) const { return {x * s, y * s, z * s}; }
    CPoint3d operator/(double s) const { return {x / s, y / s, z / s}; }
    CPoint3d& operator*=(double s);
    CPoint3d& operator/=(double s);
    // Component-wise product and quotient.
    CPoint3d operator*(const CPoint3d& p) const { return {x * p.x, y * p.y, z * p.z}; }
    CPoint3d operator/(const CPoint3d& p) const { return {x / p.x, y / p.y, z / p.z}; }

    double scalarProduct(const CPoint3d& p) const { return x * p.x + y * p.y + z * p.z; }
    CPoint3d crossProduct(const CPoint3d& p) const;
    // Divides by the length only when it exceeds 1e-6.
    CPoint3d& normalize();

    double dist2d() const;
    double dist3d() const;
    // Horizontal distance to p, the arc length when bulge is not 0; 0 from or to an empty point.
    double dist2dTo(const CPoint3d& p, double bulge = 0) const;
    double dist2dTo(const double* p, double bulge = 0) const;
    // Distance in space; a z of exactly 0 on either side stands for a point without height.
    double dist3dTo(const CPoint3d& p, double bulge = 0) const;
    double dist3dTo(const double* p, double bulge = 0) const;
    // Direction to p in [0, 2*pi), counter-clockwise from +x; 0 to the same point. `dist` receives the
    // horizontal distance.
    double gisTo(const CPoint3d& p, double* dist = nullptr) const;
    CPoint3d polar(double angle, double dist) const;
    void polar(double angle, double dist, CPoint3d& out) const;
    // Point at mid-length of the segment or arc to p.
    CPoint3d milieu(const CPoint3d& p, double bulge = 0) const;
    CPoint3d baryCentre(const CPoint3d& p, const CPoint3d& q) const;
    // Area of the triangle (this, p, q) in space.
    double surf3dTo(const CPoint3d& p, const CPoint3d& q) const;
};

static_assert(sizeof(CPoint3d) == 24);
static_assert(offsetof(CPoint3d, x) == 0 && offsetof(CPoint3d, y) == 8 && offsetof(CPoint3d, z) == 16);
static_assert(std::is_standard_layout_v<CPoint3d> && std::is_trivially_copyable_v<CPoint3d>);

namespace geometry {

// Length of (dx, dy); beyond 1e199 the squares would overflow, so the components are scaled first. Inline:
// the walks over long polylines call it once per segment.
inline double planLength(double dx, double dy) {
    const double c = std::sqrt(dx * dx + dy * dy);
    if (!(c > 1e199)) return c;
    const double m = std::max(std::fabs(dx), std::fabs(dy));
    return m * std::sqrt((dx / m) * (dx / m) + (dy / m) * (dy / m));
}

} // namespace geometry
