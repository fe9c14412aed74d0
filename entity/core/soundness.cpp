// What every measuring and editing operation checks first: a vertex list whose geometry can be computed.
#include "entity/core/poly_arc3d.h"

bool CPolyArc3D::hasSoundVertices() const {
    int steps = m_nVertex;
    for (const P_Vertex* v = m_pHead; v && steps-- > 0; v = v->pVN) {
        prefetchAhead(v);
        if (!isSoundVertex(v)) return false;
    }
    return true;
}
