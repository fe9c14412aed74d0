// Intersections in plan of two segments, straight or arcs.
#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_helpers.h"
#include "geometry/points/angle_units.h"

#include <cmath>

namespace {

// Where a point lies along a segment: off it, inside, or snapped to one of its ends.
enum Position { kOff = -1, kInside = 0, kAtStart = 2, kAtEnd = 4 };

Position positionAlong(double m, double length) {
    if (!(m > -_ecpt && m < length + _ecpt)) return kOff;
    if (std::fabs(m) < _ecpt) return kAtStart;
    if (std::fabs(m - length) < _ecpt) return kAtEnd;
    return kInside;
}

// Height at `fraction` of a segment: 0 unless both ends have one (or `always`).
double heightAlong(const CArc3d& s, double fraction, bool always) {
    if (!always && (s.start.z == 0 || s.end.z == 0)) return 0;
    return s.start.z + (s.end.z - s.start.z) * (std::isfinite(fraction) ? fraction : 0);
}

CPoint3d g_intersections[2];

// Directions differing by pi come out of atan2 with a rounding error whose sine is a few 1e-16, not 0: such
// lines would "meet" some 1e16 away. Below this sine lines are parallel.
bool parallel(double a1, double a2) {
    return std::fabs(std::sin(a1 - a2)) < 1e-14;
}

} // namespace

CPoint3d inters(const CPoint3d* p1, double a1, const CPoint3d* p2, double a2, double* dist) {
    double d = 0;
    const double g = p1->gisTo(*p2, &d);
    const double f = parallel(a1, a2) ? 1e8 : std::sin(g - a2) * d / std::sin(a1 - a2);
    if (dist) *dist = f;
    return p1->polar(a1, f);
}

int CArc3d::intersectWith(CArc3d* other, CPoint3d*& pts, char* codes) {
    if (!pts) pts = g_intersections;
    if (!other) return 0;
    if (radius == 0 && other->radius == 0) return intersectStraights(*other, pts, codes);
    // ptprox must work in plan here: both working systems are set aside and this one's applied at the end.
    Mat3D* const ownSystem = pMat;
    Mat3D* const otherSystem = other->pMat;
    pMat = other->pMat = nullptr;
    const int found = intersectArcs(*other, pts, codes, ownSystem != nullptr);
    pMat = ownSystem;
    other->pMat = otherSystem;
    if (pMat)
        for (int i = 0; i < found; ++i)
            pMat->ApplyToPtInv(&pts[i]);
    return found;
}

int CArc3d::intersectStraights(const CArc3d& other, CPoint3d* pts, char* codes) const {
    if (parallel(chordGis, other.chordGis)) return 0;
    double m = 0;
    CPoint3d x = inters(&start, chordGis, &other.start, other.chordGis, &m);
    x.z = 0;
    const bool heights = pMat || (start.z != 0 && end.z != 0);
    const Position onThis = positionAlong(m, chord);
    if (onThis == kAtStart)
        x = start;
    else if (onThis == kAtEnd)
        x = end;
    else if (onThis == kInside || (codes && (codes[0] == 0 || (codes[0] & 2))))
        x.z = heights ? heightAlong(*this, m / chord, true) : 0;

    // Along the other segment's dominant axis.
    const double dx = other.end.x - other.start.x;
    const double dy = other.end.y - other.start.y;
    const bool alongX = std::fabs(dx) >= std::fabs(dy);
    const double axisLength = alongX ? dx : dy;
    const double axisOffset = alongX ? x.x - other.start.x : x.y - other.start.y;
    const double fraction = axisOffset / axisLength;
    const Position onOther = positionAlong(axisLength < 0 ? -axisOffset : axisOffset, std::fabs(axisLength));
    if (onOther == kAtStart) x = other.start;
    if ((codes && (codes[1] & 2)) || (onOther != kOff && x.z == 0)) x.z = heightAlong(other, fraction, false);

    const bool filtered = codes && ((codes[0] && onThis == kOff) || (codes[1] && onOther == kOff));
    if (codes) {
        codes[0] = static_cast<char>(onThis + 1);
        codes[1] = static_cast<char>(onOther + 1);
    }
    if (filtered) return 0;
    if (pMat) pMat->ApplyToPtInv(&x);
    pts[0] = x;
    return 1;
}

int CArc3d::intersectArcs(CArc3d& other, CPoint3d* pts, char* codes, bool hasSystem) {
    // Candidates on the arc's circle: round `circle` at `r`, in the directions f + e and f - e.
    const CArc3d& circle = radius != 0 ? *this : other;
    const double r = circle.radius;
    double f = 0;
    double e = 0;
    if (radius != 0 && other.radius != 0) {
        double o = 0;
        f = centre.gisTo(other.centre, &o);
        const double R = radius;
        const double rOther = other.radius;
        if (o > R + rOther + 2 * _ecpt || o < std::fabs(R - rOther) - 2 * _ecpt || o < _ecpt) return 0;
        if (std::fabs(R - rOther) <= o && o <= R + rOther)
            e = geometry::clampedAcos((R * R + o * o - rOther * rOther) / (2 * o * R));
        // Circles touching but for rounding would give the touching point twice, a hair apart.
        if (2 * R * std::sin(e) < _ecpt) e = 0;
    } else {
        CArc3d& line = radius != 0 ? other : *this;
        CPoint3d foot;
        double a = 0;
        line.ptprox(circle.centre, foot, nullptr, &a, 0, 0);
        f = line.chordGis + _100rd;
        if (a < 0) {
            f -= _200rd;
            a = -a;
        }
        if (a > r + _ecpt) return 0;
        if (a < r - _ecpt) e = geometry::clampedAcos(a / r);
    }

    const int candidates = e == 0 ? 1 : 2;
    int kept = 0;
    char onThisMask = 0;
    char onOtherMask = 0;
    for (int i = 0; i < candidates; ++i) {
        CPoint3d candidate = circle.centre.polar(i == 0 ? f + e : f - e, r);
        CPoint3d footThis, footOther;
        const bool onThis = ptprox(candidate, footThis, nullptr, nullptr, 0, 0) != 0;
        const bool onOther = other.ptprox(footThis, footOther, nullptr, nullptr, 0, 0) != 0;
        if (codes && ((codes[0] && !onThis) || (codes[1] && !onOther))) continue;
        if (!onThis && !hasSystem) footThis.z = 0;
        if (footThis.z == 0 && onOther) footThis.z = footOther.z;
        if (onThis) onThisMask |= static_cast<char>(1 << kept);
        if (onOther) onOtherMask |= static_cast<char>(1 << kept);
        pts[kept++] = footThis;
    }
    if (codes) {
        codes[0] = onThisMask;
        codes[1] = onOtherMask;
    }
    return kept;
}
