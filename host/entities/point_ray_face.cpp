#include "host/entities/point_ray_face.h"

#include "host/filing/dwg_filer.h"

HOST_DEFINE_MEMBERS(AcDbPoint, AcDbEntity, L"POINT")
HOST_DEFINE_MEMBERS(AcDbRay, AcDbCurve, L"RAY")
HOST_DEFINE_MEMBERS(AcDbFace, AcDbEntity, L"3DFACE")

namespace {

constexpr Adesk::UInt16 kEdgeBits = 15; // the invisible-edge bits of a face's four edges

// A unit vector kept as it is: normalising again would move its last digit.
AcGeVector3d unit(const AcGeVector3d& v) {
    return std::abs(v.length() - 1) < 1e-12 ? v : v.normal();
}
} // namespace

// Points.

Acad::ErrorStatus AcDbPoint::setPosition(const AcGePoint3d& position) {
    return setField(m_position, position);
}

Acad::ErrorStatus AcDbPoint::setNormal(const AcGeVector3d& normal) {
    return setNormalField(m_normal, normal);
}

Acad::ErrorStatus AcDbPoint::setThickness(double thickness) {
    return setField(m_thickness, thickness);
}

Acad::ErrorStatus AcDbPoint::setEcsRotation(double rotation) {
    return setField(m_rotation, rotation);
}

bool AcDbPoint::subWorldDraw(AcGiWorldDraw* draw) {
    draw->geometry().polyline(1, &m_position);
    return true;
}

Acad::ErrorStatus AcDbPoint::subGetGeomExtents(AcDbExtents& extents) const {
    extents.addPoint(m_position);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::subTransformBy(const AcGeMatrix3d& xform) {
    assertWriteEnabled();
    m_position.transformBy(xform);
    m_normal = host::transformedNormal(m_normal, xform);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::subGetGripPoints(AcGePoint3dArray& points, AcDbIntArray&, AcDbIntArray&) const {
    points.append(m_position);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::subMoveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) {
    assertWriteEnabled();
    if (indices.contains(0)) m_position += offset;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::dwgInFields(AcDbDwgFiler* filer) {
    AcDbEntity::dwgInFields(filer);
    filer->readPoint3d(&m_position);
    readNormal(filer, m_normal);
    filer->readDouble(&m_thickness);
    return filer->readDouble(&m_rotation);
}

Acad::ErrorStatus AcDbPoint::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbEntity::dwgOutFields(filer);
    filer->writePoint3d(m_position);
    filer->writeVector3d(m_normal);
    filer->writeDouble(m_thickness);
    return filer->writeDouble(m_rotation);
}

Acad::ErrorStatus AcDbPoint::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer); es != Acad::eOk) return es;
    return readSubclass(filer, L"AcDbPoint", [this](const resbuf& rb) {
        if (readThicknessOrNormal(rb, m_thickness, m_normal)) return;
        if (rb.restype == 10)
            m_position = asPoint(rb);
        else if (rb.restype == 50)
            m_rotation = rb.resval.rreal / host::kDegrees;
    });
}

Acad::ErrorStatus AcDbPoint::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbEntity::dxfOutFields(filer);
    filer->writeString(100, L"AcDbPoint");
    filer->writePoint3d(10, m_position);
    if (m_thickness != 0) filer->writeDouble(39, m_thickness);
    if (m_normal != AcGeVector3d::kZAxis) filer->writeVector3d(210, m_normal);
    if (m_rotation != 0) filer->writeDouble(50, m_rotation * host::kDegrees);
    return filer->filerStatus();
}

// Rays.

void AcDbRay::setBasePoint(const AcGePoint3d& point) {
    setField(m_base, point);
}

void AcDbRay::setUnitDir(const AcGeVector3d& direction) {
    assertWriteEnabled();
    if (!direction.isZeroLength()) m_direction = unit(direction);
}

Acad::ErrorStatus AcDbRay::getStartParam(double& param) const {
    param = 0;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRay::getEndParam(double&) const {
    return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbRay::getPointAtParam(double param, AcGePoint3d& point) const {
    if (param < 0) return Acad::eInvalidInput;
    point = m_base + m_direction * param;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRay::getParamAtPoint(const AcGePoint3d& point, double& param) const {
    double t = (point - m_base).dotProduct(m_direction);
    if (t < -1e-10 || (m_base + m_direction * t).distanceTo(point) > 1e-8) return Acad::eInvalidInput;
    param = std::max(t, 0.0);
    return Acad::eOk;
}

bool AcDbRay::subWorldDraw(AcGiWorldDraw* draw) {
    draw->geometry().ray(m_base, m_base + m_direction);
    return true;
}

Acad::ErrorStatus AcDbRay::subGetGeomExtents(AcDbExtents&) const {
    return Acad::eInvalidExtents;
}

Acad::ErrorStatus AcDbRay::subTransformBy(const AcGeMatrix3d& xform) {
    assertWriteEnabled();
    m_base.transformBy(xform);
    AcGeVector3d d = AcGeVector3d(m_direction).transformBy(xform);
    if (!d.isZeroLength()) m_direction = d.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRay::dwgInFields(AcDbDwgFiler* filer) {
    AcDbCurve::dwgInFields(filer);
    filer->readPoint3d(&m_base);
    AcGeVector3d direction;
    if (Acad::ErrorStatus es = filer->readVector3d(&direction); es != Acad::eOk) return es;
    // A ray has a direction; a file's may be a unit vector off by rounding, or none at all.
    const std::optional<AcGeVector3d> along = unitAlong(direction);
    if (!along) return Acad::eInvalidInput;
    m_direction = unit(direction);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbRay::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbCurve::dwgOutFields(filer);
    filer->writePoint3d(m_base);
    return filer->writeVector3d(m_direction);
}

Acad::ErrorStatus AcDbRay::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbCurve::dxfInFields(filer); es != Acad::eOk) return es;
    return readSubclass(filer, L"AcDbRay", [this](const resbuf& rb) {
        if (rb.restype == 10)
            m_base = asPoint(rb);
        else if (rb.restype == 11 && unitAlong(asVector(rb)))
            m_direction = unit(asVector(rb));
    });
}

Acad::ErrorStatus AcDbRay::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbCurve::dxfOutFields(filer);
    filer->writeString(100, L"AcDbRay");
    filer->writePoint3d(10, m_base);
    return filer->writeVector3d(11, m_direction);
}

// 3-D faces.

AcDbFace::AcDbFace(const AcGePoint3d& pt0, const AcGePoint3d& pt1, const AcGePoint3d& pt2,
                   const AcGePoint3d& pt3)
    : m_corners{pt0, pt1, pt2, pt3} {}

Acad::ErrorStatus AcDbFace::getVertexAt(Adesk::UInt16 index, AcGePoint3d& point) const {
    if (index > 3) return Acad::eInvalidIndex;
    point = m_corners[index];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::setVertexAt(Adesk::UInt16 index, const AcGePoint3d& point) {
    if (index > 3) return Acad::eInvalidIndex;
    assertWriteEnabled();
    m_corners[index] = point;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::isEdgeVisibleAt(Adesk::UInt16 index, bool& visible) const {
    if (index > 3) return Acad::eInvalidIndex;
    visible = !(m_invisibleEdges & (1 << index));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::makeEdgeInvisibleAt(Adesk::UInt16 index) {
    if (index > 3) return Acad::eInvalidIndex;
    assertWriteEnabled();
    m_invisibleEdges |= static_cast<Adesk::UInt16>(1 << index);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::makeEdgeVisibleAt(Adesk::UInt16 index) {
    if (index > 3) return Acad::eInvalidIndex;
    assertWriteEnabled();
    m_invisibleEdges &= static_cast<Adesk::UInt16>(~(1 << index));
    return Acad::eOk;
}

// A face is drawn as a wire: its visible edges, each from one corner to the next (the last back to the
// first); the edge a triangle closes on itself draws nothing.
bool AcDbFace::subWorldDraw(AcGiWorldDraw* draw) {
    for (int i = 0; i < 4; ++i) {
        const AcGePoint3d edge[2] = {m_corners[i], m_corners[(i + 1) % 4]};
        if (!(m_invisibleEdges & (1 << i)) && edge[0] != edge[1]) draw->geometry().polyline(2, edge);
    }
    return true;
}

Acad::ErrorStatus AcDbFace::subGetGeomExtents(AcDbExtents& extents) const {
    for (const AcGePoint3d& p : m_corners)
        extents.addPoint(p);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::subTransformBy(const AcGeMatrix3d& xform) {
    assertWriteEnabled();
    for (AcGePoint3d& p : m_corners)
        p.transformBy(xform);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::subGetGripPoints(AcGePoint3dArray& points, AcDbIntArray&, AcDbIntArray&) const {
    for (const AcGePoint3d& p : m_corners)
        points.append(p);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::subMoveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) {
    assertWriteEnabled();
    for (int i : indices)
        if (i >= 0 && i < 4) m_corners[i] += offset;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbFace::dwgInFields(AcDbDwgFiler* filer) {
    AcDbEntity::dwgInFields(filer);
    for (AcGePoint3d& p : m_corners)
        filer->readPoint3d(&p);
    filer->readUInt16(&m_invisibleEdges);
    m_invisibleEdges &= kEdgeBits; // one bit an edge, as in DXF
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbFace::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbEntity::dwgOutFields(filer);
    for (const AcGePoint3d& p : m_corners)
        filer->writePoint3d(p);
    return filer->writeUInt16(m_invisibleEdges);
}

Acad::ErrorStatus AcDbFace::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbEntity::dxfInFields(filer); es != Acad::eOk) return es;
    return readSubclass(filer, L"AcDbFace", [this](const resbuf& rb) {
        if (rb.restype >= 10 && rb.restype <= 13)
            m_corners[rb.restype - 10] = asPoint(rb);
        else if (rb.restype == 70)
            m_invisibleEdges = static_cast<Adesk::UInt16>(rb.resval.rint & kEdgeBits);
    });
}

Acad::ErrorStatus AcDbFace::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbEntity::dxfOutFields(filer);
    filer->writeString(100, L"AcDbFace");
    for (int i = 0; i < 4; ++i)
        filer->writePoint3d(10 + i, m_corners[i]);
    if (m_invisibleEdges) filer->writeInt16(70, static_cast<Adesk::Int16>(m_invisibleEdges));
    return filer->filerStatus();
}
