#include "host/entities/ellipse.h"

#include <numbers>

#include "host/filing/dwg_filer.h"
#include "host/ge/curve_geometry.h"

HOST_DEFINE_MEMBERS(AcDbEllipse, AcDbCurve, L"ELLIPSE")

AcDbEllipse::AcDbEllipse(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
                         const AcGeVector3d& majorAxis, double radiusRatio, double startAngle,
                         double endAngle) {
    set(center, unitNormal, majorAxis, radiusRatio, startAngle, endAngle);
}

Acad::ErrorStatus AcDbEllipse::set(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
                                   const AcGeVector3d& majorAxis, double radiusRatio, double startAngle,
                                   double endAngle) {
    if (unitNormal.isZeroLength() || majorAxis.isZeroLength() || !(radiusRatio > 0) || radiusRatio > 1 ||
        std::abs(unitNormal.normal().dotProduct(majorAxis.normal())) > 1e-6)
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_center = center;
    m_normal = unitNormal.normal();
    m_major = majorAxis;
    m_ratio = radiusRatio;
    m_start = startAngle;
    m_end = endAngle;
    return Acad::eOk;
}

AcGeVector3d AcDbEllipse::minorAxis() const {
    return m_normal.crossProduct(m_major) * m_ratio;
}

double AcDbEllipse::endParam() const {
    double end = m_end;
    while (end <= m_start)
        end += host::kTwoPi;
    return end;
}

bool AcDbEllipse::isClosed() const {
    return std::abs(endParam() - m_start - host::kTwoPi) < 1e-10;
}

Acad::ErrorStatus AcDbEllipse::getPlane(AcGePlane& plane, AcDb::Planarity& type) const {
    plane.set(m_center, m_normal);
    type = AcDb::kPlanar;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::getStartParam(double& param) const {
    param = m_start;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::getEndParam(double& param) const {
    param = endParam();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::getPointAtParam(double param, AcGePoint3d& point) const {
    point = m_center + m_major * std::cos(param) + minorAxis() * std::sin(param);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::getParamAtPoint(const AcGePoint3d& point, double& param) const {
    AcGeVector3d d = point - m_center;
    AcGeVector3d minor = minorAxis();
    double c = d.dotProduct(m_major) / m_major.dotProduct(m_major);
    double s = d.dotProduct(minor) / minor.dotProduct(minor);
    double t = std::atan2(s, c);
    while (t < m_start)
        t += host::kTwoPi;
    while (t > m_start + host::kTwoPi)
        t -= host::kTwoPi;
    AcGePoint3d onCurve;
    getPointAtParam(t, onCurve);
    if (onCurve.distanceTo(point) > 1e-8 * std::max(1.0, m_major.length()) || t > endParam() + 1e-10)
        return Acad::eInvalidInput;
    param = t;
    return Acad::eOk;
}

bool AcDbEllipse::tessellate(AcGePoint3dArray& points, double deviation) const {
    points.removeAll();
    int n = host::chordCount(m_major.length(), endParam() - m_start, deviation);
    for (int i = 0; i <= n; ++i) {
        AcGePoint3d p;
        getPointAtParam(m_start + (endParam() - m_start) * i / n, p);
        points.append(p);
    }
    return true;
}

Acad::ErrorStatus AcDbEllipse::subTransformBy(const AcGeMatrix3d& xform) {
    AcGeVector3d major = AcGeVector3d(m_major).transformBy(xform);
    AcGeVector3d minor = AcGeVector3d(minorAxis()).transformBy(xform);
    if (major.isZeroLength() || minor.isZeroLength() ||
        std::abs(major.normal().dotProduct(minor.normal())) > 1e-9)
        return Acad::eInvalidInput;
    assertWriteEnabled();
    m_center.transformBy(xform);
    m_normal = major.crossProduct(minor).normal();
    double ratio = minor.length() / major.length();
    if (ratio <= 1) {
        m_major = major;
        m_ratio = ratio;
    } else {
        // The minor axis became the longer one: it is the new major axis, and parameters turn a quarter.
        m_major = minor;
        m_ratio = 1 / ratio;
        m_start -= std::numbers::pi / 2;
        m_end -= std::numbers::pi / 2;
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEllipse::dwgInFields(AcDbDwgFiler* filer) {
    AcDbCurve::dwgInFields(filer);
    filer->readPoint3d(&m_center);
    readNormal(filer, m_normal);
    filer->readVector3d(&m_major);
    filer->readDouble(&m_ratio);
    filer->readDouble(&m_start);
    return filer->readDouble(&m_end);
}

Acad::ErrorStatus AcDbEllipse::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbCurve::dwgOutFields(filer);
    filer->writePoint3d(m_center);
    filer->writeVector3d(m_normal);
    filer->writeVector3d(m_major);
    filer->writeDouble(m_ratio);
    filer->writeDouble(m_start);
    return filer->writeDouble(m_end);
}

Acad::ErrorStatus AcDbEllipse::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbCurve::dxfInFields(filer); es != Acad::eOk) return es;
    return readSubclass(filer, L"AcDbEllipse", [this](const resbuf& rb) {
        switch (rb.restype) {
        case 10:
            m_center = asPoint(rb);
            break;
        case 11:
            m_major = asVector(rb);
            break;
        case 210:
            readNormal(rb, m_normal);
            break;
        case 40:
            m_ratio = rb.resval.rreal;
            break;
        case 41:
            m_start = rb.resval.rreal;
            break;
        case 42:
            m_end = rb.resval.rreal;
            break;
        default:
            break;
        }
    });
}

Acad::ErrorStatus AcDbEllipse::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbCurve::dxfOutFields(filer);
    filer->writeString(100, L"AcDbEllipse");
    filer->writePoint3d(10, m_center);
    filer->writeVector3d(11, m_major);
    filer->writeVector3d(210, m_normal);
    filer->writeDouble(40, m_ratio);
    filer->writeDouble(41, m_start);
    return filer->writeDouble(42, m_end);
}
