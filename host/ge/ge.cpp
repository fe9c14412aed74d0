#include "host/ge/ge.h"

#include <algorithm>
#include <numbers>

AcGeTol AcGeContext::gTol;
const AcGePoint2d AcGePoint2d::kOrigin;
const AcGePoint3d AcGePoint3d::kOrigin;
const AcGeVector3d AcGeVector3d::kIdentity(1, 1, 1);
const AcGeVector3d AcGeVector3d::kXAxis(1, 0, 0);
const AcGeVector3d AcGeVector3d::kYAxis(0, 1, 0);
const AcGeVector3d AcGeVector3d::kZAxis(0, 0, 1);
const AcGeMatrix3d AcGeMatrix3d::kIdentity;
const AcGePlane AcGePlane::kXYPlane;

double AcGeVector2d::angle() const {
    double a = std::atan2(y, x);
    return a < 0 ? a + 2 * std::numbers::pi : a;
}

AcGeVector3d AcGeVector3d::normal(const AcGeTol& tol) const {
    double l = length();
    return l <= tol.equalVector() ? AcGeVector3d() : *this / l;
}

AcGeVector3d AcGeVector3d::perpVector() const {
    return host::ocsXAxis(normal());
}

AcGeVector3d& AcGeVector3d::transformBy(const AcGeMatrix3d& m) {
    const auto& e = m.entry;
    return *this = {e[0][0] * x + e[0][1] * y + e[0][2] * z, e[1][0] * x + e[1][1] * y + e[1][2] * z,
                    e[2][0] * x + e[2][1] * y + e[2][2] * z};
}

AcGePoint3d& AcGePoint3d::transformBy(const AcGeMatrix3d& m) {
    const auto& e = m.entry;
    return *this = {e[0][0] * x + e[0][1] * y + e[0][2] * z + e[0][3],
                    e[1][0] * x + e[1][1] * y + e[1][2] * z + e[1][3],
                    e[2][0] * x + e[2][1] * y + e[2][2] * z + e[2][3]};
}

AcGeMatrix3d::AcGeMatrix3d() {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            entry[r][c] = r == c ? 1.0 : 0.0;
}

AcGeMatrix3d AcGeMatrix3d::operator*(const AcGeMatrix3d& m) const {
    AcGeMatrix3d p;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            double s = 0;
            for (int k = 0; k < 4; ++k)
                s += entry[r][k] * m.entry[k][c];
            p.entry[r][c] = s;
        }
    return p;
}

double AcGeMatrix3d::det() const {
    const auto& e = entry;
    return e[0][0] * (e[1][1] * e[2][2] - e[1][2] * e[2][1]) -
           e[0][1] * (e[1][0] * e[2][2] - e[1][2] * e[2][0]) +
           e[0][2] * (e[1][0] * e[2][1] - e[1][1] * e[2][0]);
}

AcGeMatrix3d AcGeMatrix3d::inverse() const {
    // Affine inverse: invert the 3x3 part, then the translation.
    const auto& e = entry;
    double d = det();
    AcGeMatrix3d r;
    if (d == 0) return r;
    r.entry[0][0] = (e[1][1] * e[2][2] - e[1][2] * e[2][1]) / d;
    r.entry[0][1] = (e[0][2] * e[2][1] - e[0][1] * e[2][2]) / d;
    r.entry[0][2] = (e[0][1] * e[1][2] - e[0][2] * e[1][1]) / d;
    r.entry[1][0] = (e[1][2] * e[2][0] - e[1][0] * e[2][2]) / d;
    r.entry[1][1] = (e[0][0] * e[2][2] - e[0][2] * e[2][0]) / d;
    r.entry[1][2] = (e[0][2] * e[1][0] - e[0][0] * e[1][2]) / d;
    r.entry[2][0] = (e[1][0] * e[2][1] - e[1][1] * e[2][0]) / d;
    r.entry[2][1] = (e[0][1] * e[2][0] - e[0][0] * e[2][1]) / d;
    r.entry[2][2] = (e[0][0] * e[1][1] - e[0][1] * e[1][0]) / d;
    for (int i = 0; i < 3; ++i)
        r.entry[i][3] = -(r.entry[i][0] * e[0][3] + r.entry[i][1] * e[1][3] + r.entry[i][2] * e[2][3]);
    return r;
}

bool AcGeMatrix3d::isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol) const {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (std::abs(entry[r][c] - m.entry[r][c]) > tol.equalVector()) return false;
    return true;
}

bool AcGeMatrix3d::operator==(const AcGeMatrix3d& m) const {
    return std::equal(&entry[0][0], &entry[0][0] + 16, &m.entry[0][0]);
}

double AcGeMatrix3d::scale() const {
    return AcGeVector3d(entry[0][0], entry[1][0], entry[2][0]).length();
}

AcGeMatrix3d AcGeMatrix3d::translation(const AcGeVector3d& v) {
    AcGeMatrix3d m;
    m.entry[0][3] = v.x;
    m.entry[1][3] = v.y;
    m.entry[2][3] = v.z;
    return m;
}

AcGeMatrix3d AcGeMatrix3d::rotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center) {
    AcGeVector3d u = axis.normal();
    double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
    AcGeMatrix3d m;
    m.entry[0][0] = t * u.x * u.x + c;
    m.entry[0][1] = t * u.x * u.y - s * u.z;
    m.entry[0][2] = t * u.x * u.z + s * u.y;
    m.entry[1][0] = t * u.x * u.y + s * u.z;
    m.entry[1][1] = t * u.y * u.y + c;
    m.entry[1][2] = t * u.y * u.z - s * u.x;
    m.entry[2][0] = t * u.x * u.z - s * u.y;
    m.entry[2][1] = t * u.y * u.z + s * u.x;
    m.entry[2][2] = t * u.z * u.z + c;
    return translation(center.asVector()) * m * translation(-center.asVector());
}

AcGeMatrix3d AcGeMatrix3d::scaling(double factor, const AcGePoint3d& center) {
    AcGeMatrix3d m;
    for (int i = 0; i < 3; ++i)
        m.entry[i][i] = factor;
    return translation(center.asVector()) * m * translation(-center.asVector());
}

AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGePoint3d& point, const AcGeVector3d& normal) {
    AcGeVector3d n = normal.normal();
    double v[3] = {n.x, n.y, n.z};
    AcGeMatrix3d m;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            m.entry[r][c] = (r == c ? 1.0 : 0.0) - 2 * v[r] * v[c];
    return translation(point.asVector()) * m * translation(-point.asVector());
}

AcGeMatrix3d AcGeMatrix3d::alignCoordSys(const AcGePoint3d& fromOrigin, const AcGeVector3d& fromX,
                                         const AcGeVector3d& fromY, const AcGeVector3d& fromZ,
                                         const AcGePoint3d& toOrigin, const AcGeVector3d& toX,
                                         const AcGeVector3d& toY, const AcGeVector3d& toZ) {
    auto frame = [](const AcGePoint3d& o, const AcGeVector3d& x, const AcGeVector3d& y,
                    const AcGeVector3d& z) {
        AcGeMatrix3d m;
        const AcGeVector3d* axes[3] = {&x, &y, &z};
        for (int c = 0; c < 3; ++c) {
            m.entry[0][c] = axes[c]->x;
            m.entry[1][c] = axes[c]->y;
            m.entry[2][c] = axes[c]->z;
        }
        m.entry[0][3] = o.x;
        m.entry[1][3] = o.y;
        m.entry[2][3] = o.z;
        return m;
    };
    return frame(toOrigin, toX, toY, toZ) * frame(fromOrigin, fromX, fromY, fromZ).inverse();
}

AcGeMatrix3d AcGeMatrix3d::planeToWorld(const AcGeVector3d& normal) {
    AcGeVector3d z = normal.normal();
    if (z.isZeroLength()) return AcGeMatrix3d();
    AcGeVector3d x = host::ocsXAxis(z);
    AcGeVector3d y = z.crossProduct(x);
    return alignCoordSys(AcGePoint3d::kOrigin, AcGeVector3d::kXAxis, AcGeVector3d::kYAxis,
                         AcGeVector3d::kZAxis, AcGePoint3d::kOrigin, x, y, z);
}

AcGePlane::AcGePlane() : AcGePlane(AcGePoint3d::kOrigin, AcGeVector3d::kZAxis) {}

AcGePlane::AcGePlane(const AcGePoint3d& origin, const AcGeVector3d& normal) {
    set(origin, normal);
}

AcGePlane::AcGePlane(const AcGePoint3d& origin, const AcGeVector3d& uAxis, const AcGeVector3d& vAxis)
    : m_origin(origin), m_xAxis(uAxis.normal()), m_normal(uAxis.crossProduct(vAxis).normal()) {
    m_yAxis = m_normal.crossProduct(m_xAxis);
}

AcGePlane& AcGePlane::set(const AcGePoint3d& origin, const AcGeVector3d& normal) {
    m_origin = origin;
    m_normal = normal.normal();
    m_xAxis = host::ocsXAxis(m_normal);
    m_yAxis = m_normal.crossProduct(m_xAxis);
    return *this;
}

void AcGePlane::getCoordSystem(AcGePoint3d& origin, AcGeVector3d& xAxis, AcGeVector3d& yAxis) const {
    origin = m_origin;
    xAxis = m_xAxis;
    yAxis = m_yAxis;
}

namespace host {
AcGeVector3d ocsXAxis(const AcGeVector3d& normal) {
    // Drawing files derive the x axis of an entity's plane from its normal alone.
    constexpr double limit = 1.0 / 64;
    AcGeVector3d n = normal.normal();
    AcGeVector3d x = std::abs(n.x) < limit && std::abs(n.y) < limit ? AcGeVector3d::kYAxis.crossProduct(n)
                                                                    : AcGeVector3d::kZAxis.crossProduct(n);
    return x.normal();
}

AcGeVector3d transformedNormal(const AcGeVector3d& normal, const AcGeMatrix3d& xform) {
    AcGeVector3d t = AcGeVector3d(normal).transformBy(xform).normal();
    return t.isZeroLength() ? AcGeVector3d::kZAxis : t;
}
} // namespace host
