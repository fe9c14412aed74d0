// A vertex inserted on a segment by the nearest-point and point-at-distance searches, and the adjustment of
// its neighbours.
#include "entity/core/poly_arc3d.h"
#include "entity/core/segment_geometry.h"
#include "geometry/arcs/arc3d.h"

#include <cmath>
#include <cstdint>

namespace {

std::int32_t interpolated(std::int32_t from, std::int32_t to, double ratio) {
    return static_cast<std::int32_t>(from + ratio * (double(to) - double(from)));
}

} // namespace

P_Vertex* CPolyArc3D::insertOnSegment(P_Vertex* v, const P_Vertex* src, const CPoint3d& pt, const CArc3d& seg,
                                      double alpha, int flags) {
    P_Vertex* n = I(v, src);
    n->pt = pt;
    n->tef1 = 0;
    n->tag = 0;
    if (seg.radius != 0) {
        // Both parts keep the circle: the included angle is shared at the point.
        const double included = seg.endGis - seg.startGis;
        v->bulge = std::tan(alpha / 4);
        n->bulge = std::tan((included - alpha) / 4);
    }
    adjustInsertion(v, n, flags);
    return n;
}

void CPolyArc3D::adjustInsertion(P_Vertex* v, P_Vertex* n, int flags) {
    P_Vertex* f = N(n);
    if (f && f != v) {
        const double before = poly_segments::planLength(v, n);
        const double ratio = before / (before + poly_segments::planLength(n, f) + 1e-20);
        n->i40 = interpolated(v->i40, f->i40, ratio);
        n->i39 = interpolated(v->i39, f->i39, ratio);
    }
    if (flags & 4) {
        // A hard vertex inserted in a smoothed span: each of the two spans keeps a generated vertex.
        P_Vertex* generated = nullptr;
        if (v->flags == 1) {
            if (!f || f->flags != 0) return;
            generated = I(n, v);
        } else if (f && f->flags == 1) {
            if (v->flags != 0) return;
            generated = I(v, f);
        }
        if (generated) {
            generated->tef1 = 0;
            generated->tag = 0;
            n->flags = 0;
            lisse(n, nullptr, -1000, -1000);
            return;
        }
    }
    if (flags & 8) {
        if (!n->dur()) n->flags = static_cast<std::int16_t>(n->flags | 2);
        if (f && !f->dur()) f->flags = static_cast<std::int16_t>(f->flags | 2);
    }
}
