#include "host/ge/curve_geometry.h"

#include <algorithm>
#include <numbers>

namespace host {
namespace {
constexpr int kMaxChords = 4096;
} // namespace

double normalizeAngle(double a) {
    a = std::fmod(a, kTwoPi);
    return a < 0 ? a + kTwoPi : a;
}

double sweepAngle(double start, double end) {
    double s = normalizeAngle(end - start);
    return s == 0 ? kTwoPi : s;
}

int chordCount(double radius, double sweep, double deviation) {
    radius = std::abs(radius);
    sweep = std::abs(sweep);
    double step = !(deviation > 0) || radius <= deviation ? std::numbers::pi / 8
                                                          : 2 * std::acos(1 - deviation / radius);
    // Counted in doubles and bounded before the conversion: a huge radius gives a step of 0.
    double count = step > 0 ? std::ceil(sweep / step) : kMaxChords;
    if (!(count >= 1)) return 1;
    return static_cast<int>(std::min(count, static_cast<double>(kMaxChords)));
}

void bulgeArc(const AcGePoint2d& a, const AcGePoint2d& b, double bulge, AcGePoint2d& center, double& radius) {
    double chord = a.distanceTo(b);
    double theta = 4 * std::atan(bulge);
    radius = chord / (2 * std::sin(std::abs(theta) / 2));
    AcGePoint2d mid((a.x + b.x) / 2, (a.y + b.y) / 2);
    // Distance from the chord's middle to the centre, on the left of a->b for a positive bulge.
    double h = chord > 0 ? (chord / 2) * (1 - bulge * bulge) / (2 * bulge) : 0;
    AcGeVector2d u = chord > 0 ? (b - a) * (1 / chord) : AcGeVector2d(1, 0);
    AcGeVector2d left(-u.y, u.x);
    center = mid + left * h;
}

AcGePoint2d bulgeSegmentNearest(const AcGePoint2d& a, const AcGePoint2d& b, double bulge,
                                const AcGePoint2d& p) {
    const AcGeVector2d ab = b - a;
    const double chord2 = ab.dotProduct(ab);
    if (chord2 == 0) return a;
    if (bulge == 0) return a + ab * std::clamp((p - a).dotProduct(ab) / chord2, 0.0, 1.0);
    AcGePoint2d center;
    double radius = 0;
    bulgeArc(a, b, bulge, center, radius);
    const double sweep = 4 * std::atan(bulge);
    // The angle from the start towards p in the arc's own turning sense: inside the sweep, the foot on the
    // circle; outside it, the nearer end.
    const double turn = normalizeAngle(
        (std::atan2(p.y - center.y, p.x - center.x) - std::atan2(a.y - center.y, a.x - center.x)) *
        (sweep > 0 ? 1 : -1));
    const AcGeVector2d outwards = p - center;
    if (turn <= std::abs(sweep) && outwards.length() > 0)
        return center + outwards * (radius / outwards.length());
    return p.distanceTo(a) <= p.distanceTo(b) ? a : b;
}

double bulgeSegmentLength(const AcGePoint2d& a, const AcGePoint2d& b, double bulge) {
    double chord = a.distanceTo(b);
    if (bulge == 0 || chord == 0) return chord;
    double theta = 4 * std::atan(bulge);
    return std::abs(theta) * chord / (2 * std::sin(std::abs(theta) / 2));
}

AcGePoint2d bulgeSegmentPoint(const AcGePoint2d& a, const AcGePoint2d& b, double bulge, double t) {
    if (bulge == 0 || a.isEqualTo(b)) return a + (b - a) * t;
    AcGePoint2d center;
    double radius = 0;
    bulgeArc(a, b, bulge, center, radius);
    double angle = std::atan2(a.y - center.y, a.x - center.x) + 4 * std::atan(bulge) * t;
    return {center.x + radius * std::cos(angle), center.y + radius * std::sin(angle)};
}

void appendBulgeSegment(AcGePoint3dArray& points, const AcGePoint3d& a, const AcGePoint3d& b, double bulge,
                        double deviation) {
    points.append(a);
    if (bulge == 0 || a.convert2d().isEqualTo(b.convert2d())) return;
    AcGePoint2d center;
    double radius = 0;
    bulgeArc(a.convert2d(), b.convert2d(), bulge, center, radius);
    double theta = 4 * std::atan(bulge);
    int n = chordCount(radius, theta, deviation);
    double start = std::atan2(a.y - center.y, a.x - center.x);
    for (int i = 1; i < n; ++i) {
        double t = static_cast<double>(i) / n;
        double angle = start + theta * t;
        points.append(AcGePoint3d(center.x + radius * std::cos(angle), center.y + radius * std::sin(angle),
                                  a.z + (b.z - a.z) * t));
    }
}

void appendPlaneArc(AcGePoint3dArray& points, const AcGePoint3d& center, const AcGeVector3d& normal,
                    double radius, double startAngle, double sweep, double deviation) {
    AcGeVector3d x = ocsXAxis(normal), y = normal.normal().crossProduct(x);
    int n = chordCount(radius, sweep, deviation);
    for (int i = 0; i <= n; ++i) {
        double angle = startAngle + sweep * i / n;
        points.append(center + x * (radius * std::cos(angle)) + y * (radius * std::sin(angle)));
    }
}

double planeAngle(const AcGePoint3d& center, const AcGeVector3d& normal, const AcGePoint3d& point) {
    AcGeVector3d x = ocsXAxis(normal), y = normal.normal().crossProduct(x);
    AcGeVector3d d = point - center;
    return normalizeAngle(std::atan2(d.dotProduct(y), d.dotProduct(x)));
}

} // namespace host
