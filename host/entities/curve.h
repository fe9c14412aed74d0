#pragma once
// Curves: the parameter and distance protocol shared by lines, arcs, polylines, ellipses and splines.
#include "host/entities/entity.h"

class AcDbSpline;

class AcDbCurve : public AcDbEntity {
    HOST_DECLARE_MEMBERS(AcDbCurve)
public:
    // Defaults: open, not periodic, not planar; every query eNotImplementedYet. The distance queries fall
    // back on the parameter ones where a class gives those.
    virtual bool isClosed() const { return false; }
    virtual bool isPeriodic() const { return false; }
    virtual bool isPlanar() const { return false; }
    virtual Acad::ErrorStatus getPlane(AcGePlane& plane, AcDb::Planarity& type) const;
    virtual Acad::ErrorStatus getStartParam(double& param) const;
    virtual Acad::ErrorStatus getEndParam(double& param) const;
    virtual Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const;
    virtual Acad::ErrorStatus getDistAtParam(double param, double& dist) const;
    virtual Acad::ErrorStatus getParamAtDist(double dist, double& param) const;
    virtual Acad::ErrorStatus getDistAtPoint(const AcGePoint3d& point, double& dist) const;
    virtual Acad::ErrorStatus getPointAtDist(double dist, AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getFirstDeriv(double param, AcGeVector3d& deriv) const;
    virtual Acad::ErrorStatus getFirstDeriv(const AcGePoint3d& point, AcGeVector3d& deriv) const;
    virtual Acad::ErrorStatus getSecondDeriv(double param, AcGeVector3d& deriv) const;
    virtual Acad::ErrorStatus getSecondDeriv(const AcGePoint3d& point, AcGeVector3d& deriv) const;
    virtual Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& givenPoint, AcGePoint3d& pointOnCurve,
                                                bool extend = false) const;
    virtual Acad::ErrorStatus getClosestPointTo(const AcGePoint3d& givenPoint, const AcGeVector3d& direction,
                                                AcGePoint3d& pointOnCurve, bool extend = false) const;
    virtual Acad::ErrorStatus getOrthoProjectedCurve(const AcGePlane& plane,
                                                     AcDbCurve*& projectedCurve) const;
    virtual Acad::ErrorStatus getProjectedCurve(const AcGePlane& plane, const AcGeVector3d& direction,
                                                AcDbCurve*& projectedCurve) const;
    virtual Acad::ErrorStatus getOffsetCurves(double offsetDist, AcDbVoidPtrArray& offsetCurves) const;
    virtual Acad::ErrorStatus getSpline(AcDbSpline*& spline) const;
    virtual Acad::ErrorStatus getSplitCurves(const AcGeDoubleArray& params,
                                             AcDbVoidPtrArray& curveSegments) const;
    virtual Acad::ErrorStatus getSplitCurves(const AcGePoint3dArray& points,
                                             AcDbVoidPtrArray& curveSegments) const;
    virtual Acad::ErrorStatus extend(double newParam);
    virtual Acad::ErrorStatus extend(bool extendStart, const AcGePoint3d& toPoint);
    virtual Acad::ErrorStatus getArea(double& area) const;

    // The curve as points in world coordinates, chords within `deviation`: what curves draw by default
    // and what their extents and nearest points come from; classes with exact geometry override those.
    virtual bool tessellate(AcGePoint3dArray& points, double deviation) const;
    bool subWorldDraw(AcGiWorldDraw* draw) override;
    Acad::ErrorStatus subGetGeomExtents(AcDbExtents& extents) const override;
    // In the xy plane (or the plane given), with the points on this curve; markers are not used.
    Acad::ErrorStatus subIntersectWith(const AcDbEntity* other, AcDb::Intersect type,
                                       AcGePoint3dArray& points, Adesk::GsMarker thisMarker,
                                       Adesk::GsMarker otherMarker) const override;
    Acad::ErrorStatus subIntersectWith(const AcDbEntity* other, AcDb::Intersect type,
                                       const AcGePlane& projPlane, AcGePoint3dArray& points,
                                       Adesk::GsMarker thisMarker,
                                       Adesk::GsMarker otherMarker) const override;
};
