#include "geometry/arcs/arc3d.h"

#include "geometry/points/angle_helpers.h"
#include "geometry/points/angle_units.h"
#include "geometry/points/vertex.h"

#include <cmath>

using geometry::signOf;

namespace {

bool bothHaveHeights(const CPoint3d& a, const CPoint3d& b) {
    return a.z != 0 && b.z != 0;
}

// 4 * area / chord^2 of the triangle (start, middle, end) in plan: the bulge of the arc through them.
double bulgeThrough(const CPoint3d& s, const CPoint3d& m, const CPoint3d& e) {
    return ((m.y - e.y) * s.x + (e.y - s.y) * m.x + (s.y - m.y) * e.x) * 2 /
           ((s.y - e.y) * (s.y - e.y) + (s.x - e.x) * (s.x - e.x) + 1e-10);
}

} // namespace

CArc3d::CArc3d()
    : chord(0), radius(0), bulge(0), chordGis(0), startGis(0), endGis(0), aux(0), pMat(nullptr) {}

CArc3d::CArc3d(const CPoint3d& p1, const CPoint3d& p2, const CPoint3d& p3, double* gisMid) : CArc3d() {
    set(p1, p2, p3, gisMid);
}

CArc3d::CArc3d(const CPoint3d& p1, const CPoint3d& p2, const double& bulgeValue) : CArc3d() {
    set(p1, p2, bulgeValue);
}

CArc3d::CArc3d(const CPoint3d& p, double angle, double dist) : CArc3d() {
    set(p, angle, dist);
}

CArc3d::CArc3d(const P_Vertex* v, const CPoint3d& endPoint) : CArc3d() {
    set(v, endPoint);
}

CArc3d::CArc3d(Mat3D* m1, const P_Vertex* v, const CPoint3d& endPoint, Mat3D* m2) : CArc3d() {
    set(m1, v, endPoint, m2);
}

void CArc3d::makeStraight() {
    centre = CPoint3d();
    radius = 0;
    bulge = 0;
    startGis = endGis = chordGis;
}

int CArc3d::set(const CPoint3d& p1, const CPoint3d& p2, const CPoint3d& p3, double* gisMid) {
    start = p1;
    end = p3;
    aux = 0;
    pMat = nullptr;
    chordGis = p1.gisTo(p3, &chord);
    double d1 = 0, d2 = 0;
    const double g1 = gissuiv(p1.gisTo(p2, &d1), chordGis);
    const double g2 = gissuiv(p2.gisTo(p3, &d2), chordGis);
    if (d1 < 5e-4 || d2 < 5e-4 || std::sin(g1 - g2) == 0) {
        makeStraight();
        return 0;
    }
    // The centre lies on the perpendicular bisector of p1-p2, at o along it from the chord's midpoint.
    const double o = -std::cos(chordGis - g2) * chord / std::sin(g1 - g2);
    centre.set((o * std::cos(g1 + _100rd) + p1.x + p2.x) / 2, (o * std::sin(g1 + _100rd) + p1.y + p2.y) / 2,
               0);
    const double w = centre.gisTo(p2, &radius);
    double t = gissuiv(w + signOf(g2 - g1) * _100rd, chordGis);
    startGis = 2 * g1 - t;
    endGis = 2 * g2 - t;
    if (startGis < 0) {
        startGis += _400rd;
        endGis += _400rd;
        t += _400rd;
    }
    bulge = std::tan((endGis - startGis) / 4);
    if (gisMid) *gisMid = t;
    centre.z = bothHaveHeights(p1, p3) ? (p1.z + p3.z) / 2 : 0;
    return 1;
}

int CArc3d::set(const CPoint3d& p1, const CPoint3d& p2, const double& bulgeValue) {
    return set(nullptr, p1, p2, bulgeValue, nullptr);
}

int CArc3d::set(const CPoint3d& p, double angle, double dist) {
    CPoint3d endPoint = p.polar(angle, dist);
    return set(p, endPoint, 0.0);
}

int CArc3d::set(const P_Vertex* v, const CPoint3d& endPoint) {
    return set(nullptr, v, endPoint, nullptr);
}

int CArc3d::set(Mat3D* m1, const CPoint3d& p1, const CPoint3d& p2, const double& bulgeValue, Mat3D* m2) {
    const auto map = [m1, m2](CPoint3d p) {
        if (m2) m2->ApplyToPtInv(&p);
        if (m1) m1->ApplyToPt(&p);
        return p;
    };
    start = map(p1);
    end = map(p2);
    bulge = bulgeValue;
    // A transform may turn, scale or mirror the arc: it is carried over by its middle point.
    if ((m1 || m2) && bulgeValue != 0) bulge = bulgeThrough(start, map(p1.milieu(p2, bulgeValue)), end);
    aux = 0;
    calcul();
    pMat = m1;
    return 1;
}

int CArc3d::set(Mat3D* m1, const P_Vertex* v, const CPoint3d& endPoint, Mat3D* m2) {
    const CPoint3d point = v->pt; // a copy: the node may sit at a 4-byte boundary
    return set(m1, point, endPoint, v->bulge, m2);
}

int CArc3d::calcul(int) {
    chordGis = start.gisTo(end, &chord);
    if (isStraightSegment(bulge, chord)) {
        makeStraight();
        return 1;
    }
    double e = 2 * std::atan(bulge); // half the included angle
    radius = std::fabs(chord / (2 * std::sin(e)));
    if (radius > 5000) {
        if (radius > 2000000 && std::fabs(e) < 0.001) {
            radius = 2000000;
            e = signOf(e) * chord / 4000000;
            bulge = e / 2;
        } else if (std::fabs(e) > _100rd) {
            if (std::fabs(bulge) > 300000) bulge = signOf(bulge) * 300000;
            radius = 5000 / std::fabs(e);
        }
    }
    startGis = chordGis - e;
    endGis = chordGis + e;
    const double toCentre = _200rd + startGis + (e > 0 ? -_100rd : _100rd);
    centre = start.polar(toCentre, radius);
    return 1;
}

double CArc3d::len(int slope) const {
    const double plan = radius != 0 ? std::fabs(acentre() * radius) : start.dist2dTo(end, 0);
    if (slope && bothHaveHeights(start, end)) return std::hypot(plan, start.z - end.z);
    return plan;
}

double CArc3d::acentre() const {
    return 4 * std::atan(bulge);
}

double CArc3d::fleche() const {
    return std::fabs(bulge * chord) / 2;
}

double CArc3d::GisAtDist(double d) const {
    if (radius == 0) return chordGis;
    return startGis + (endGis - startGis) * d / std::fabs(acentre() * radius);
}

CPoint3d CArc3d::ptmilieu() const {
    return start.milieu(end, bulge);
}

void CArc3d::cut(bool keepStart, const CPoint3d& pt, double g, double along) {
    (keepStart ? end : start) = pt;
    if (radius != 0) {
        (keepStart ? endGis : startGis) = g;
        bulge = std::tan((endGis - startGis) / 4);
        chordGis = start.gisTo(end, &chord);
    } else {
        chord = keepStart ? along : chord - along;
    }
}

int CArc3d::ptAtDist(double d, CPoint3d& pt, int flags, int mode) {
    const double length = len(flags & 1);
    if (length == 0) {
        pt = start;
        return 0;
    }
    if (d > length - _ecpt) {
        if (d > length + _ecpt) return 0;
        pt = end;
        return -2;
    }
    if (d < _ecpt) {
        if (d < -_ecpt) return 0;
        pt = start;
        return -1;
    }
    const double f = d / length;
    double g = chordGis;
    if (radius != 0) {
        g = startGis + (endGis - startGis) * f;
        pt = centre.polar(bulge < 0 ? g + _100rd : g - _100rd, radius);
        pt.z = centre.z;
    } else {
        pt = start + (end - start) * f;
    }
    if (mode == 1 || mode == 2) cut(mode == 1, pt, g, f * chord);
    return 1;
}
