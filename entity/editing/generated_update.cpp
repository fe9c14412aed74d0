// Keeping the generated vertices right after an edit: corners, attributes along smoothed runs, closing and
// midpoints of arcs.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/core/segment_geometry.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// The value a caller passes for "the whole polyline".
P_Vertex* const kWholePolyline = reinterpret_cast<P_Vertex*>(1);

std::int32_t between(std::int32_t a, std::int32_t b, double ratio) {
    return static_cast<std::int32_t>(a + ratio * (double(b) - double(a)));
}

// Attributes and heights of the generated vertices of a run, interpolated between the hard vertices around
// it.
void interpolateRun(const P_Vertex* start, const std::vector<P_Vertex*>& run, const P_Vertex* end) {
    std::vector<double> walked;
    walked.reserve(run.size());
    double total = 0;
    const P_Vertex* previous = start;
    for (const P_Vertex* g : run) {
        total += poly_segments::planLength(previous, g);
        walked.push_back(total);
        previous = g;
    }
    total += poly_segments::planLength(previous, end);
    const double zStart = start->pt.z;
    const double zEnd = end->pt.z;
    for (std::size_t i = 0; i < run.size(); ++i) {
        const double ratio = total > 0 ? walked[i] / total : 0;
        run[i]->i39 = between(start->i39, end->i39, ratio);
        run[i]->i40 = between(start->i40, end->i40, ratio);
        run[i]->pt.z = zStart + ratio * (zEnd - zStart);
    }
}

// Ends that meet within the tolerances (exactly for 0) become one vertex and the polyline is closed.
void closeMeetingEnds(CPolyArc3D& poly, double tolXY, double tolZ) {
    // As with the closing rule, a polyline of two vertices or fewer never closes onto itself.
    if (poly.GetCount() <= 2) return;
    const CPoint3d first = poly.H()->pt;
    const CPoint3d last = poly.T()->pt;
    const bool sameHeight = tolZ == 0 ? first.z == last.z : std::fabs(first.z - last.z) <= tolZ;
    const bool samePlace = tolXY == 0 ? first.isEq2d(last) : first.isEq2dTol(last, tolXY);
    if (!sameHeight || !samePlace) return;
    poly.D(nullptr, 0);
    poly.f70(static_cast<short>(poly.f70() | 1));
}

// A generated vertex in the middle of each arc segment whose end vertex is free to move; answers how many.
int addArcMidpoints(CPolyArc3D& poly) {
    int added = 0;
    for (P_Vertex* v = poly.H(); v;) {
        P_Vertex* next = v->pVN;
        P_Vertex* w = poly.N(v);
        if (!w) break;
        if (v->bulge != 0 && (w->flags & 0x1F) == 0) {
            // At the arc's middle with the bulge shared, so that the segment keeps its shape even while the
            // smoothing that follows is suspended.
            const double bulge = v->bulge;
            const CPoint3d middle = CPoint3d(v->pt).milieu(w->pt, bulge);
            P_Vertex* inserted = poly.I(v, v);
            const double half = std::tan(std::atan(bulge) / 2);
            v->bulge = half;
            inserted->bulge = half;
            inserted->pt = middle;
            inserted->flags = 1;
            ++added;
        }
        v = next;
    }
    return added;
}

} // namespace

void CPolyArc3D::makeCorner(P_Vertex* v) {
    POLYModif(1);
    v->flags = 4;
    v->bulge = 0;
    while (N(v) && N(v) != v && !N(v)->dur())
        D(N(v), 0);
    if (P_Vertex* next = N(v); next && next != v) next->flags = 4;
}

int CPolyArc3D::majVertex(P_Vertex* a, P_Vertex* b) {
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::majVertex()", 0, [&] {
        if (!m_pHead || !hasSoundVertices()) return 0;
        POLYModif(1);
        P_Vertex* start = nullptr;
        P_Vertex* end = nullptr;
        if (a && a != kWholePolyline && m_nVertex >= 5) {
            // The stretch widened to the hard vertices around the edit.
            if (!a->dur()) a = Nxyz(Nxyz(a));
            if (a && (!b || !b->dur())) b = Nxyz(b ? b : a);
            if (a && b) {
                start = Bxyz(a) ? Bxyz(a) : m_pHead;
                end = Nxyz(b) ? Nxyz(b) : m_pTail;
            }
        }
        if (!start || start == end) {
            start = m_pHead;
            end = isClosed2D() ? m_pHead : m_pTail;
        }
        int visited = 0;
        const P_Vertex* lastHard = nullptr;
        std::vector<P_Vertex*> run;
        for (P_Vertex* v = start; v && visited <= m_nVertex;) {
            ++visited;
            if (v->tefsbits() & 0x20) {
                makeCorner(v);
                run.clear();
                lastHard = v;
            } else if (!v->dur()) {
                if (lastHard) v->tef2 = lastHard->tef2;
                run.push_back(v);
            } else {
                if (lastHard && !run.empty()) interpolateRun(lastHard, run, v);
                run.clear();
                lastHard = v;
            }
            if (visited > 1 && (v == end || v == start)) break;
            v = N(v);
        }
        MajExtremite();
        return visited;
    });
}

int CPolyArc3D::maj(int mode, double tolXY, double tolZ) {
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::maj()", -1, [&] {
        if (!hasSoundVertices()) return -1;
        const bool positive = mode >= 0;
        if (!positive) mode &= ~4;
        closeMeetingEnds(*this, tolXY, tolZ);
        if (m_nVertex < 2) return -1;
        int midpoints = 1;
        if (positive && (mode & 4)) {
            midpoints = addArcMidpoints(*this);
            if (midpoints) mode |= 2;
        }
        if (mode & 2) lisse(nullptr, nullptr, -1000, -1000);
        if (mode & 1) majVertex(nullptr, nullptr);
        MajExtremite();
        return midpoints;
    });
}
