#include "tests/host/test_segment.h"

#include <algorithm>

#include "host/filing/dwg_filer.h"
#include "host/filing/dxf_filer.h"

HOST_DEFINE_MEMBERS(TestSegment, AcDbCurve, L"TESTSEGMENT")

Acad::ErrorStatus TestSegment::getStartPoint(AcGePoint3d& p) const {
    p = m_start;
    return Acad::eOk;
}

Acad::ErrorStatus TestSegment::getEndPoint(AcGePoint3d& p) const {
    p = m_end;
    return Acad::eOk;
}

Acad::ErrorStatus TestSegment::getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& onCurve,
                                                 bool extend) const {
    AcGeVector3d d = m_end - m_start;
    double len2 = d.dotProduct(d);
    double t = len2 > 0 ? (given - m_start).dotProduct(d) / len2 : 0.0;
    if (!extend) t = std::clamp(t, 0.0, 1.0);
    onCurve = m_start + d * t;
    return Acad::eOk;
}

Acad::ErrorStatus TestSegment::extend(bool extendStart, const AcGePoint3d& toPoint) {
    assertWriteEnabled();
    (extendStart ? m_start : m_end) = toPoint;
    return Acad::eOk;
}

Acad::ErrorStatus TestSegment::subGetGeomExtents(AcDbExtents& extents) const {
    extents = AcDbExtents();
    extents.addPoint(m_start);
    extents.addPoint(m_end);
    return Acad::eOk;
}

bool TestSegment::subWorldDraw(AcGiWorldDraw* draw) {
    const AcGePoint3d points[] = {m_start, m_end};
    draw->geometry().polyline(2, points);
    return true;
}

Acad::ErrorStatus TestSegment::subGetOsnapPoints(AcDb::OsnapMode mode, Adesk::GsMarker,
                                                 const AcGePoint3d& pick, const AcGePoint3d&,
                                                 const AcGeMatrix3d&, AcGePoint3dArray& points,
                                                 AcDbIntArray&) const {
    AcGePoint3d near;
    switch (mode) {
    case AcDb::kOsModeEnd:
        points.append(m_start);
        points.append(m_end);
        break;
    case AcDb::kOsModeMid:
        points.append(m_start + (m_end - m_start) * 0.5);
        break;
    case AcDb::kOsModeNear:
        getClosestPointTo(pick, near);
        points.append(near);
        break;
    default:
        break;
    }
    return Acad::eOk;
}

Acad::ErrorStatus TestSegment::subIntersectWith(const AcDbEntity* other, AcDb::Intersect type,
                                                AcGePoint3dArray& points, Adesk::GsMarker,
                                                Adesk::GsMarker) const {
    const TestSegment* s = TestSegment::cast(other);
    if (!s) return Acad::eNotImplementedYet;
    // In plan: this line (a + t d) against the other (b + u e).
    AcGeVector3d d = m_end - m_start, e = s->m_end - s->m_start;
    double den = d.x * e.y - d.y * e.x;
    if (den == 0) return Acad::eOk;
    AcGeVector3d w = s->m_start - m_start;
    double t = (w.x * e.y - w.y * e.x) / den;
    double u = (w.x * d.y - w.y * d.x) / den;
    bool thisFree = type == AcDb::kExtendThis || type == AcDb::kExtendBoth;
    bool otherFree = type == AcDb::kExtendArg || type == AcDb::kExtendBoth;
    if ((thisFree || (t >= 0 && t <= 1)) && (otherFree || (u >= 0 && u <= 1))) points.append(m_start + d * t);
    return Acad::eOk;
}

Acad::ErrorStatus TestSegment::dwgInFields(AcDbDwgFiler* filer) {
    AcDbCurve::dwgInFields(filer);
    filer->readPoint3d(&m_start);
    return filer->readPoint3d(&m_end);
}

Acad::ErrorStatus TestSegment::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbCurve::dwgOutFields(filer);
    filer->writePoint3d(m_start);
    return filer->writePoint3d(m_end);
}

Acad::ErrorStatus TestSegment::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbCurve::dxfInFields(filer); es != Acad::eOk) return es;
    if (!filer->atSubclassData(L"TestSegment")) return Acad::eBadDxfSequence;
    return host::readSubclassGroups(filer, [this](const resbuf& rb) {
        if (rb.restype == 10) m_start = asPoint(rb);
        if (rb.restype == 11) m_end = asPoint(rb);
    });
}

Acad::ErrorStatus TestSegment::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbCurve::dxfOutFields(filer);
    filer->writeString(100, L"TestSegment");
    filer->writePoint3d(10, m_start);
    return filer->writePoint3d(11, m_end);
}
