// The whole polyline as world points: arcs cut into chords within 0.01.
#include "entity/core/poly_arc3d.h"
#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_units.h"
#include "geometry/points/point3d_array.h"

namespace {
constexpr double kArcDeviation = 0.01;
} // namespace

int CPolyArc3D::getAllPoints(CPoint3dArray& points, double) const {
    points.removeAll();
    if (!m_pHead || !hasSoundVertices()) return 0;
    // The tail runs back to the head when closed, or when it comes back there in plan.
    const bool wraps = (m_f70 & 1) || (m_nVertex >= 3 && CPoint3d(m_pHead->pt).isEq2dTol(m_pTail->pt, _ecpt));
    for (const P_Vertex* v = m_pHead; v; v = v->pVN) {
        const P_Vertex* w = v->pVN ? v->pVN : (wraps ? m_pHead : nullptr);
        if (!w) break;
        CArc3d segment(v, w->pt);
        if (segment.radius != 0) {
            const int count = segment.segments(points, kArcDeviation);
            if (count > 1) points.removeLast();
        } else {
            points.append(v->pt);
        }
    }
    points.append(((m_f70 & 1) ? m_pHead : m_pTail)->pt);
    for (int i = 0; i < points.length(); ++i)
        points[i] = WorldPoint(&points[i]);
    return points.length();
}
