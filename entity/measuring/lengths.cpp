// Lengths along the polyline.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/core/segment_geometry.h"
#include "geometry/points/angle_units.h"

double CPolyArc3D::lengthAlong(const P_Vertex* from, const P_Vertex* target, bool in3d, bool asChords,
                               bool* sound) const {
    double sum = 0;
    for (const P_Vertex* v = from; v && v != target; v = v->pVN) {
        prefetchAhead(v);
        if (sound && !isSoundVertex(v)) {
            *sound = false;
            break;
        }
        if (!v->pVN) {
            // The closing segment ends the walk.
            if (v != m_pHead && isClosed2D()) sum += poly_segments::length(v, m_pHead, in3d, asChords);
            break;
        }
        sum += poly_segments::length(v, v->pVN, in3d, asChords);
    }
    return sum;
}

void CPolyArc3D::removeShortSegments(bool in3d, bool asChords) {
    for (P_Vertex* v = m_pHead; v;) {
        P_Vertex* w = N(v);
        if (!w || w == v) break;
        if (poly_segments::length(v, w, in3d, asChords) <= _ecpt) {
            // The segment before it now ends elsewhere: it is looked at again.
            P_Vertex* before = v->pVB;
            Dmaj(v);
            v = before ? before : m_pHead;
            continue;
        }
        v = v->pVN;
    }
}

double CPolyArc3D::getLen(int in3d, int clean, int noArcs, double* outArea) const {
    if (outArea) *outArea = 0;
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::getLen()", 0.0, [&] {
        if (clean) {
            // Cleaning changes the entity: only a sound one is touched.
            if (!hasSoundVertices()) return 0.0;
            // Cleaning is what the caller asked for: the change notice asserts write access.
            const_cast<CPolyArc3D*>(this)->removeShortSegments(in3d, noArcs);
        }
        // The walk from the head visits every vertex: it checks them on the way.
        bool sound = true;
        const double length = lengthAlong(m_pHead, nullptr, in3d, noArcs, &sound);
        if (!sound) return 0.0;
        if (outArea) *outArea = getArea(nullptr);
        return length;
    });
}

double CPolyArc3D::getLenAtVertex(P_Vertex* target, int in3d, P_Vertex* from) const {
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::getLenAtVertex()", 0.0, [&] {
        if (!hasSoundVertices()) return 0.0;
        return lengthAlong(from ? from : m_pHead, target, in3d, false);
    });
}
