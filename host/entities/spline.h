#pragma once
// NURBS curves, given by control points and knots, or by fit points that the curve passes through.
#include "host/entities/curve.h"
#include "host/ge/bspline.h"

class AcDbSpline : public AcDbCurve {
    HOST_DECLARE_MEMBERS(AcDbSpline)
public:
    AcDbSpline() = default;
    // Through the fit points (order = degree + 1).
    AcDbSpline(const AcGePoint3dArray& fitPoints, int order = 4, double fitTolerance = 0);
    AcDbSpline(int degree, bool rational, bool closed, bool periodic, const AcGePoint3dArray& controlPoints,
               const AcGeDoubleArray& knots, const AcGeDoubleArray& weights, double controlPtTol = 0,
               double knotTol = 0);

    int degree() const { return m_curve.degree; }
    bool isRational() const { return !m_curve.weights.empty(); }
    int numControlPoints() const { return static_cast<int>(m_curve.controlPoints.size()); }
    Acad::ErrorStatus getControlPointAt(int index, AcGePoint3d& point) const;
    int numFitPoints() const { return static_cast<int>(m_fitPoints.size()); }
    Acad::ErrorStatus getFitPointAt(int index, AcGePoint3d& point) const;
    double fitTolerance() const { return m_fitTolerance; }
    Acad::ErrorStatus getNurbsData(int& degree, bool& rational, bool& closed, bool& periodic,
                                   AcGePoint3dArray& controlPoints, AcGeDoubleArray& knots,
                                   AcGeDoubleArray& weights, double& controlPtTol, double& knotTol) const;

    bool isClosed() const override { return m_closed; }
    bool isPeriodic() const override { return m_periodic; }
    Acad::ErrorStatus getStartParam(double& param) const override;
    Acad::ErrorStatus getEndParam(double& param) const override;
    Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
    // Nearest parameter of the curve, refined by golden-section search; the point must lie on the curve.
    Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const override;
    bool tessellate(AcGePoint3dArray& points, double deviation) const override;
    Acad::ErrorStatus subTransformBy(const AcGeMatrix3d& xform) override;

    Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
    Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
    Acad::ErrorStatus dxfInFields(AcDbDxfFiler* filer) override;
    Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* filer) const override;

private:
    host::BSpline m_curve;
    std::vector<AcGePoint3d> m_fitPoints;
    double m_fitTolerance = 0;
    bool m_closed = false, m_periodic = false;
    AcGeVector3d m_normal;
};
