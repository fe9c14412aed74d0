// What every measuring and editing operation checks first: a vertex list whose geometry can be computed.
#include "entity/core/poly_arc3d.h"
#include "entity/core/segment_geometry.h"

#include <cmath>

bool CPolyArc3D::hasSoundVertices() const {
    int steps = m_nVertex;
    for (const P_Vertex* v = m_pHead; v && steps-- > 0; v = v->pVN) {
        const double bulge = v->bulge;
        if (!poly_segments::isFinite(v->pt)) return false;
        // Beyond this the arc geometry clamps the bulge: the segment is no longer the one stored.
        if (!std::isfinite(bulge) || std::fabs(bulge) > kLargestBulge) return false;
    }
    return true;
}
