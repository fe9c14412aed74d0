#pragma once
// Ellipses and elliptic arcs: a centre, a major axis vector, the ratio of the minor radius to the major
// one and a normal. The parameter t gives centre + major cos t + minor sin t (minor = normal x major times
// the ratio); the arc runs from its start parameter to its end parameter counter-clockwise.
#include "host/entities/curve.h"

class AcDbEllipse : public AcDbCurve {
    HOST_DECLARE_MEMBERS(AcDbEllipse)
public:
    AcDbEllipse() = default;
    AcDbEllipse(const AcGePoint3d& center, const AcGeVector3d& unitNormal, const AcGeVector3d& majorAxis,
                double radiusRatio, double startAngle = 0, double endAngle = 6.28318530717958647692);
    Acad::ErrorStatus set(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
                          const AcGeVector3d& majorAxis, double radiusRatio, double startAngle = 0,
                          double endAngle = 6.28318530717958647692);
    AcGePoint3d center() const { return m_center; }
    AcGeVector3d normal() const { return m_normal; }
    AcGeVector3d majorAxis() const { return m_major; }
    AcGeVector3d minorAxis() const;
    double radiusRatio() const { return m_ratio; }
    double startAngle() const { return m_start; }
    double endAngle() const { return m_end; }

    bool isClosed() const override;
    bool isPlanar() const override { return true; }
    Acad::ErrorStatus getPlane(AcGePlane& plane, AcDb::Planarity& type) const override;
    Acad::ErrorStatus getStartParam(double& param) const override;
    Acad::ErrorStatus getEndParam(double& param) const override;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
    Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;
    bool tessellate(AcGePoint3dArray& points, double deviation) const override;
    Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    double endParam() const;
    AcGePoint3d m_center;
    AcGeVector3d m_normal = AcGeVector3d::kZAxis;
    AcGeVector3d m_major = AcGeVector3d::kXAxis;
    double m_ratio = 1, m_start = 0, m_end = 6.28318530717958647692;
};
