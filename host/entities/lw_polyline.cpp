#include "host/entities/lw_polyline.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "host/entities/counted_lists.h"
#include "host/entities/plane_polyline.h"
#include "host/ge/curve_geometry.h"

HOST_DEFINE_MEMBERS(AcDbPolyline, AcDbCurve, L"LWPOLYLINE")

namespace {
constexpr Adesk::Int16 kClosedFlag = 1;
constexpr Adesk::Int16 kPlinegenFlag = 128;
// The most vertices a file's count reserves before they are read (24 MB): a damaged count costs no more.
constexpr std::size_t kReservedVertices = std::size_t(1) << 20;

} // namespace

AcGeMatrix3d AcDbPolyline::planeToWorld() const {
    return host::planeToWorld(m_normal, m_elevation);
}

unsigned int AcDbPolyline::segmentCount() const {
    return static_cast<unsigned int>(host::segmentCount(numVerts(), m_closed));
}

std::vector<host::BulgeVertex> AcDbPolyline::bulgeVertices() const {
    std::vector<host::BulgeVertex> all;
    for (const Vertex& v : m_vertices)
        all.push_back({v.point, v.bulge});
    return all;
}

Acad::ErrorStatus AcDbPolyline::addVertexAt(unsigned int index, const AcGePoint2d& point, double bulge,
                                            double startWidth, double endWidth) {
    if (index > m_vertices.size()) return Acad::eInvalidIndex;
    assertWriteEnabled();
    insertVertex(index, {point, bulge},
                 {startWidth < 0 ? m_constantWidth : startWidth, endWidth < 0 ? m_constantWidth : endWidth});
    return Acad::eOk;
}

AcDbPolyline::Widths AcDbPolyline::widthsOf(unsigned int index) const {
    return m_widths.empty() ? Widths{m_constantWidth, m_constantWidth} : m_widths[index];
}

void AcDbPolyline::setWidths(unsigned int index, const Widths& w) {
    if (m_widths.empty()) {
        if (w == Widths{m_constantWidth, m_constantWidth}) return;
        m_widths.assign(m_vertices.size(), {m_constantWidth, m_constantWidth});
    }
    m_widths[index] = w;
}

void AcDbPolyline::insertVertex(unsigned int index, const Vertex& v, const Widths& w) {
    const bool ownWidths = !m_widths.empty() || w != Widths{m_constantWidth, m_constantWidth};
    if (ownWidths && m_widths.empty()) m_widths.assign(m_vertices.size(), {m_constantWidth, m_constantWidth});
    m_vertices.insert(m_vertices.begin() + index, v);
    if (ownWidths) m_widths.insert(m_widths.begin() + index, w);
}

void AcDbPolyline::compactWidths() {
    if (std::all_of(m_widths.begin(), m_widths.end(), [&](const Widths& w) {
            return w == Widths{m_constantWidth, m_constantWidth};
        }))
        m_widths.clear();
}

Acad::ErrorStatus AcDbPolyline::removeVertexAt(unsigned int index) {
    if (!valid(index)) return Acad::eInvalidIndex;
    assertWriteEnabled();
    m_vertices.erase(m_vertices.begin() + index);
    if (!m_widths.empty()) m_widths.erase(m_widths.begin() + index);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint2d& point) const {
    if (!valid(index)) return Acad::eInvalidIndex;
    point = m_vertices[index].point;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint3d& point) const {
    if (!valid(index)) return Acad::eInvalidIndex;
    const AcGePoint2d& p = m_vertices[index].point;
    point = AcGePoint3d(p.x, p.y, 0).transformBy(planeToWorld());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setPointAt(unsigned int index, const AcGePoint2d& point) {
    if (!valid(index)) return Acad::eInvalidIndex;
    assertWriteEnabled();
    m_vertices[index].point = point;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const {
    if (!valid(index)) return Acad::eInvalidIndex;
    bulge = m_vertices[index].bulge;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setBulgeAt(unsigned int index, double bulge) {
    if (!valid(index)) return Acad::eInvalidIndex;
    assertWriteEnabled();
    m_vertices[index].bulge = bulge;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const {
    if (!valid(index)) return Acad::eInvalidIndex;
    const Widths w = widthsOf(index);
    startWidth = w.start;
    endWidth = w.end;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setWidthsAt(unsigned int index, double startWidth, double endWidth) {
    if (!valid(index) || startWidth < 0 || endWidth < 0) return Acad::eInvalidInput;
    assertWriteEnabled();
    setWidths(index, {startWidth, endWidth});
    return Acad::eOk;
}

void AcDbPolyline::setClosed(bool closed) {
    setField(m_closed, closed);
}

void AcDbPolyline::setElevation(double elevation) {
    setField(m_elevation, elevation);
}

void AcDbPolyline::setNormal(const AcGeVector3d& normal) {
    assertWriteEnabled();
    if (!normal.isZeroLength()) m_normal = normal.normal();
}

Acad::ErrorStatus AcDbPolyline::setThickness(double thickness) {
    return setField(m_thickness, thickness);
}

Acad::ErrorStatus AcDbPolyline::getConstantWidth(double& width) const {
    width = m_constantWidth;
    for (const Widths& w : m_widths)
        if (w.start != m_constantWidth || w.end != m_constantWidth) return Acad::eNotApplicable;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setConstantWidth(double width) {
    if (width < 0) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_constantWidth = width;
    m_widths.clear();
    return Acad::eOk;
}

void AcDbPolyline::setPlinegen(bool plinegen) {
    setField(m_plinegen, plinegen);
}

bool AcDbPolyline::isOnlyLines() const {
    for (unsigned int i = 0; i < segmentCount(); ++i)
        if (m_vertices[i].bulge != 0) return false;
    return true;
}

Acad::ErrorStatus AcDbPolyline::getPlane(AcGePlane& plane, AcDb::Planarity& type) const {
    plane.set(AcGePoint3d::kOrigin + m_normal * m_elevation, m_normal);
    type = AcDb::kPlanar;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getStartParam(double& param) const {
    param = 0;
    return m_vertices.empty() ? Acad::eNotApplicable : Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getEndParam(double& param) const {
    param = segmentCount();
    return m_vertices.empty() ? Acad::eNotApplicable : Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAtParam(double param, AcGePoint3d& point) const {
    unsigned int segments = segmentCount();
    if (m_vertices.empty() || param < -1e-10 || param > segments + 1e-10) return Acad::eInvalidInput;
    unsigned int i = std::min(static_cast<unsigned int>(std::max(param, 0.0)), segments ? segments - 1 : 0);
    const Vertex& a = m_vertices[i];
    const Vertex& b = m_vertices[(i + 1) % numVerts()];
    AcGePoint2d p = segments
                        ? host::bulgeSegmentPoint(a.point, b.point, a.bulge, std::clamp(param - i, 0.0, 1.0))
                        : a.point;
    point = AcGePoint3d(p.x, p.y, 0).transformBy(planeToWorld());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getParamAtPoint(const AcGePoint3d& point, double& param) const {
    AcGePoint3d local = AcGePoint3d(point).transformBy(planeToWorld().inverse());
    if (std::abs(local.z) > 1e-8) return Acad::eInvalidInput;
    AcGePoint2d p = local.convert2d();
    for (unsigned int i = 0; i < segmentCount(); ++i) {
        const Vertex& a = m_vertices[i];
        const Vertex& b = m_vertices[(i + 1) % numVerts()];
        // Bisection on the fraction: segments are monotonic in their own parameter.
        double lo = 0, hi = 1;
        for (int k = 0; k < 60; ++k) {
            double m1 = lo + (hi - lo) / 3, m2 = hi - (hi - lo) / 3;
            if (host::bulgeSegmentPoint(a.point, b.point, a.bulge, m1).distanceTo(p) <
                host::bulgeSegmentPoint(a.point, b.point, a.bulge, m2).distanceTo(p))
                hi = m2;
            else
                lo = m1;
        }
        double t = (lo + hi) / 2;
        if (host::bulgeSegmentPoint(a.point, b.point, a.bulge, t).distanceTo(p) <= 1e-8) {
            param = i + t;
            return Acad::eOk;
        }
    }
    return Acad::eInvalidInput;
}

Acad::ErrorStatus AcDbPolyline::getDistAtParam(double param, double& dist) const {
    if (m_vertices.empty() || param < -1e-10 || param > segmentCount() + 1e-10) return Acad::eInvalidInput;
    dist = 0;
    for (unsigned int i = 0; i < segmentCount() && param > i; ++i) {
        const Vertex& a = m_vertices[i];
        const Vertex& b = m_vertices[(i + 1) % numVerts()];
        // The fraction of a segment is proportional to its length, for arcs as for lines.
        dist += std::min(1.0, param - i) * host::bulgeSegmentLength(a.point, b.point, a.bulge);
    }
    return Acad::eOk;
}

double AcDbPolyline::segmentLength(unsigned int segment) const {
    const Vertex& a = m_vertices[segment];
    const Vertex& b = m_vertices[(segment + 1) % numVerts()];
    return host::bulgeSegmentLength(a.point, b.point, a.bulge);
}

Acad::ErrorStatus AcDbPolyline::getParamAtDist(double dist, double& param) const {
    constexpr double kTolerance = 1e-4;
    if (m_vertices.empty() || !std::isfinite(dist) || dist < -kTolerance) return Acad::eInvalidInput;
    const unsigned int segments = segmentCount();
    double walked = 0;
    for (unsigned int i = 0; i < segments; ++i) {
        const double length = segmentLength(i);
        if (dist <= walked + length) {
            param = i + (length > 0 ? std::max(0.0, dist - walked) / length : 0.0);
            return Acad::eOk;
        }
        walked += length;
    }
    if (dist > walked + kTolerance) return Acad::eInvalidInput;
    param = segments;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::derivative(double param, int order, AcGeVector3d& deriv) const {
    const unsigned int segments = segmentCount();
    if (segments == 0 || !(param >= -1e-10 && param <= segments + 1e-10)) return Acad::eInvalidInput;
    const unsigned int i = std::min(static_cast<unsigned int>(std::max(param, 0.0)), segments - 1);
    const Vertex& a = m_vertices[i];
    const Vertex& b = m_vertices[(i + 1) % numVerts()];
    AcGeVector2d local = order == 1 ? b.point - a.point : AcGeVector2d(0, 0);
    if (a.bulge != 0 && a.point != b.point) {
        AcGePoint2d center;
        double radius = 0;
        host::bulgeArc(a.point, b.point, a.bulge, center, radius);
        const double sweep = 4 * std::atan(a.bulge);
        const AcGeVector2d radial =
            host::bulgeSegmentPoint(a.point, b.point, a.bulge, std::clamp(param - i, 0.0, 1.0)) - center;
        // Turning at `sweep` radians per unit: the tangent is the radius turned a quarter, scaled by the
        // sweep; the second derivative points back to the centre.
        local = order == 1 ? AcGeVector2d(-radial.y, radial.x) * sweep : radial * (-sweep * sweep);
    }
    deriv = AcGeVector3d(local.x, local.y, 0).transformBy(planeToWorld());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getFirstDeriv(double param, AcGeVector3d& deriv) const {
    return derivative(param, 1, deriv);
}

Acad::ErrorStatus AcDbPolyline::getSecondDeriv(double param, AcGeVector3d& deriv) const {
    return derivative(param, 2, deriv);
}

Acad::ErrorStatus AcDbPolyline::getFirstDeriv(const AcGePoint3d& point, AcGeVector3d& deriv) const {
    double param = 0;
    const Acad::ErrorStatus es = getParamAtPoint(point, param);
    return es == Acad::eOk ? derivative(param, 1, deriv) : es;
}

Acad::ErrorStatus AcDbPolyline::getSecondDeriv(const AcGePoint3d& point, AcGeVector3d& deriv) const {
    double param = 0;
    const Acad::ErrorStatus es = getParamAtPoint(point, param);
    return es == Acad::eOk ? derivative(param, 2, deriv) : es;
}

Acad::ErrorStatus AcDbPolyline::getClosestPointTo(const AcGePoint3d& givenPoint, AcGePoint3d& pointOnCurve,
                                                  bool) const {
    if (m_vertices.empty() || !std::isfinite(givenPoint.x) || !std::isfinite(givenPoint.y) ||
        !std::isfinite(givenPoint.z))
        return Acad::eInvalidInput;
    const AcGeMatrix3d toWorld = planeToWorld();
    const AcGePoint2d p = AcGePoint3d(givenPoint).transformBy(toWorld.inverse()).convert2d();
    AcGePoint2d best = m_vertices.front().point;
    for (unsigned int i = 0; i < segmentCount(); ++i) {
        const Vertex& a = m_vertices[i];
        const Vertex& b = m_vertices[(i + 1) % numVerts()];
        const AcGePoint2d q = host::bulgeSegmentNearest(a.point, b.point, a.bulge, p);
        if (q.distanceTo(p) < best.distanceTo(p)) best = q;
    }
    pointOnCurve = AcGePoint3d(best.x, best.y, 0).transformBy(toWorld);
    return Acad::eOk;
}

AcDbPolyline* AcDbPolyline::piece(double from, double to) const {
    auto result = std::make_unique<AcDbPolyline>();
    result->setPropertiesFrom(this);
    result->m_normal = m_normal;
    result->m_elevation = m_elevation;
    result->m_thickness = m_thickness;
    result->m_constantWidth = m_constantWidth;
    result->m_plinegen = m_plinegen;
    // Each segment met contributes its part from max(from, i) to min(to, i + 1): the arc keeps its centre
    // through the bulge of the part's own sweep, the widths are interpolated at the part's ends.
    const auto first = static_cast<unsigned int>(std::floor(from));
    for (unsigned int i = first; i < segmentCount() && i < to; ++i) {
        const Vertex& a = m_vertices[i];
        const Vertex& b = m_vertices[(i + 1) % numVerts()];
        const Widths w = widthsOf(i);
        const double t0 = std::max(from - i, 0.0), t1 = std::min(to - i, 1.0);
        if (t1 - t0 <= 1e-10) continue;
        const double sweep = 4 * std::atan(a.bulge) * (t1 - t0);
        result->insertVertex(result->numVerts(),
                             {host::bulgeSegmentPoint(a.point, b.point, a.bulge, t0), std::tan(sweep / 4)},
                             {w.start + (w.end - w.start) * t0, w.start + (w.end - w.start) * t1});
    }
    const unsigned int tail = std::min(static_cast<unsigned int>(to), segmentCount() - 1);
    const Vertex& a = m_vertices[tail];
    const Vertex& b = m_vertices[(tail + 1) % numVerts()];
    const Widths w = widthsOf(tail);
    const double t = to - tail, width = w.start + (w.end - w.start) * t;
    result->insertVertex(result->numVerts(), {host::bulgeSegmentPoint(a.point, b.point, a.bulge, t), 0},
                         {width, width});
    return result.release();
}

Acad::ErrorStatus AcDbPolyline::getSplitCurves(const AcGeDoubleArray& params,
                                               AcDbVoidPtrArray& curveSegments) const {
    assertReadEnabled();
    const double end = segmentCount();
    std::vector<double> cuts;
    for (double p : params)
        if (std::isfinite(p) && p > 1e-10 && p < end - 1e-10) cuts.push_back(p);
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end(), [](double a, double b) { return b - a <= 1e-10; }),
               cuts.end());
    if (cuts.empty()) return Acad::eInvalidInput;
    cuts.insert(cuts.begin(), 0.0);
    cuts.push_back(end);
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i)
        curveSegments.append(piece(cuts[i], cuts[i + 1]));
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getSplitCurves(const AcGePoint3dArray& points,
                                               AcDbVoidPtrArray& curveSegments) const {
    AcGeDoubleArray params;
    for (const AcGePoint3d& point : points) {
        double param = -1;
        if (getParamAtPoint(point, param) == Acad::eOk) params.append(param);
    }
    return getSplitCurves(params, curveSegments);
}

Acad::ErrorStatus AcDbPolyline::getArea(double& area) const {
    // Shoelace over the chords plus the circular segment of each arc.
    area = 0;
    unsigned int n = numVerts();
    for (unsigned int i = 0; i < n; ++i) {
        const Vertex& a = m_vertices[i];
        const Vertex& b = m_vertices[(i + 1) % n];
        area += (a.point.x * b.point.y - b.point.x * a.point.y) / 2;
        if (a.bulge != 0 && (m_closed || i + 1 < n)) {
            double chord = a.point.distanceTo(b.point);
            double theta = 4 * std::atan(a.bulge);
            double radius = chord / (2 * std::sin(std::abs(theta) / 2));
            area +=
                (theta > 0 ? 1 : -1) * radius * radius * (std::abs(theta) - std::sin(std::abs(theta))) / 2;
        }
    }
    area = std::abs(area);
    return Acad::eOk;
}

bool AcDbPolyline::tessellate(AcGePoint3dArray& points, double deviation) const {
    host::tessellatePolyline(points, bulgeVertices(), m_closed, planeToWorld(), deviation);
    return true;
}

Acad::ErrorStatus AcDbPolyline::subTransformBy(const AcGeMatrix3d& xform) {
    std::optional<host::PlaneTransform> plane = host::PlaneTransform::of(m_normal, m_elevation, xform);
    if (!plane) return Acad::eInvalidInput;
    assertWriteEnabled();
    m_normal = plane->normal();
    for (Vertex& v : m_vertices) {
        AcGePoint3d local = plane->apply(v.point);
        v.point = local.convert2d();
        m_elevation = local.z;
        if (plane->mirrored()) v.bulge = -v.bulge;
    }
    for (Widths& w : m_widths) {
        w.start *= plane->scale();
        w.end *= plane->scale();
    }
    if (m_vertices.empty()) m_elevation = plane->apply(AcGePoint2d()).z;
    m_constantWidth *= plane->scale();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::subGetGripPoints(AcGePoint3dArray& points, AcDbIntArray&,
                                                 AcDbIntArray&) const {
    for (unsigned int i = 0; i < numVerts(); ++i) {
        AcGePoint3d p;
        getPointAt(i, p);
        points.append(p);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::subMoveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) {
    assertWriteEnabled();
    AcGeVector3d local = AcGeVector3d(offset).transformBy(AcGeMatrix3d::worldToPlane(m_normal));
    for (int i : indices)
        if (i >= 0 && valid(static_cast<unsigned int>(i)))
            m_vertices[i].point = m_vertices[i].point + AcGeVector2d(local.x, local.y);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::subExplode(AcDbVoidPtrArray& entities) const {
    assertReadEnabled();
    host::explodePolyline(entities, bulgeVertices(), m_closed, planeToWorld(), m_normal, *this);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::dwgInFields(AcDbDwgFiler* filer) {
    AcDbCurve::dwgInFields(filer);
    filer->readBool(&m_closed);
    filer->readBool(&m_plinegen);
    filer->readDouble(&m_elevation);
    filer->readDouble(&m_thickness);
    filer->readDouble(&m_constantWidth);
    readNormal(filer, m_normal);
    m_vertices.clear();
    m_widths.clear();
    host::readCounted(filer, [&] {
        Vertex v;
        Widths w;
        filer->readPoint2d(&v.point);
        filer->readDouble(&v.bulge);
        filer->readDouble(&w.start);
        filer->readDouble(&w.end);
        insertVertex(numVerts(), v, w);
    });
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbPolyline::dwgOutFields(AcDbDwgFiler* filer) const {
    AcDbCurve::dwgOutFields(filer);
    filer->writeBool(m_closed);
    filer->writeBool(m_plinegen);
    filer->writeDouble(m_elevation);
    filer->writeDouble(m_thickness);
    filer->writeDouble(m_constantWidth);
    filer->writeVector3d(m_normal);
    filer->writeInt32(static_cast<Adesk::Int32>(m_vertices.size()));
    for (unsigned int i = 0; i < numVerts(); ++i) {
        const Widths w = widthsOf(i);
        filer->writePoint2d(m_vertices[i].point);
        filer->writeDouble(m_vertices[i].bulge);
        filer->writeDouble(w.start);
        filer->writeDouble(w.end);
    }
    return filer->filerStatus();
}

Acad::ErrorStatus AcDbPolyline::dxfInFields(AcDbDxfFiler* filer) {
    if (Acad::ErrorStatus es = AcDbCurve::dxfInFields(filer); es != Acad::eOk) return es;
    m_vertices.clear();
    m_widths.clear();
    const Acad::ErrorStatus es = readSubclass(filer, L"AcDbPolyline", [this](const resbuf& rb) {
        if (readThicknessOrNormal(rb, m_thickness, m_normal)) return;
        switch (rb.restype) {
        case 90:
            // The count reserves the vertices at once (a growing list would hold its old and new copies
            // together); a count out of proportion reserves no more than a bound, and the list is fitted
            // after.
            if (rb.resval.rlong > 0)
                m_vertices.reserve(std::min(static_cast<std::size_t>(rb.resval.rlong), kReservedVertices));
            break;
        case 70:
            m_closed = rb.resval.rint & kClosedFlag;
            m_plinegen = rb.resval.rint & kPlinegenFlag;
            break;
        case 43:
            // Vertices read before keep the width they were read with.
            if (!m_vertices.empty() && m_widths.empty())
                m_widths.assign(m_vertices.size(), {m_constantWidth, m_constantWidth});
            m_constantWidth = rb.resval.rreal;
            break;
        case 38:
            m_elevation = rb.resval.rreal;
            break;
        case 10:
            insertVertex(numVerts(), {AcGePoint2d(rb.resval.rpoint[0], rb.resval.rpoint[1]), 0},
                         {m_constantWidth, m_constantWidth});
            break;
        case 40:
            if (!m_vertices.empty())
                setWidths(numVerts() - 1, {rb.resval.rreal, widthsOf(numVerts() - 1).end});
            break;
        case 41:
            if (!m_vertices.empty())
                setWidths(numVerts() - 1, {widthsOf(numVerts() - 1).start, rb.resval.rreal});
            break;
        case 42:
            if (!m_vertices.empty()) m_vertices.back().bulge = rb.resval.rreal;
            break;
        default:
            break;
        }
    });
    compactWidths();
    if (m_vertices.capacity() > 2 * m_vertices.size()) m_vertices.shrink_to_fit();
    return es;
}

Acad::ErrorStatus AcDbPolyline::dxfOutFields(AcDbDxfFiler* filer) const {
    AcDbCurve::dxfOutFields(filer);
    filer->writeString(100, L"AcDbPolyline");
    filer->writeInt32(90, static_cast<Adesk::Int32>(m_vertices.size()));
    filer->writeInt16(
        70, static_cast<Adesk::Int16>((m_closed ? kClosedFlag : 0) | (m_plinegen ? kPlinegenFlag : 0)));
    if (m_constantWidth != 0) filer->writeDouble(43, m_constantWidth);
    if (m_elevation != 0) filer->writeDouble(38, m_elevation);
    if (m_thickness != 0) filer->writeDouble(39, m_thickness);
    for (unsigned int i = 0; i < numVerts(); ++i) {
        const Vertex& v = m_vertices[i];
        filer->writePoint2d(10, v.point);
        if (const Widths w = widthsOf(i); w != Widths{m_constantWidth, m_constantWidth}) {
            filer->writeDouble(40, w.start);
            filer->writeDouble(41, w.end);
        }
        if (v.bulge != 0) filer->writeDouble(42, v.bulge);
    }
    if (m_normal != AcGeVector3d::kZAxis) filer->writeVector3d(210, m_normal);
    return filer->filerStatus();
}
