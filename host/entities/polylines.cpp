#include "host/entities/polylines.h"

#include "host/db/database.h"
#include "host/db/enum_values.h"
#include "host/entities/line.h"
#include "host/entities/plane_polyline.h"
#include "host/filing/dwg_filer.h"
#include "host/ge/curve_geometry.h"

HOST_DEFINE_MEMBERS(AcDb2dPolyline, AcDbCurve, L"POLYLINE")
HOST_DEFINE_MEMBERS(AcDb3dPolyline, AcDbCurve, L"POLYLINE")

namespace {
// Polyline flags of drawing files.
constexpr Adesk::Int16 kClosed = 1, kCurveFit = 2, kSplineFit = 4, k3dPolyline = 8, kPlinegen = 128;

// The vertex index of a parameter and the fraction along its segment; false past the ends.
bool splitParam(double param, std::size_t count, bool closed, std::size_t& index, double& fraction) {
    std::size_t segments = host::segmentCount(count, closed);
    if (count == 0 || param < -1e-10 || param > static_cast<double>(segments) + 1e-10) return false;
    index = segments ? std::min(static_cast<std::size_t>(std::max(param, 0.0)), segments - 1) : 0;
    fraction = segments ? std::clamp(param - static_cast<double>(index), 0.0, 1.0) : 0.0;
    return true;
}
} // namespace

// 2-D polylines.

AcDb2dPolyline::AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices, double elevation,
                               bool closed, double defaultStartWidth, double defaultEndWidth,
                               const AcGeDoubleArray* bulges)
    : SequencePolyline(closed), m_type(type), m_elevation(elevation), m_startWidth(defaultStartWidth),
      m_endWidth(defaultEndWidth) {
    for (int i = 0; i < vertices.length(); ++i) {
        double bulge = bulges && i < bulges->length() ? (*bulges)[i] : 0;
        appendVertex(new AcDb2dVertex(vertices[i], bulge, defaultStartWidth, defaultEndWidth));
    }
}

AcGeMatrix3d AcDb2dPolyline::planeToWorld() const {
    return host::planeToWorld(m_normal, m_elevation);
}

AcGePoint3d AcDb2dPolyline::vertexPosition(const AcDb2dVertex& vertex) const {
    AcGePoint3d p = vertex.position();
    return AcGePoint3d(p.x, p.y, 0).transformBy(planeToWorld());
}

Acad::ErrorStatus AcDb2dPolyline::setPolyType(AcDb::Poly2dType type) {
    return setField(m_type, type);
}

Acad::ErrorStatus AcDb2dPolyline::setElevation(double elevation) {
    return setField(m_elevation, elevation);
}

Acad::ErrorStatus AcDb2dPolyline::setNormal(const AcGeVector3d& normal) {
    return setNormalField(m_normal, normal);
}

Acad::ErrorStatus AcDb2dPolyline::setThickness(double thickness) {
    return setField(m_thickness, thickness);
}

Acad::ErrorStatus AcDb2dPolyline::setDefaultStartWidth(double width) {
    return setField(m_startWidth, width);
}

Acad::ErrorStatus AcDb2dPolyline::setDefaultEndWidth(double width) {
    return setField(m_endWidth, width);
}

Acad::ErrorStatus AcDb2dPolyline::setLinetypeGenerationOn() {
    assertWriteEnabled();
    m_plinegen = true;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::getPointAtParam(double param, AcGePoint3d& point) const {
    std::vector<AcDbVertex*> all = m_sequence.vertices();
    std::size_t i = 0;
    double t = 0;
    if (!splitParam(param, all.size(), m_closed, i, t)) return Acad::eInvalidInput;
    auto* a = static_cast<AcDb2dVertex*>(all[i]);
    auto* b = static_cast<AcDb2dVertex*>(all[(i + 1) % all.size()]);
    AcGePoint2d p =
        host::bulgeSegmentPoint(a->position().convert2d(), b->position().convert2d(), a->bulge(), t);
    point = AcGePoint3d(p.x, p.y, 0).transformBy(planeToWorld());
    return Acad::eOk;
}

std::vector<host::BulgeVertex> AcDb2dPolyline::shownVertices() const {
    std::vector<host::BulgeVertex> shown;
    for (AcDbVertex* v : m_sequence.vertices())
        if (auto* vertex = static_cast<AcDb2dVertex*>(v); vertex->vertexType() != AcDb::k2dSplineCtlVertex)
            shown.push_back({vertex->position().convert2d(), vertex->bulge()});
    return shown;
}

Acad::ErrorStatus AcDb2dPolyline::subExplode(AcDbVoidPtrArray& entities) const {
    assertReadEnabled();
    host::explodePolyline(entities, shownVertices(), m_closed, planeToWorld(), m_normal, *this);
    return Acad::eOk;
}

bool AcDb2dPolyline::tessellate(AcGePoint3dArray& points, double deviation) const {
    host::tessellatePolyline(points, shownVertices(), m_closed, planeToWorld(), deviation);
    return true;
}

Acad::ErrorStatus AcDb2dPolyline::subTransformBy(const AcGeMatrix3d& xform) {
    std::optional<host::PlaneTransform> plane = host::PlaneTransform::of(m_normal, m_elevation, xform);
    if (!plane) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_normal = plane->normal();
    m_elevation = plane->apply(AcGePoint2d()).z;
    m_sequence.changeParts<AcDbVertex>([&](AcDbVertex* v) {
        auto* vertex = static_cast<AcDb2dVertex*>(v);
        AcGePoint3d p = vertex->position();
        AcGePoint3d local = plane->apply(p.convert2d());
        vertex->setPosition(AcGePoint3d(local.x, local.y, p.z));
        if (plane->mirrored()) vertex->setBulge(-vertex->bulge());
        vertex->setStartWidth(vertex->startWidth() * plane->scale());
        vertex->setEndWidth(vertex->endWidth() * plane->scale());
    });
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::dwgInFields(AcDbDwgFiler* filer) {
    AcDbCurve::dwgInFields(filer);
    Adesk::Int16 type = 0;
    filer->readInt16(&type);
    filer->readBool(&m_closed);
    filer->readBool(&m_plinegen);
    filer->readDouble(&m_elevation);
    filer->readDouble(&m_thickness);
    filer->readDouble(&m_startWidth);
    filer->readDouble(&m_endWidth);
    readNormal(filer, m_normal);
    m_type = host::enumOrDefault(
        type, {AcDb::k2dSimplePoly, AcDb::k2dFitCurvePoly, AcDb::k2dQuadSplinePoly, AcDb::k2dCubicSplinePoly},
        AcDb::k2dSimplePoly);
    m_sequence.dwgIn(filer, AcDb2dVertex::desc());
    return filer->filerStatus();
}

Acad::ErrorStatus AcDb2dPolyline::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbCurve::dwgOutFields(filer);
    filer->writeInt16(static_cast<Adesk::Int16>(m_type));
    filer->writeBool(m_closed);
    filer->writeBool(m_plinegen);
    filer->writeDouble(m_elevation);
    filer->writeDouble(m_thickness);
    filer->writeDouble(m_startWidth);
    filer->writeDouble(m_endWidth);
    filer->writeVector3d(m_normal);
    m_sequence.dwgOut(filer);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDb2dPolyline::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbCurve::dxfInFields(filer); es != Acad::eOk) return es;
    return readSubclass(filer, L"AcDb2dPolyline", [this](const resbuf& rb) {
        if (readThicknessOrNormal(rb, m_thickness, m_normal)) return;
        switch (rb.restype) {
        case 10:
            m_elevation = rb.resval.rpoint[2];
            break;
        case 40:
            m_startWidth = rb.resval.rreal;
            break;
        case 41:
            m_endWidth = rb.resval.rreal;
            break;
        case 70:
            m_closed = rb.resval.rint & kClosed;
            m_plinegen = rb.resval.rint & kPlinegen;
            if (rb.resval.rint & kCurveFit) m_type = AcDb::k2dFitCurvePoly;
            break;
        case 75:
            m_type = rb.resval.rint == 5   ? AcDb::k2dQuadSplinePoly
                     : rb.resval.rint == 6 ? AcDb::k2dCubicSplinePoly
                                           : m_type;
            break;
        default:
            break;
        }
    });
}

Acad::ErrorStatus AcDb2dPolyline::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbCurve::dxfOutFields(filer);
    filer->writeString(100, L"AcDb2dPolyline");
    filer->writeInt16(66, 1);
    filer->writePoint3d(10, AcGePoint3d(0, 0, m_elevation));
    if (m_thickness != 0) filer->writeDouble(39, m_thickness);
    bool spline = m_type == AcDb::k2dQuadSplinePoly || m_type == AcDb::k2dCubicSplinePoly;
    filer->writeInt16(70, static_cast<Adesk::Int16>(
                              (m_closed ? kClosed : 0) | (m_type == AcDb::k2dFitCurvePoly ? kCurveFit : 0) |
                              (spline ? kSplineFit : 0) | (m_plinegen ? kPlinegen : 0)));
    if (m_startWidth != 0) filer->writeDouble(40, m_startWidth);
    if (m_endWidth != 0) filer->writeDouble(41, m_endWidth);
    if (spline) filer->writeInt16(75, m_type == AcDb::k2dQuadSplinePoly ? 5 : 6);
    if (m_normal != AcGeVector3d::kZAxis) filer->writeVector3d(210, m_normal);
    return filer->filerStatus();
}

// 3-D polylines.

AcDb3dPolyline::AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices, bool closed)
    : SequencePolyline(closed), m_type(type) {
    for (const AcGePoint3d& p : vertices)
        appendVertex(new AcDb3dPolylineVertex(p));
}

Acad::ErrorStatus AcDb3dPolyline::setPolyType(AcDb::Poly3dType type) {
    return setField(m_type, type);
}

Acad::ErrorStatus AcDb3dPolyline::getPointAtParam(double param, AcGePoint3d& point) const {
    std::vector<AcDbVertex*> all = m_sequence.vertices();
    std::size_t i = 0;
    double t = 0;
    if (!splitParam(param, all.size(), m_closed, i, t)) return Acad::eInvalidInput;
    AcGePoint3d a = all[i]->position(), b = all[(i + 1) % all.size()]->position();
    point = a + (b - a) * t;
    return Acad::eOk;
}

bool AcDb3dPolyline::tessellate(AcGePoint3dArray& points, double) const {
    points.removeAll();
    std::vector<AcDbVertex*> all = m_sequence.vertices();
    for (AcDbVertex* v : all)
        if (static_cast<AcDb3dPolylineVertex*>(v)->vertexType() != AcDb::k3dControlVertex)
            points.append(v->position());
    if (m_closed && points.length() > 1) points.append(points.first());
    return true;
}

Acad::ErrorStatus AcDb3dPolyline::subExplode(AcDbVoidPtrArray& entities) const {
    assertReadEnabled();
    AcGePoint3dArray points;
    tessellate(points, 0);
    for (int i = 0; i + 1 < points.length(); ++i) {
        auto* line = new AcDbLine(points[i], points[i + 1]);
        line->setPropertiesFrom(this);
        entities.append(line);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::subTransformBy(const AcGeMatrix3d& xform) {
    assertWriteEnabled();
    m_sequence.changeParts<AcDbVertex>(
        [&](AcDbVertex* v) { v->setPosition(v->position().transformBy(xform)); });
    return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::dwgInFields(AcDbDwgFiler* filer) {
    AcDbCurve::dwgInFields(filer);
    Adesk::Int16 type = 0;
    filer->readInt16(&type);
    filer->readBool(&m_closed);
    m_type = host::enumOrDefault(
        type, {AcDb::k3dSimplePoly, AcDb::k3dQuadSplinePoly, AcDb::k3dCubicSplinePoly}, AcDb::k3dSimplePoly);
    m_sequence.dwgIn(filer, AcDb3dPolylineVertex::desc());
    return filer->filerStatus();
}

Acad::ErrorStatus AcDb3dPolyline::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbCurve::dwgOutFields(filer);
    filer->writeInt16(static_cast<Adesk::Int16>(m_type));
    filer->writeBool(m_closed);
    m_sequence.dwgOut(filer);
    return filer->filerStatus();
}

Acad::ErrorStatus AcDb3dPolyline::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbCurve::dxfInFields(filer); es != Acad::eOk) return es;
    return readSubclass(filer, L"AcDb3dPolyline", [this](const resbuf& rb) {
        if (rb.restype == 70)
            m_closed = rb.resval.rint & kClosed;
        else if (rb.restype == 75)
            m_type = rb.resval.rint == 5   ? AcDb::k3dQuadSplinePoly
                     : rb.resval.rint == 6 ? AcDb::k3dCubicSplinePoly
                                           : AcDb::k3dSimplePoly;
    });
}

Acad::ErrorStatus AcDb3dPolyline::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbCurve::dxfOutFields(filer);
    filer->writeString(100, L"AcDb3dPolyline");
    filer->writeInt16(66, 1);
    filer->writePoint3d(10, AcGePoint3d());
    bool spline = m_type != AcDb::k3dSimplePoly;
    filer->writeInt16(
        70, static_cast<Adesk::Int16>(k3dPolyline | (m_closed ? kClosed : 0) | (spline ? kSplineFit : 0)));
    if (spline) filer->writeInt16(75, m_type == AcDb::k3dQuadSplinePoly ? 5 : 6);
    return filer->filerStatus();
}
