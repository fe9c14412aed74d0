// Simplification: vertices too close together, and vertices that a chord or an arc through their neighbours
// passes near enough, are removed.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/core/segment_geometry.h"
#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_units.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

// The next hard vertex in list order, without wrapping.
P_Vertex* nextHard(P_Vertex* v) {
    for (v = v->pVN; v && !v->dur(); v = v->pVN) {
    }
    return v;
}

bool sameAttributes(const P_Vertex* a, const P_Vertex* b, int attrs) {
    return (!(attrs & 1) || a->tef1 == b->tef1) && (!(attrs & 2) || a->tef2 == b->tef2) &&
           (!(attrs & 4) || a->i39 == b->i39) && (!(attrs & 8) || a->i40 == b->i40);
}

// Distance in plan from the curve, grown by how far the foot lies beyond its ends; footZ its height there.
double planDeviation(CArc3d& curve, const CPoint3d& p, double* footZ = nullptr) {
    CPoint3d foot;
    double along = 0;
    double offset = 0;
    curve.ptprox(p, foot, &along, &offset);
    const double length = curve.len();
    double deviation = std::fabs(offset);
    if (along < 0) deviation -= along;
    if (along > length) deviation += along - length;
    if (footZ) *footZ = foot.z;
    return deviation;
}

// Removes w, the vertex after s, handing s its code, the bulge of both segments and, when w's segment is the
// longer, its attributes.
void mergeInto(CPolyArc3D& poly, P_Vertex* s, P_Vertex* w) {
    poly.POLYModif(1);
    if (s->tef1 == 0) s->tef1 = w->tef1;
    const P_Vertex* after = w->pVN;
    const double a = poly_segments::planLength(s, w);
    const double b = after ? poly_segments::planLength(w, after) : 0;
    const double bulgeS = s->bulge;
    const double bulgeW = w->bulge;
    if ((bulgeS != 0 || bulgeW != 0) && a + b > 0)
        s->bulge = std::tan((std::atan(bulgeW) * b + std::atan(bulgeS) * a) / (a + b));
    if (b > a) {
        s->tef2 = w->tef2;
        s->i39 = w->i39;
        s->i40 = w->i40;
        // A hard vertex stays hard: only the other bits come over.
        s->flags = static_cast<std::int16_t>((w->flags & ~1) | (s->flags & 1));
    }
    poly.D(w, 0);
}

// Removes the hard vertices within minDist in plan of the last one kept (the last one stays).
void removeCloseVertices(CPolyArc3D& poly, double minDist, int attrs) {
    P_Vertex* kept = poly.H();
    for (P_Vertex* v = nextHard(kept); v;) {
        P_Vertex* next = nextHard(v);
        if (next && CPoint3d(kept->pt).dist2dTo(v->pt) <= minDist && sameAttributes(kept, v, attrs)) {
            // v and the generated vertices before it go into the vertex kept.
            for (P_Vertex* w = nullptr; w != v;) {
                w = kept->pVN;
                mergeInto(poly, kept, w);
            }
        } else {
            kept = v;
        }
        v = next;
    }
}

int hardVertexCount(const P_Vertex* head) {
    int count = 0;
    for (const P_Vertex* v = head; v; v = v->pVN)
        count += v->dur();
    return count;
}

} // namespace

int CPolyArc3D::EpurePts(double tolXY, double tolZ, double minDist, double maxDist, int attrs) {
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::EpurePts()", 0, [&] {
        if (m_nVertex < 2 || !hasSoundVertices()) return 0;
        POLYModif(1);
        // What was removed is counted in digitised vertices: the generated ones merged away are made again by
        // the smoothing at the end.
        const int hardBefore = hardVertexCount(m_pHead);
        // A closed polyline is simplified with its closing segment made explicit for the time.
        P_Vertex* closing = (m_f70 & 1) ? A(m_pHead) : nullptr;
        if (minDist != 0) removeCloseVertices(*this, minDist, attrs);
        bool midpointsInserted = false;
        if (tolXY > 0 || tolZ > 0) mergeFittingSpans(tolXY, tolZ, maxDist, attrs, midpointsInserted);
        if (closing) D(closing, 0);
        if (midpointsInserted) releaseMidpointsOnCurve(tolXY);
        lisse(nullptr, nullptr, -1000, -1000);
        return hardBefore - hardVertexCount(m_pHead);
    });
}

void CPolyArc3D::mergeFittingSpans(double tolXY, double tolZ, double maxDist, int attrs,
                                   bool& midpointsInserted) {
    for (P_Vertex* s = m_pHead; s && s->pVN;) {
        P_Vertex* best = nullptr;
        SpanFit bestFit;
        const P_Vertex* inside = nullptr; // the last hard vertex that the span would remove
        for (P_Vertex* t = nextHard(s); t; inside = t, t = nextHard(t)) {
            if (maxDist != 0 && CPoint3d(s->pt).dist2dTo(t->pt) > maxDist) break;
            if (inside && !sameAttributes(s, inside, attrs)) break;
            const SpanFit fit = fitSpan(s, t, tolXY, tolZ);
            if (!fit.fits) break;
            best = t;
            bestFit = fit;
        }
        if (!best || best == s->pVN) {
            s = nextHard(s);
            continue;
        }
        bool smoothedRun = false;
        for (const P_Vertex* p = s->pVN; p != best; p = p->pVN)
            smoothedRun = smoothedRun || (!p->dur() && (p->flags & 3) != 0);
        while (s->pVN != best)
            mergeInto(*this, s, s->pVN);
        s->bulge = bestFit.bulge;
        if (bestFit.byArc && smoothedRun) {
            // The smoothed run keeps a generated vertex, so that smoothing can bend the span again.
            const double half = lengthAlong(s, best, false, false) / 2;
            P_Vertex* inserted = locateAtDistance(s, half, 0.001, 2, nullptr, nullptr);
            if (inserted && inserted != s && inserted != best) {
                inserted->flags = 3;
                midpointsInserted = true;
            }
        }
        s = best;
    }
}

CPolyArc3D::SpanFit CPolyArc3D::fitSpan(P_Vertex* s, P_Vertex* t, double tolXY, double tolZ) {
    SpanFit fit;
    const CPoint3d start = s->pt;
    const CPoint3d end = t->pt;
    // A span back to its own start (round a ring) has no chord to fit a curve on.
    if (start.dist2dTo(end) < _ecpt) return fit;
    CArc3d curve;
    fit.byArc = s->bulge != 0 || s->pVN->bulge != 0;
    if (fit.byArc) {
        CPoint3d middle;
        locateAtDistance(s, lengthAlong(s, t, false, false) / 2, 0.001, 0, &middle, nullptr);
        curve.set(start, middle, end);
    } else {
        curve.set(start, end, 0.0);
    }
    const auto deviates = [&](const CPoint3d& p) {
        double footZ = 0;
        const double deviation = planDeviation(curve, p, &footZ);
        if (tolXY > 0 && deviation > tolXY) return true;
        // Heights are compared only where all of them are known.
        return tolZ > 0 && start.z != 0 && end.z != 0 && p.z != 0 && std::fabs(p.z - footZ) > tolZ;
    };
    for (P_Vertex* p = s; p != t; p = p->pVN) {
        if (p != s && deviates(p->pt)) return fit;
        if (p->bulge != 0 && deviates(CPoint3d(p->pt).milieu(p->pVN->pt, p->bulge))) return fit;
    }
    fit.fits = true;
    fit.bulge = curve.bulge;
    return fit;
}

void CPolyArc3D::releaseMidpointsOnCurve(double tolXY) {
    // A smoothed copy tells where smoothing would put each inserted vertex; one that is already there is left
    // free to move.
    std::unique_ptr<CPolyArc3D> smoothed(newPieceLike());
    smoothed->copyVertexFrom(this);
    std::vector<P_Vertex*> inserted;
    for (P_Vertex *v = m_pHead, *c = smoothed->m_pHead; v && c; v = v->pVN, c = c->pVN) {
        c->tag = 0;
        if (v->flags != 3) continue;
        inserted.push_back(v);
        c->flags = 1;
        c->tag = static_cast<std::int64_t>(inserted.size());
    }
    smoothed->lisse(nullptr, nullptr, -1000, -1000);
    CArc3d segment;
    for (P_Vertex* c = smoothed->m_pHead; c; c = c->pVN) {
        const std::int64_t tag = c->tag;
        P_Vertex* before = smoothed->B(c);
        P_Vertex* after = smoothed->N(c);
        if (tag <= 0 || !before || !after) continue;
        P_Vertex* original = inserted[static_cast<std::size_t>(tag - 1)];
        const CPoint3d point = original->pt;
        segment.set(before, c->pt);
        bool onCurve = planDeviation(segment, point) <= tolXY;
        segment.set(c, after->pt);
        onCurve = onCurve || planDeviation(segment, point) <= tolXY;
        if (onCurve) original->flags = 1;
    }
}
