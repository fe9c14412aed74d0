#include "entity/conversion/curve_to_arc3d.h"

#include "geometry/points/angle_units.h"
#include "host/entities/circle_arc.h"
#include "host/entities/ellipse.h"
#include "host/entities/line.h"

#include <cmath>
#include <numbers>

namespace {

CPoint3d inSystem(const Mat3D* system, const AcGePoint3d& p) {
    return CPoint3d(system, p);
}

// A full circle: a start and an end 2e-6 apart below the centre, the centre and radius as given.
int fullCircle(CArc3d& arc, const CPoint3d& centre, double radius) {
    const CPoint3d start(centre.x, centre.y - radius + 1e-6, centre.z);
    const CPoint3d end(centre.x, centre.y - radius - 1e-6, centre.z);
    arc.set(start, end, std::tan((2 * std::numbers::pi - 1e-6) / 4));
    arc.centre = centre;
    arc.radius = radius;
    return 3;
}

// Through the start, the middle and the end of the curve.
int throughThreePoints(CArc3d& arc, const Mat3D* system, const AcDbCurve& curve) {
    double first = 0, last = 0;
    AcGePoint3d s, m, e;
    if (curve.getStartParam(first) != Acad::eOk || curve.getEndParam(last) != Acad::eOk ||
        curve.getPointAtParam(first, s) != Acad::eOk ||
        curve.getPointAtParam((first + last) / 2, m) != Acad::eOk ||
        curve.getPointAtParam(last, e) != Acad::eOk)
        return -1;
    const CPoint3d a = inSystem(system, s), b = inSystem(system, m), c = inSystem(system, e);
    const double bulge = bulgeThrough(a, b, c);
    arc.set(a, c, bulge);
    return bulge != 0 ? 2 : 1;
}

bool isFlatCircle(const AcDbEllipse& ellipse) {
    const AcGeVector3d major = ellipse.majorAxis(), minor = ellipse.minorAxis();
    const double planMajor = std::hypot(major.x, major.y), planMinor = std::hypot(minor.x, minor.y);
    return std::fabs(major.z) <= 1e-4 * planMajor && planMajor >= _ecpt &&
           std::fabs(planMinor - planMajor) <= 1e-5 * planMajor;
}

} // namespace

double bulgeThrough(const CPoint3d& start, const CPoint3d& middle, const CPoint3d& end) {
    const double area =
        ((middle.x - start.x) * (end.y - start.y) - (middle.y - start.y) * (end.x - start.x)) / 2;
    const double chord = start.dist2dTo(end);
    return 4 * area / (chord * chord + 1e-10);
}

int curveToArc3d(CArc3d& arc, Mat3D* system, const AcDbCurve* curve) {
    arc = CArc3d();
    arc.aux = 0;
    if (!curve) return -1;
    int kind = -1;
    if (const AcDbLine* line = AcDbLine::cast(curve)) {
        arc.set(inSystem(system, line->startPoint()), inSystem(system, line->endPoint()), 0.0);
        kind = 1;
    } else if (const AcDbCircle* circle = AcDbCircle::cast(curve)) {
        kind = fullCircle(arc, inSystem(system, circle->center()), circle->radius());
    } else if (const AcDbEllipse* ellipse = AcDbEllipse::cast(curve)) {
        if (isFlatCircle(*ellipse))
            kind = ellipse->isClosed()
                       ? fullCircle(arc, inSystem(system, ellipse->center()), ellipse->majorAxis().length())
                       : throughThreePoints(arc, system, *ellipse);
    } else if (const AcDbArc* circular = AcDbArc::cast(curve)) {
        kind = throughThreePoints(arc, system, *circular);
    }
    arc.pMat = system;
    return kind;
}
