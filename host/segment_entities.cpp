#include "host/segment_entities.h"

#include "host/circle_arc.h"
#include "host/curve_geometry.h"
#include "host/line.h"

namespace host {

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

} // namespace host
