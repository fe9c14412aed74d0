// Polylines read from civil feature lines: their points, and the arcs between them found by crossing.
#include <cmath>
#include <string>

#include "entity/conversion/curve_to_arc3d.h"
#include "entity/conversion/host_sources.h"
#include "entity/core/poly_arc3d.h"
#include "host/entities/line.h"

namespace host_sources {

namespace {

// A segment whose middle lies nearer than this to its chord's middle is straight.
constexpr double kArcSagitta = 0.05;

// Where the source crosses the perpendicular through the middle of the chord from a to b (as long as the
// chord on each side), nearest that middle: a crossing of some other stretch of the line is farther than
// the segment's own unless the line folds back on it.
bool crossingNearMiddle(const AcDbEntity& source, const CPoint3d& a, const CPoint3d& b,
                        AcGePoint3d& crossing) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    if (std::hypot(dx, dy) == 0) return false;
    const AcGePoint3d middle((a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2);
    const AcGeVector3d across(-dy, dx, 0);
    AcDbLine perpendicular(middle - across, middle + across);
    AcGePoint3dArray points;
    if (source.intersectWith(&perpendicular, AcDb::kOnBothOperands, points) != Acad::eOk || points.isEmpty())
        return false;
    crossing = points[0];
    for (const AcGePoint3d& p : points)
        if (p.distanceTo(middle) < crossing.distanceTo(middle)) crossing = p;
    return crossing.distanceTo(middle) > kArcSagitta;
}

} // namespace

bool isFeatureLine(const AcDbEntity& source) {
    return std::wstring(source.isA()->dxfName()) == L"AECC_FEATURE_LINE";
}

void readFeatureLine(CPolyArc3D& poly, const AcDbEntity& source) {
    AcGePoint3dArray grips;
    AcDbIntArray osnapModes, geomIds;
    if (source.getGripPoints(grips, osnapModes, geomIds) != Acad::eOk) return;
    for (const AcGePoint3d& grip : grips)
        appendWorld(poly, grip);
    for (P_Vertex* v = poly.H(); v && v->pVN; v = v->pVN) {
        const CPoint3d a = poly.WorldPoint(v), b = poly.WorldPoint(v->pVN);
        AcGePoint3d crossing;
        if (crossingNearMiddle(source, a, b, crossing)) v->bulge = bulgeThrough(a, CPoint3d(crossing), b);
    }
}

} // namespace host_sources
