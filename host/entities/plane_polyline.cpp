#include "host/entities/plane_polyline.h"

#include "host/entities/circle_arc.h"
#include "host/entities/line.h"
#include "host/ge/curve_geometry.h"

namespace host {

namespace {
AcDbCurve* segmentEntity(const AcGePoint2d& a, const AcGePoint2d& b, double bulge,
                         const AcGeMatrix3d& planeToWorld, const AcGeVector3d& normal) {
    auto world = [&](const AcGePoint2d& p) { return AcGePoint3d(p.x, p.y, 0).transformBy(planeToWorld); };
    if (bulge == 0 || a.isEqualTo(b)) return new AcDbLine(world(a), world(b));
    AcGePoint2d center;
    double radius = 0;
    bulgeArc(a, b, bulge, center, radius);
    double sa = std::atan2(a.y - center.y, a.x - center.x);
    double sb = std::atan2(b.y - center.y, b.x - center.x);
    // Arcs run counter-clockwise: a clockwise segment is the arc from its end to its start.
    return bulge > 0 ? new AcDbArc(world(center), normal, radius, sa, sb)
                     : new AcDbArc(world(center), normal, radius, sb, sa);
}

AcGePoint3d flat(const AcGePoint2d& p) {
    return AcGePoint3d(p.x, p.y, 0);
}
} // namespace

AcGeMatrix3d planeToWorld(const AcGeVector3d& normal, double elevation) {
    return AcGeMatrix3d::planeToWorld(normal) * AcGeMatrix3d::translation(AcGeVector3d(0, 0, elevation));
}

std::optional<PlaneTransform> PlaneTransform::of(const AcGeVector3d& normal, double elevation,
                                                 const AcGeMatrix3d& xform) {
    AcGeVector3d newNormal = AcGeVector3d(normal).transformBy(xform);
    if (newNormal.isZeroLength()) return std::nullopt;
    PlaneTransform t;
    AcGeVector3d x = AcGeVector3d(ocsXAxis(normal)).transformBy(xform);
    AcGeVector3d y = AcGeVector3d(normal.crossProduct(ocsXAxis(normal))).transformBy(xform);
    t.m_mirrored = x.crossProduct(y).dotProduct(newNormal) < 0;
    t.m_scale = x.length();
    t.m_normal = newNormal.normal();
    t.m_toWorld = planeToWorld(normal, elevation);
    t.m_xform = xform;
    t.m_toPlane = AcGeMatrix3d::worldToPlane(t.m_normal);
    return t;
}

AcGePoint3d PlaneTransform::apply(const AcGePoint2d& point) const {
    return flat(point).transformBy(m_toWorld).transformBy(m_xform).transformBy(m_toPlane);
}

std::size_t segmentCount(std::size_t vertices, bool closed) {
    return vertices < 2 ? 0 : closed ? vertices : vertices - 1;
}

void tessellatePolyline(AcGePoint3dArray& points, const std::vector<BulgeVertex>& vertices, bool closed,
                        const AcGeMatrix3d& toWorld, double deviation) {
    points.removeAll();
    std::size_t n = vertices.size();
    for (std::size_t i = 0; i < segmentCount(n, closed); ++i)
        appendBulgeSegment(points, flat(vertices[i].point), flat(vertices[(i + 1) % n].point),
                           vertices[i].bulge, deviation);
    if (n > 0) points.append(flat(vertices[closed ? 0 : n - 1].point));
    for (AcGePoint3d& p : points)
        p.transformBy(toWorld);
}

void explodePolyline(AcDbVoidPtrArray& entities, const std::vector<BulgeVertex>& vertices, bool closed,
                     const AcGeMatrix3d& toWorld, const AcGeVector3d& normal, const AcDbEntity& owner) {
    std::size_t n = vertices.size();
    for (std::size_t i = 0; i < segmentCount(n, closed); ++i) {
        AcDbCurve* piece =
            segmentEntity(vertices[i].point, vertices[(i + 1) % n].point, vertices[i].bulge, toWorld, normal);
        piece->setPropertiesFrom(&owner);
        entities.append(piece);
    }
}

} // namespace host
