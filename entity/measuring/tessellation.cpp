// Arcs cut into chords: as generated vertices of the polyline, or as points for the host.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "geometry/arcs/arc3d.h"
#include "geometry/points/point3d_array.h"
#include "services/startup/fvar.h"

#include <cstdint>

int CPolyArc3D::appendArcPoints(CArc3d& arc, AcGePoint3dArray& points, double sagitta) {
    CPoint3dArray chords;
    const int count = arc.segments(chords, 0, 0, sagitta);
    for (int i = 0; i < count; ++i)
        points.append(chords[i]);
    return count;
}

int CPolyArc3D::edivarc(double sagitta) {
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::edivarc()", 0, [&] {
        if (!isCPolyArc3D(this) || !hasSoundVertices()) return 0;
        if (sagitta < 0) sagitta = vfVar.maxSagitta;
        if (sagitta == 0) return 0;
        int inserted = 0;
        CArc3d arc;
        CPoint3dArray chords;
        for (P_Vertex* v = m_pHead; v;) {
            P_Vertex* next = v->pVN; // the vertices inserted after v are not looked at again
            P_Vertex* w = N(v);
            if (!w) break;
            if (v->bulge != 0) {
                arc.set(v, w->pt);
                chords.removeAll();
                const int n = arc.segments(chords, sagitta);
                if (n >= 3) {
                    POLYModif(1);
                    v->bulge = 0;
                    P_Vertex* previous = v;
                    for (int j = 1; j <= n - 2; ++j) {
                        const double ratio = double(j) / (n - 1);
                        P_Vertex* inner = I(previous, v);
                        inner->pt = chords[j];
                        inner->flags = 7;
                        inner->tef1 = 0;
                        inner->tag = 0;
                        inner->i40 = static_cast<std::int32_t>(v->i40 + ratio * (double(w->i40) - v->i40));
                        inner->i39 = static_cast<std::int32_t>(v->i39 + ratio * (double(w->i39) - v->i39));
                        previous = inner;
                    }
                    inserted += n - 2;
                }
            }
            v = next;
        }
        return inserted;
    });
}

int CPolyArc3D::topts(AcGePoint3dArray& pts, double sagitta) const {
    pts.removeAll();
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::topts()", 0, [&] {
        if (!isCPolyArc3D(this) || !hasSoundVertices()) return 0;
        if (sagitta < 0) sagitta = vfVar.maxSagitta;
        CArc3d arc;
        for (P_Vertex* v = m_pHead; v; v = v->pVN) {
            const P_Vertex* w = N(v);
            if (!w) {
                pts.append(CPoint3d(v->pt)); // the end of an open polyline
                break;
            }
            if (v->bulge == 0 || sagitta == 0) {
                pts.append(CPoint3d(v->pt));
            } else {
                // The arc's end is the next segment's start.
                arc.set(v, w->pt);
                appendArcPoints(arc, pts, sagitta);
                pts.removeLast();
            }
            if (!v->pVN) pts.append(CPoint3d(w->pt)); // the end of the closing segment
        }
        MatNormalFuncInv(pts);
        return pts.length();
    });
}
