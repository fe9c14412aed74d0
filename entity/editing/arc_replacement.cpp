// Runs of vertices that lie on one circle replaced by a single arc.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_units.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr std::int16_t kMark = static_cast<std::int16_t>(0x8000);
constexpr std::int16_t kStopsMarking = 0x80;
constexpr std::int16_t kDigitisedOnArc = 8;

bool isMarked(const P_Vertex* v) {
    return (v->flags & kMark) != 0;
}

void setMark(P_Vertex* v, bool on) {
    v->flags = static_cast<std::int16_t>(on ? v->flags | kMark : v->flags & ~kMark);
}

double bearing(const CPoint3d& from, const CPoint3d& to) {
    return from.gisTo(to);
}

// Whether one arc from v to w passes within tol of the vertices between them and of the middles of their
// segments; bulge receives its bulge.
bool fitsOneArc(const CPolyArc3D& poly, P_Vertex* v, P_Vertex* w, double tol, double& bulge) {
    const CPoint3d start = v->pt;
    const CPoint3d end = w->pt;
    if (start.dist2dTo(end) < _ecpt) return false;
    // Every vertex strictly between, and the middle of every segment from v to w.
    std::vector<CPoint3d> samples;
    for (P_Vertex* p = v; p != w; p = poly.N(p)) {
        P_Vertex* next = poly.N(p);
        samples.push_back(CPoint3d(p->pt).milieu(next->pt, p->bulge));
        if (next != w) samples.push_back(next->pt);
    }
    // Each sample's estimate of the included angle, from the angle it sees the chord under.
    double weighted = 0;
    double weights = 0;
    for (const CPoint3d& p : samples) {
        double delta = bearing(end, p) - bearing(start, p);
        if (delta > _200rd) delta -= _400rd;
        if (delta < -_200rd) delta += _400rd;
        const double estimate = (delta > 0 ? _400rd : -_400rd) - 2 * delta;
        const double weight = std::min(start.dist2dTo(p), end.dist2dTo(p)) + 0.001;
        weighted += estimate * weight;
        weights += weight;
    }
    const double included = weighted / weights;
    bulge = std::fabs(included) > 5e-7 ? -std::tan(included / 4) : 0;
    CArc3d arc(start, end, bulge);
    for (const CPoint3d& p : samples) {
        double deviation = 0;
        if (arc.radius != 0) {
            deviation = std::fabs(arc.centre.dist2dTo(p) - arc.radius);
        } else {
            CPoint3d foot;
            arc.ptprox(p, foot, nullptr, &deviation);
            deviation = std::fabs(deviation);
        }
        if (deviation > tol) return false;
    }
    return true;
}

// The end of the run of vertices from v that one arc replaces (null for none); bulge receives the arc's.
P_Vertex* arcRunEnd(const CPolyArc3D& poly, P_Vertex* v, int mode, double tol, double& bulge) {
    P_Vertex* b = poly.N(v);
    if (!b || b == v) return nullptr;
    P_Vertex* end = nullptr;
    if (mode & (4 | 16)) {
        while (b && isMarked(b) && ((mode & 16) || (v->bulge != 0 && b->bulge != 0))) {
            P_Vertex* candidate = poly.Nxyz(b);
            double fitted = 0;
            if (!candidate || candidate == v || !fitsOneArc(poly, v, candidate, tol, fitted)) break;
            end = candidate;
            bulge = fitted;
            b = candidate;
        }
        return end;
    }
    if (!v->dur() || !isMarked(b)) return nullptr;
    const bool generatedRun = (mode & 1) && !b->dur();
    const bool digitisedPoint = (mode & 2) && b->dur() && (b->flags & kDigitisedOnArc);
    if (!generatedRun && !digitisedPoint) return nullptr;
    P_Vertex* candidate = poly.Nxyz(b);
    if (candidate && candidate != v && fitsOneArc(poly, v, candidate, tol, bulge)) end = candidate;
    return end;
}

// Marks the vertices from first, up to a vertex that stops the marking or to last, which is marked only as
// the start of a run of generated vertices.
void markRange(const CPolyArc3D& poly, P_Vertex* first, P_Vertex* last) {
    for (P_Vertex* v = first; v && !(v->flags & kStopsMarking);) {
        if (v == last && v != first) {
            // The end is marked only as the start of a run of generated vertices.
            for (P_Vertex* g = v; g && !g->dur() && !isMarked(g); g = poly.N(g))
                setMark(g, true);
            return;
        }
        setMark(v, true);
        v = poly.N(v);
        if (v == first) return;
    }
}

} // namespace

int CPolyArc3D::EDelParc(double tol, int mode, P_Vertex* from, P_Vertex* to) {
    return entity_boundary::guarded("\nProbleme de CPolyArc3D::EDelParc ", -1, [&] {
        POLYModif(1);
        if (!m_pHead || !hasSoundVertices()) return -1;
        if (tol <= 0) tol = 0.001;
        P_Vertex* first = m_pHead;
        P_Vertex* last = to ? to : m_pTail;
        if (from) {
            first = from->dur() ? from : Nxyz(from);
            last = to ? to : N(from);
        }
        if (!first || !last) return -1;
        markRange(*this, first, last);

        int removed = 0;
        for (P_Vertex* v = m_pHead; v; v = v->pVN) {
            if (!isMarked(v)) continue;
            setMark(v, false);
            double bulge = 0;
            P_Vertex* end = arcRunEnd(*this, v, mode, tol, bulge);
            if (!end) continue;
            if (mode & 8) {
                for (P_Vertex* corner : {v, end})
                    corner->flags = static_cast<std::int16_t>((corner->flags & ~0x000B) | 4);
            }
            v->bulge = bulge;
            while (N(v) != end) {
                D(N(v), 0);
                ++removed;
            }
        }
        for (P_Vertex* v = m_pHead; v; v = v->pVN)
            setMark(v, false);
        return removed;
    });
}
