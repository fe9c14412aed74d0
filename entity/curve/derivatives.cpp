// First and second derivatives of the polyline's curve, by parameter or at a point.
#include "entity/core/poly_arc3d.h"
#include "geometry/arcs/arc3d.h"
#include "services/output/output.h"

#include <cmath>

void CPolyArc3D::derivatives(const P_Vertex* v, double f, AcGeVector3d* first, AcGeVector3d* second) const {
    const CArc3d segment(v, N(const_cast<P_Vertex*>(v))->pt);
    if (segment.radius == 0) {
        if (first) *first = worldVector(segment.end - segment.start);
        if (second) *second = AcGeVector3d(0, 0, 0);
        return;
    }
    // The plan position turns evenly through the included angle while the height moves evenly.
    const double swept = segment.acentre();
    const double planLength = std::fabs(swept * segment.radius);
    const double a = segment.startGis + swept * f;
    // The plan part of the rate of change is the plan length: the 3-D length would tilt the tangent of a
    // sloped arc towards the horizontal.
    if (first)
        *first = worldVector(
            {planLength * std::cos(a), planLength * std::sin(a), segment.end.z - segment.start.z});
    // Turning at `swept` radians per unit of parameter scales it by the angle, so that the curvature is 1/R.
    if (second)
        *second = worldVector({-planLength * swept * std::sin(a), planLength * swept * std::cos(a), 0});
}

Acad::ErrorStatus CPolyArc3D::getFirstDeriv(double param, AcGeVector3d& deriv) const {
    assertReadEnabled();
    double fraction = 0;
    const P_Vertex* v = segmentAtParam(param, fraction);
    if (!v) return Acad::eInvalidInput;
    derivatives(v, fraction, &deriv, nullptr);
    return Acad::eOk;
}

Acad::ErrorStatus CPolyArc3D::getFirstDeriv(const AcGePoint3d& point, AcGeVector3d& deriv) const {
    assertReadEnabled();
    double fraction = 0;
    const P_Vertex* v = segmentAtPoint(point, fraction);
    if (!v) return Acad::eInvalidInput;
    derivatives(v, fraction, &deriv, nullptr);
    return Acad::eOk;
}

Acad::ErrorStatus CPolyArc3D::getSecondDeriv(double param, AcGeVector3d& deriv) const {
    assertReadEnabled();
    double fraction = 0;
    const P_Vertex* v = segmentAtParam(param, fraction);
    if (!v) return Acad::eInvalidInput;
    derivatives(v, fraction, nullptr, &deriv);
    mprintf("\nSecond derive %p param %.4f,%.4f,%.4f ", static_cast<const void*>(this), deriv.x, deriv.y,
            deriv.z);
    return Acad::eOk;
}

Acad::ErrorStatus CPolyArc3D::getSecondDeriv(const AcGePoint3d& point, AcGeVector3d& deriv) const {
    assertReadEnabled();
    double fraction = 0;
    const P_Vertex* v = segmentAtPoint(point, fraction);
    if (!v) return Acad::eInvalidInput;
    derivatives(v, fraction, nullptr, &deriv);
    mprintf("\nSecond derive %p point %.4f,%.4f,%.4f ", static_cast<const void*>(this), deriv.x, deriv.y,
            deriv.z);
    return Acad::eOk;
}
