#include "host/entities/curve.h"

#include <algorithm>

#include "host/entities/intersections.h"
#include "host/ge/curve_geometry.h"

HOST_DEFINE_ABSTRACT(AcDbCurve, AcDbEntity)

Acad::ErrorStatus AcDbCurve::getPlane(AcGePlane&, AcDb::Planarity& type) const {
    type = AcDb::kNonPlanar;
    return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbCurve::getStartParam(double&) const {
    return Acad::eNotImplementedYet;
}
Acad::ErrorStatus AcDbCurve::getEndParam(double&) const {
    return Acad::eNotImplementedYet;
}

Acad::ErrorStatus AcDbCurve::getStartPoint(AcGePoint3d& point) const {
    double p = 0;
    Acad::ErrorStatus es = getStartParam(p);
    return es == Acad::eOk ? getPointAtParam(p, point) : es;
}

Acad::ErrorStatus AcDbCurve::getEndPoint(AcGePoint3d& point) const {
    double p = 0;
    Acad::ErrorStatus es = getEndParam(p);
    return es == Acad::eOk ? getPointAtParam(p, point) : es;
}

Acad::ErrorStatus AcDbCurve::getPointAtParam(double, AcGePoint3d&) const {
    return Acad::eNotImplementedYet;
}
Acad::ErrorStatus AcDbCurve::getParamAtPoint(const AcGePoint3d&, double&) const {
    return Acad::eNotImplementedYet;
}
Acad::ErrorStatus AcDbCurve::getDistAtParam(double, double&) const {
    return Acad::eNotImplementedYet;
}
Acad::ErrorStatus AcDbCurve::getParamAtDist(double, double&) const {
    return Acad::eNotImplementedYet;
}

Acad::ErrorStatus AcDbCurve::getDistAtPoint(const AcGePoint3d& point, double& dist) const {
    double p = 0;
    Acad::ErrorStatus es = getParamAtPoint(point, p);
    return es == Acad::eOk ? getDistAtParam(p, dist) : es;
}

Acad::ErrorStatus AcDbCurve::getPointAtDist(double dist, AcGePoint3d& point) const {
    double p = 0;
    Acad::ErrorStatus es = getParamAtDist(dist, p);
    return es == Acad::eOk ? getPointAtParam(p, point) : es;
}

Acad::ErrorStatus AcDbCurve::getFirstDeriv(double, AcGeVector3d&) const {
    return Acad::eNotImplementedYet;
}
Acad::ErrorStatus AcDbCurve::getFirstDeriv(const AcGePoint3d&, AcGeVector3d&) const {
    return Acad::eNotImplementedYet;
}
Acad::ErrorStatus AcDbCurve::getSecondDeriv(double, AcGeVector3d&) const {
    return Acad::eNotImplementedYet;
}
Acad::ErrorStatus AcDbCurve::getSecondDeriv(const AcGePoint3d&, AcGeVector3d&) const {
    return Acad::eNotImplementedYet;
}

Acad::ErrorStatus AcDbCurve::getClosestPointTo(const AcGePoint3d& givenPoint, AcGePoint3d& pointOnCurve,
                                               bool) const {
    // Nearest point of the tessellation: good to the chord deviation.
    AcGePoint3dArray pts;
    if (!tessellate(pts, 1e-4) || pts.isEmpty()) return Acad::eNotImplementedYet;
    double best = -1;
    for (int i = 0; i < pts.length(); ++i) {
        AcGePoint3d a = pts[i], b = i + 1 < pts.length() ? pts[i + 1] : pts[i];
        AcGeVector3d ab = b - a;
        double len2 = ab.dotProduct(ab);
        double t = len2 > 0 ? std::clamp((givenPoint - a).dotProduct(ab) / len2, 0.0, 1.0) : 0.0;
        AcGePoint3d q = a + ab * t;
        double d = q.distanceTo(givenPoint);
        if (best < 0 || d < best) {
            best = d;
            pointOnCurve = q;
        }
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getClosestPointTo(const AcGePoint3d& givenPoint, const AcGeVector3d&,
                                               AcGePoint3d& pointOnCurve, bool extend) const {
    return getClosestPointTo(givenPoint, pointOnCurve, extend);
}

Acad::ErrorStatus AcDbCurve::getOrthoProjectedCurve(const AcGePlane&, AcDbCurve*&) const {
    return Acad::eNotImplementedYet;
}
Acad::ErrorStatus AcDbCurve::getProjectedCurve(const AcGePlane&, const AcGeVector3d&, AcDbCurve*&) const {
    return Acad::eNotImplementedYet;
}
Acad::ErrorStatus AcDbCurve::getOffsetCurves(double, AcDbVoidPtrArray&) const {
    return Acad::eNotImplementedYet;
}
Acad::ErrorStatus AcDbCurve::getSpline(AcDbSpline*&) const {
    return Acad::eNotImplementedYet;
}
Acad::ErrorStatus AcDbCurve::getSplitCurves(const AcGeDoubleArray&, AcDbVoidPtrArray&) const {
    return Acad::eNotImplementedYet;
}
Acad::ErrorStatus AcDbCurve::getSplitCurves(const AcGePoint3dArray&, AcDbVoidPtrArray&) const {
    return Acad::eNotImplementedYet;
}
Acad::ErrorStatus AcDbCurve::extend(double) {
    return Acad::eNotImplementedYet;
}
Acad::ErrorStatus AcDbCurve::extend(bool, const AcGePoint3d&) {
    return Acad::eNotImplementedYet;
}
Acad::ErrorStatus AcDbCurve::getArea(double&) const {
    return Acad::eNotImplementedYet;
}

bool AcDbCurve::subWorldDraw(AcGiWorldDraw* draw) {
    AcGePoint3dArray points;
    if (tessellate(points, draw->deviation()) && points.length() > 0)
        draw->geometry().polyline(static_cast<Adesk::UInt32>(points.length()), points.asArrayPtr());
    return true;
}

Acad::ErrorStatus AcDbCurve::subGetGeomExtents(AcDbExtents& extents) const {
    AcGePoint3dArray points;
    if (!tessellate(points, host::kDefaultDeviation) || points.isEmpty()) return Acad::eInvalidExtents;
    for (const AcGePoint3d& p : points)
        extents.addPoint(p);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::subIntersectWith(const AcDbEntity* other, AcDb::Intersect type,
                                              AcGePoint3dArray& points, Adesk::GsMarker,
                                              Adesk::GsMarker) const {
    assertReadEnabled();
    return host::intersectCurves(this, other, type, nullptr, points);
}

Acad::ErrorStatus AcDbCurve::subIntersectWith(const AcDbEntity* other, AcDb::Intersect type,
                                              const AcGePlane& projPlane, AcGePoint3dArray& points,
                                              Adesk::GsMarker, Adesk::GsMarker) const {
    assertReadEnabled();
    return host::intersectCurves(this, other, type, &projPlane, points);
}

bool AcDbCurve::tessellate(AcGePoint3dArray& points, double) const {
    points.removeAll();
    return false;
}
