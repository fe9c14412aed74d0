#include "host/entities/circle_arc.h"

#include <numbers>

#include "host/filing/dwg_filer.h"
#include "host/ge/curve_geometry.h"

HOST_DEFINE_MEMBERS(AcDbCircle, AcDbCurve, L"CIRCLE")
HOST_DEFINE_MEMBERS(AcDbArc, AcDbCurve, L"ARC")

namespace {
constexpr double kOnCurve = 1e-8;
} // namespace

namespace host {

AcGePoint3d CircleGeometry::pointAt(double angle) const {
    AcGeVector3d x = ocsXAxis(normal), y = normal.crossProduct(x);
    return center + x * (radius * std::cos(angle)) + y * (radius * std::sin(angle));
}

Acad::ErrorStatus CircleGeometry::transform(const AcGeMatrix3d& xform, double& angleShift, bool& mirrored,
                                            double& startAngle, double& endAngle) {
    AcGePoint3d start = pointAt(startAngle), end = pointAt(endAngle);
    AcGeVector3d x = ocsXAxis(normal), y = normal.crossProduct(x);
    AcGeVector3d tx = AcGeVector3d(x).transformBy(xform), ty = AcGeVector3d(y).transformBy(xform);
    if (std::abs(tx.length() - ty.length()) > 1e-9 * std::max(1.0, tx.length()) ||
        std::abs(tx.dotProduct(ty)) > 1e-9 * std::max(1.0, tx.length() * ty.length()))
        return Acad::eInvalidInput; // a circle stays a circle only under uniform scaling
    // The normal follows the transform; a mirror shows as the transformed axes turning the other way.
    AcGeVector3d n = AcGeVector3d(normal).transformBy(xform);
    mirrored = tx.crossProduct(ty).dotProduct(n) < 0;
    center.transformBy(xform);
    radius *= tx.length();
    normal = n.normal();
    start.transformBy(xform);
    end.transformBy(xform);
    double newStart = planeAngle(center, normal, start), newEnd = planeAngle(center, normal, end);
    angleShift = newStart - startAngle;
    startAngle = newStart;
    endAngle = newEnd;
    return Acad::eOk;
}

void CircleGeometry::dwgIn(AcDbDwgFiler* filer) {
    filer->readPoint3d(&center);
    filer->readDouble(&radius);
    readNormal(filer, normal);
    filer->readDouble(&thickness);
}

void CircleGeometry::dwgOut(AcDbDwgFiler* filer) const {
    filer->writePoint3d(center);
    filer->writeDouble(radius);
    filer->writeVector3d(normal);
    filer->writeDouble(thickness);
}

void CircleGeometry::readDxf(const resbuf& rb) {
    if (readThicknessOrNormal(rb, thickness, normal)) return;
    if (rb.restype == 10) {
        center = asPoint(rb);
        centerInPlane = true;
    } else if (rb.restype == 40) {
        radius = rb.resval.rreal;
    }
}

void CircleGeometry::finishDxfRead() {
    if (centerInPlane) center.transformBy(AcGeMatrix3d::planeToWorld(normal));
    centerInPlane = false;
}

void CircleGeometry::writeDxf(AcDbDxfFiler* filer) const {
    if (thickness != 0) filer->writeDouble(39, thickness);
    filer->writePoint3d(10, AcGePoint3d(center).transformBy(AcGeMatrix3d::worldToPlane(normal)));
    filer->writeDouble(40, radius);
    if (normal != AcGeVector3d::kZAxis) filer->writeVector3d(210, normal);
}

CircularCurve::CircularCurve(const AcGePoint3d& center, const AcGeVector3d& normal, double radius) {
    m_geometry.center = center;
    m_geometry.normal = normal.isZeroLength() ? AcGeVector3d::kZAxis : normal.normal();
    m_geometry.radius = radius;
}

Acad::ErrorStatus CircularCurve::setCenter(const AcGePoint3d& center) {
    return setField(m_geometry.center, center);
}

Acad::ErrorStatus CircularCurve::setRadius(double radius) {
    return setPositiveField(m_geometry.radius, radius);
}

Acad::ErrorStatus CircularCurve::setNormal(const AcGeVector3d& normal) {
    return setNormalField(m_geometry.normal, normal);
}

Acad::ErrorStatus CircularCurve::setThickness(double thickness) {
    return setField(m_geometry.thickness, thickness);
}

Acad::ErrorStatus CircularCurve::getPlane(AcGePlane& plane, AcDb::Planarity& type) const {
    plane.set(m_geometry.center, m_geometry.normal);
    type = AcDb::kPlanar;
    return Acad::eOk;
}

Acad::ErrorStatus CircularCurve::dwgInFields(AcDbDwgFiler* filer) {
    AcDbCurve::dwgInFields(filer);
    m_geometry.dwgIn(filer);
    return filer->filerStatus();
}

Acad::ErrorStatus CircularCurve::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbCurve::dwgOutFields(filer);
    m_geometry.dwgOut(filer);
    return filer->filerStatus();
}

Acad::ErrorStatus CircularCurve::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbCurve::dxfInFields(filer); es != Acad::eOk) return es;
    Acad::ErrorStatus es =
        readSubclass(filer, L"AcDbCircle", [this](const resbuf& rb) { m_geometry.readDxf(rb); });
    m_geometry.finishDxfRead();
    return es;
}

Acad::ErrorStatus CircularCurve::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbCurve::dxfOutFields(filer);
    filer->writeString(100, L"AcDbCircle");
    m_geometry.writeDxf(filer);
    return filer->filerStatus();
}

Acad::ErrorStatus CircularCurve::getFirstDeriv(double param, AcGeVector3d& deriv) const {
    AcGePoint3d on;
    if (const Acad::ErrorStatus es = getPointAtParam(param, on); es != Acad::eOk) return es;
    deriv = m_geometry.normal.crossProduct(on - m_geometry.center);
    return Acad::eOk;
}

} // namespace host

// Circles.

Acad::ErrorStatus AcDbCircle::getStartParam(double& param) const {
    param = 0;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getEndParam(double& param) const {
    param = host::kTwoPi;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getPointAtParam(double param, AcGePoint3d& point) const {
    point = m_geometry.pointAt(param);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getParamAtPoint(const AcGePoint3d& point, double& param) const {
    double a = host::planeAngle(m_geometry.center, m_geometry.normal, point);
    if (m_geometry.pointAt(a).distanceTo(point) > kOnCurve * std::max(1.0, m_geometry.radius))
        return Acad::eInvalidInput;
    param = a;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getDistAtParam(double param, double& dist) const {
    dist = param * m_geometry.radius;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getArea(double& area) const {
    area = std::numbers::pi * m_geometry.radius * m_geometry.radius;
    return Acad::eOk;
}

bool AcDbCircle::tessellate(AcGePoint3dArray& points, double deviation) const {
    points.removeAll();
    host::appendPlaneArc(points, m_geometry.center, m_geometry.normal, m_geometry.radius, 0, host::kTwoPi,
                         deviation);
    return true;
}

Acad::ErrorStatus AcDbCircle::subGetGeomExtents(AcDbExtents& extents) const {
    const AcGeVector3d& n = m_geometry.normal;
    AcGeVector3d reach(std::sqrt(std::max(0.0, 1 - n.x * n.x)), std::sqrt(std::max(0.0, 1 - n.y * n.y)),
                       std::sqrt(std::max(0.0, 1 - n.z * n.z)));
    extents.addPoint(m_geometry.center - reach * m_geometry.radius);
    extents.addPoint(m_geometry.center + reach * m_geometry.radius);
    return Acad::eOk;
}

bool AcDbCircle::subWorldDraw(AcGiWorldDraw* draw) {
    draw->geometry().circle(m_geometry.center, m_geometry.radius, m_geometry.normal);
    return true;
}

Acad::ErrorStatus AcDbCircle::subTransformBy(const AcGeMatrix3d& xform) {
    assertWriteEnabled();
    double shift = 0, start = 0, end = 0;
    bool mirrored = false;
    return m_geometry.transform(xform, shift, mirrored, start, end);
}

// Arcs.

AcDbArc::AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle)
    : AcDbArc(center, AcGeVector3d::kZAxis, radius, startAngle, endAngle) {}

AcDbArc::AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle,
                 double endAngle)
    : CircularCurve(center, normal, radius), m_start(host::normalizeAngle(startAngle)),
      m_end(host::normalizeAngle(endAngle)) {}

Acad::ErrorStatus AcDbArc::setStartAngle(double angle) {
    assertWriteEnabled();
    m_start = host::normalizeAngle(angle);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setEndAngle(double angle) {
    assertWriteEnabled();
    m_end = host::normalizeAngle(angle);
    return Acad::eOk;
}

double AcDbArc::sweep() const {
    return host::sweepAngle(m_start, m_end);
}

Acad::ErrorStatus AcDbArc::getStartParam(double& param) const {
    param = m_start;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getEndParam(double& param) const {
    param = m_start + sweep();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getPointAtParam(double param, AcGePoint3d& point) const {
    if (param < m_start - 1e-10 || param > m_start + sweep() + 1e-10) return Acad::eInvalidInput;
    point = m_geometry.pointAt(param);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getParamAtPoint(const AcGePoint3d& point, double& param) const {
    double a = host::planeAngle(m_geometry.center, m_geometry.normal, point);
    double along = host::normalizeAngle(a - m_start);
    if (along > sweep() + 1e-10 && along > host::kTwoPi - 1e-10) along = 0;
    if (along > sweep() + 1e-10 ||
        m_geometry.pointAt(a).distanceTo(point) > kOnCurve * std::max(1.0, m_geometry.radius))
        return Acad::eInvalidInput;
    param = m_start + along;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::getDistAtParam(double param, double& dist) const {
    if (param < m_start - 1e-10 || param > m_start + sweep() + 1e-10) return Acad::eInvalidInput;
    dist = (param - m_start) * m_geometry.radius;
    return Acad::eOk;
}

bool AcDbArc::tessellate(AcGePoint3dArray& points, double deviation) const {
    points.removeAll();
    host::appendPlaneArc(points, m_geometry.center, m_geometry.normal, m_geometry.radius, m_start, sweep(),
                         deviation);
    return true;
}

bool AcDbArc::subWorldDraw(AcGiWorldDraw* draw) {
    AcGeVector3d startVector = m_geometry.pointAt(m_start) - m_geometry.center;
    draw->geometry().circularArc(m_geometry.center, m_geometry.radius, m_geometry.normal,
                                 startVector.normal(), sweep());
    return true;
}

Acad::ErrorStatus AcDbArc::subTransformBy(const AcGeMatrix3d& xform) {
    assertWriteEnabled();
    double shift = 0, start = m_start, end = m_end;
    bool mirrored = false;
    if (Acad::ErrorStatus es = m_geometry.transform(xform, shift, mirrored, start, end); es != Acad::eOk)
        return es;
    // A mirror reverses the direction of travel: the old end becomes the start.
    m_start = mirrored ? end : start;
    m_end = mirrored ? start : end;
    return Acad::eOk;
}

// Angles are kept in [0, 2 pi), as DXF reading keeps them, whatever a damaged file holds.
Acad::ErrorStatus AcDbArc::dwgInFields(AcDbDwgFiler* filer) {
    CircularCurve::dwgInFields(filer);
    filer->readDouble(&m_start);
    filer->readDouble(&m_end);
    m_start = host::normalizeAngle(m_start);
    m_end = host::normalizeAngle(m_end);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbArc::dwgOutFields(AcDbDwgFiler* filer) const {
    CircularCurve::dwgOutFields(filer);
    filer->writeDouble(m_start);
    return filer->writeDouble(m_end);
}

Acad::ErrorStatus AcDbArc::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = CircularCurve::dxfInFields(filer); es != Acad::eOk) return es;
    return readSubclass(filer, L"AcDbArc", [this](const resbuf& rb) {
        if (rb.restype == 50)
            m_start = host::normalizeAngle(rb.resval.rreal / host::kDegrees);
        else if (rb.restype == 51)
            m_end = host::normalizeAngle(rb.resval.rreal / host::kDegrees);
    });
}

Acad::ErrorStatus AcDbArc::dxfOutFields(AcDbDxfFiler* filer) const {
    CircularCurve::dxfOutFields(filer);
    filer->writeString(100, L"AcDbArc");
    filer->writeDouble(50, m_start * host::kDegrees);
    return filer->writeDouble(51, m_end * host::kDegrees);
}
