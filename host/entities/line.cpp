#include "host/entities/line.h"

#include <algorithm>

#include "host/filing/dwg_filer.h"

HOST_DEFINE_MEMBERS(AcDbLine, AcDbCurve, L"LINE")

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& p) {
    return setField(m_start, p);
}

Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& p) {
    return setField(m_end, p);
}

Acad::ErrorStatus AcDbLine::setThickness(double t) {
    return setField(m_thickness, t);
}

Acad::ErrorStatus AcDbLine::setNormal(const AcGeVector3d& n) {
    return setNormalField(m_normal, n);
}

Acad::ErrorStatus AcDbLine::getStartParam(double& param) const {
    param = 0;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getEndParam(double& param) const {
    param = m_start.distanceTo(m_end);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getPointAtParam(double param, AcGePoint3d& point) const {
    double length = m_start.distanceTo(m_end);
    if (param < -1e-10 || param > length + 1e-10) return Acad::eInvalidInput;
    point = length > 0 ? m_start + (m_end - m_start) * (param / length) : m_start;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getFirstDeriv(double param, AcGeVector3d& deriv) const {
    AcGePoint3d on;
    if (const Acad::ErrorStatus es = getPointAtParam(param, on); es != Acad::eOk) return es;
    if (m_start.isEqualTo(m_end)) return Acad::eInvalidInput;
    deriv = (m_end - m_start).normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getParamAtPoint(const AcGePoint3d& point, double& param) const {
    AcGeVector3d d = m_end - m_start;
    double length = d.length();
    double t = length > 0 ? (point - m_start).dotProduct(d) / length : 0;
    if (t < -1e-8 || t > length + 1e-8 || (m_start + d.normal() * t).distanceTo(point) > 1e-8)
        return Acad::eInvalidInput;
    param = t;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getDistAtParam(double param, double& dist) const {
    AcGePoint3d p;
    if (Acad::ErrorStatus es = getPointAtParam(param, p); es != Acad::eOk) return es;
    dist = param;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getParamAtDist(double dist, double& param) const {
    AcGePoint3d p;
    if (Acad::ErrorStatus es = getPointAtParam(dist, p); es != Acad::eOk) return es;
    param = dist;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::extend(bool extendStart, const AcGePoint3d& toPoint) {
    const AcGeVector3d d = m_end - m_start;
    const double length = d.length();
    if (length == 0) return Acad::eInvalidInput;
    // Only along the line, and only outwards.
    const double t = (toPoint - m_start).dotProduct(d) / length;
    if ((m_start + d * (t / length)).distanceTo(toPoint) > 1e-8 * std::max(1.0, length))
        return Acad::eInvalidInput;
    if (extendStart ? t >= 0 : t <= length) return Acad::eInvalidInput;
    return extendStart ? setStartPoint(toPoint) : setEndPoint(toPoint);
}

bool AcDbLine::tessellate(AcGePoint3dArray& points, double) const {
    points.removeAll();
    points.append(m_start);
    points.append(m_end);
    return true;
}

Acad::ErrorStatus AcDbLine::subTransformBy(const AcGeMatrix3d& xform) {
    assertWriteEnabled();
    m_start.transformBy(xform);
    m_end.transformBy(xform);
    m_normal = host::transformedNormal(m_normal, xform);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::subGetGripPoints(AcGePoint3dArray& points, AcDbIntArray&, AcDbIntArray&) const {
    points.append(m_start);
    points.append(m_end);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::subMoveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) {
    assertWriteEnabled();
    for (int i : indices)
        if (i == 0)
            m_start += offset;
        else if (i == 1)
            m_end += offset;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::dwgInFields(AcDbDwgFiler* filer) {
    AcDbCurve::dwgInFields(filer);
    filer->readPoint3d(&m_start);
    filer->readPoint3d(&m_end);
    filer->readDouble(&m_thickness);
    readNormal(filer, m_normal);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbLine::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbCurve::dwgOutFields(filer);
    filer->writePoint3d(m_start);
    filer->writePoint3d(m_end);
    filer->writeDouble(m_thickness);
    return filer->writeVector3d(m_normal);
}

Acad::ErrorStatus AcDbLine::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbCurve::dxfInFields(filer); es != Acad::eOk) return es;
    return readSubclass(filer, L"AcDbLine", [this](const resbuf& rb) {
        if (readThicknessOrNormal(rb, m_thickness, m_normal)) return;
        if (rb.restype == 10)
            m_start = asPoint(rb);
        else if (rb.restype == 11)
            m_end = asPoint(rb);
    });
}

Acad::ErrorStatus AcDbLine::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbCurve::dxfOutFields(filer);
    filer->writeString(100, L"AcDbLine");
    if (m_thickness != 0) filer->writeDouble(39, m_thickness);
    filer->writePoint3d(10, m_start);
    filer->writePoint3d(11, m_end);
    if (m_normal != AcGeVector3d::kZAxis) filer->writeVector3d(210, m_normal);
    return filer->filerStatus();
}
