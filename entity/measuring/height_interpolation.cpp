// Heights interpolated along the polyline where they are unknown.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/core/segment_geometry.h"

#include <cmath>

int CPolyArc3D::epolyz(double zmin, double zmax) {
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::epolyZ()", -2, [&] {
        if (!m_pHead || !hasSoundVertices()) return -2;
        if (std::isnan(zmin)) zmin = -1000000;
        if (std::isnan(zmax)) zmax = 100000000;
        // From here on a height of 0 is unknown: generated vertices and heights out of range become so.
        const auto known = [zmin, zmax](const P_Vertex* v) {
            const double z = v->pt.z;
            return v->dur() && z != 0 && z >= zmin && z <= zmax;
        };
        bool anyKnown = false;
        for (const P_Vertex* v = m_pHead; v && !anyKnown; v = v->pVN)
            anyKnown = known(v);
        if (!anyKnown) return 0; // nothing to interpolate from: the heights stay as they are
        POLYModif(1);
        for (P_Vertex* v = m_pHead; v; v = v->pVN)
            if (!known(v)) v->pt.z = 0;

        int count = 0;
        // Each step forward counts, so that a closed polyline is walked round once.
        int steps = 0;
        for (P_Vertex* v = m_pHead; v && steps < m_nVertex;) {
            P_Vertex* start = B(v);
            if (v->pt.z != 0 || !start || start->pt.z == 0) {
                v = N(v);
                ++steps;
                continue;
            }
            double total = 0;
            P_Vertex* end = v;
            for (P_Vertex* p = start; end->pt.z == 0; p = end) {
                end = N(p);
                if (!end) return count; // an open end with no height after the last known one
                total += poly_segments::planLength(p, end);
            }
            const double zStart = start->pt.z;
            const double zEnd = end->pt.z;
            double walked = 0;
            for (P_Vertex* p = start; N(p) != end; p = N(p)) {
                P_Vertex* q = N(p);
                walked += poly_segments::planLength(p, q);
                q->pt.z = zStart + (zEnd - zStart) * walked / (total + 1e-7);
                ++count;
                ++steps;
            }
            v = N(end);
            ++steps;
        }
        return count;
    });
}
