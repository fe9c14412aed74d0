#pragma once
// Circles and circular arcs: a centre (world), a radius and the normal of their plane. Angles are measured
// in that plane from its x axis (the arbitrary-axis rule); the parameter of a point is its angle.
#include "host/entities/curve.h"

namespace host {
// What circles and arcs share, with its filing.
struct CircleGeometry {
    AcGePoint3d center;
    double radius = 0;
    AcGeVector3d normal = AcGeVector3d::kZAxis;
    double thickness = 0;

    AcGePoint3d pointAt(double angle) const;
    // Transforms the centre, radius and normal; answers the angle the plane's x axis turned by, so that
    // arcs keep their ends (and whether the transform mirrors, which swaps them).
    Acad::ErrorStatus transform(const AcGeMatrix3d& xform, double& angleShift, bool& mirrored,
                                double& startAngle, double& endAngle);
    void dwgIn(AcDbDwgFiler* filer);
    void dwgOut(AcDbDwgFiler* filer) const;
    // Group 10 is the centre in the plane's own coordinates.
    void readDxf(const resbuf& rb);
    void writeDxf(AcDbDxfFiler* filer) const;
    void finishDxfRead();
    bool centerInPlane = false;
};

// The part of circles and arcs that is their circle: its properties, its plane, and its filing (binary, and
// the AcDbCircle subclass of drawing files).
class CircularCurve : public AcDbCurve {
public:
    AcGePoint3d center() const { return m_geometry.center; }
    Acad::ErrorStatus setCenter(const AcGePoint3d& center);
    double radius() const { return m_geometry.radius; }
    Acad::ErrorStatus setRadius(double radius);
    AcGeVector3d normal() const { return m_geometry.normal; }
    Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
    double thickness() const { return m_geometry.thickness; }
    Acad::ErrorStatus setThickness(double thickness);

    bool isPlanar() const override { return true; }
    Acad::ErrorStatus getPlane(AcGePlane& plane, AcDb::Planarity& type) const override;
    // The tangent at the angle `param`, counter-clockwise, as long as the radius; eInvalidInput past an
    // arc's ends.
    Acad::ErrorStatus getFirstDeriv(double param, AcGeVector3d& deriv) const override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

protected:
    CircularCurve() = default;
    // A zero normal stands for the z axis.
    CircularCurve(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);
    CircleGeometry m_geometry;
};
} // namespace host

class AcDbCircle : public host::CircularCurve {
    HOST_DECLARE_MEMBERS(AcDbCircle)
public:
    AcDbCircle() = default;
    AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius)
        : CircularCurve(center, normal, radius) {}

    bool isClosed() const override { return true; }
    bool isPeriodic() const override { return true; }
    Acad::ErrorStatus getStartParam(double& param) const override;
    Acad::ErrorStatus getEndParam(double& param) const override;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
    Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;
    Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;
    Acad::ErrorStatus getArea(double& area) const override;
    bool tessellate(AcGePoint3dArray& points, double deviation) const override;
    bool subWorldDraw(AcGiWorldDraw* draw) override;
    // Exact: centre plus or minus the radius times the circle's reach along each axis.
    Acad::ErrorStatus subGetGeomExtents(AcDbExtents& extents) const override;
    Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;
};

class AcDbArc : public host::CircularCurve {
    HOST_DECLARE_MEMBERS(AcDbArc)
public:
    AcDbArc() = default;
    AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle);
    AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle,
            double endAngle);
    double startAngle() const { return m_start; }
    Acad::ErrorStatus setStartAngle(double angle);
    double endAngle() const { return m_end; }
    Acad::ErrorStatus setEndAngle(double angle);

    // Parameters run from the start angle to the end angle (made larger by a full turn when needed).
    Acad::ErrorStatus getStartParam(double& param) const override;
    Acad::ErrorStatus getEndParam(double& param) const override;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
    Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;
    Acad::ErrorStatus getDistAtParam(double param, double& dist) const override;
    bool tessellate(AcGePoint3dArray& points, double deviation) const override;
    bool subWorldDraw(AcGiWorldDraw* draw) override;
    Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    double sweep() const;
    double m_start = 0, m_end = 0;
};
