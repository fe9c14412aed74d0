// Smoothing: one generated vertex between two hard vertices, placed so that the two arcs through it form a
// smooth curve with the segments around them.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/core/segment_geometry.h"
#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_helpers.h"
#include "geometry/points/angle_units.h"
#include "services/startup/shared_records.h"

#include <cmath>
#include <cstdint>

namespace {

// A bearing argument below this is not given.
constexpr double kNoBearing = -99;
// Tangents that cannot be found, and those that turn too sharply for the smoothing angle.
constexpr double kNoTangent = -4000;
constexpr double kRefusedTangent = -8000;

// Programs of the other family stop the smoothing while they work on the polylines.
bool smoothingSuspended() {
    return g_pSZortaTAVRO && (g_pSZortaTAVRO->flags & 3) != 0;
}

bool isCornerCode(const P_Vertex* v) {
    return (v->tefsbits() & 0x20) != 0;
}

bool isCorner(const P_Vertex* v) {
    return (v->flags & 4) && !(v->flags & 1);
}

double unwrapped(double angle) {
    return gissuiv(angle, 0);
}

std::int32_t between(std::int32_t a, std::int32_t b, double ratio) {
    return static_cast<std::int32_t>(a + ratio * (double(b) - double(a)));
}

// Where v goes when no tangent guides it: the middle of the chord f-e.
void placeAtMiddle(P_Vertex* f, P_Vertex* v, const P_Vertex* e) {
    const CPoint3d a = f->pt;
    const CPoint3d b = e->pt;
    v->pt = CPoint3d((a.x + b.x) / 2, (a.y + b.y) / 2, a.z != 0 && b.z != 0 ? (a.z + b.z) / 2 : 0);
    f->bulge = 0;
    v->bulge = 0;
    v->i39 = static_cast<std::int32_t>((std::int64_t(f->i39) + e->i39) / 2);
    v->i40 = static_cast<std::int32_t>((std::int64_t(f->i40) + e->i40) / 2);
    v->tef2 = f->tef2;
    v->tef1 = 0;
}

// What bounds the tangents of one smoothing.
struct SmoothingLimits {
    double cosine = -1; // a turn whose cosine is below this refuses the tangent
    const P_Vertex* from = nullptr;
    const P_Vertex* to = nullptr;
    double startBearing = -1000;
    double endBearing = -1000;
};

// The tangent at a hard vertex f that starts (atStart) or ends the span of chord bearing beta and length h.
double tangentAt(const CPolyArc3D& poly, P_Vertex* f, bool atStart, double beta, double h,
                 const SmoothingLimits& limits) {
    const P_Vertex* given = atStart ? limits.from : limits.to;
    const double bearing = atStart ? limits.startBearing : limits.endBearing;
    if (f == given && bearing > kNoBearing) return bearing;
    // The hard vertex beyond f, the segment that leads there and the code that governs it.
    P_Vertex* beyond = atStart ? poly.Bxyz(f) : poly.Nxyz(f);
    if (!beyond) return kNoTangent;
    const P_Vertex* coded = atStart ? beyond : f;
    if (isCornerCode(coded) || isCorner(f)) return kNoTangent;
    double chordLength = 0;
    const CPoint3d fp = f->pt;
    const CPoint3d bp = beyond->pt;
    const double chordBearing =
        gissuiv(atStart ? bp.gisTo(fp, &chordLength) : fp.gisTo(bp, &chordLength), beta);
    if (chordLength <= _ecpt) return kNoTangent;
    P_Vertex* neighbour = atStart ? poly.B(f) : poly.N(f);
    double tangent;
    if (!neighbour->dur()) {
        // Another smoothed span: the tangent of the circle through the three hard vertices, each chord's
        // bearing weighted by the other chord's length.
        tangent = (chordBearing * h + beta * chordLength) / (chordLength + h);
    } else {
        const CArc3d segment = atStart ? CArc3d(neighbour, fp) : CArc3d(f, neighbour->pt);
        tangent = atStart ? segment.endGis : segment.startGis;
    }
    if (std::cos(beta - chordBearing) < limits.cosine && (f->flags & 3) != 2) return kRefusedTangent;
    return tangent;
}

// Places the generated vertex v between the hard vertices f and e.
void placeBetween(const CPolyArc3D& poly, P_Vertex* f, P_Vertex* v, P_Vertex* e,
                  const SmoothingLimits& limits) {
    if (!f || !e) return;
    double h = 0;
    const double beta = f->pt.gisTo(e->pt, &h);
    if (h <= _ecpt) {
        f->bulge = 0;
        v->bulge = 0;
        return;
    }
    double startTangent = tangentAt(poly, f, true, beta, h, limits);
    double endTangent = tangentAt(poly, e, false, beta, h, limits);
    const bool hasStart = startTangent > kNoBearing;
    const bool hasEnd = endTangent > kNoBearing;
    if (!hasStart && !hasEnd) {
        placeAtMiddle(f, v, e);
        return;
    }
    if (!hasStart || !hasEnd) {
        // The missing tangent mirrors the other about the chord, flattened beyond a smoothed span.
        const double known = gissuiv(hasStart ? startTangent : endTangent, beta);
        double deviation = std::fabs(known - beta);
        const P_Vertex* beyond = hasStart ? poly.N(e) : poly.B(f);
        if (beyond && !beyond->dur()) deviation = std::min(std::pow(deviation, 0.75) / 3, deviation);
        const double mirrored = beta - (known > beta ? deviation : -deviation);
        (hasStart ? endTangent : startTangent) = mirrored;
    }
    startTangent = gissuiv(startTangent, beta);
    endTangent = gissuiv(endTangent, beta);
    if (std::fabs((startTangent - beta) - (endTangent - beta)) <= 1e-7) startTangent += 2e-7;
    const double startDeviation = startTangent - beta;
    const double endDeviation = endTangent - beta;
    const double startWeight = 1 / (std::fabs(startDeviation) + 0.2);
    const double endWeight = 1 / (std::fabs(endDeviation) + 0.2);
    double joint =
        beta - (endWeight * endDeviation + startWeight * startDeviation) / (endWeight + startWeight);
    if (startDeviation * endDeviation < 0) joint = (joint + beta) / 2;
    const double secondTurn = unwrapped(endTangent - joint);
    const double firstTurn = unwrapped(joint - startTangent);
    const double jointBearing = endTangent + _200rd - secondTurn / 2;
    const double towardsV = firstTurn / 2 + startTangent;
    const double sine = std::sin(towardsV - jointBearing);
    if (std::fabs(std::sin(beta - jointBearing)) * h < _ecpt) {
        placeAtMiddle(f, v, e);
        return;
    }
    // Coincident directions would put the vertex at infinity: the span is left as it is.
    if (std::fabs(sine) < 1e-12) return;
    const double distance = std::sin(beta - jointBearing) * h / sine;
    const CPoint3d start = f->pt;
    const CPoint3d end = e->pt;
    CPoint3d placed = start.polar(towardsV, distance);
    const double before = placed.dist2dTo(start);
    const double total = before + placed.dist2dTo(end);
    if (total <= 0) return;
    const double ratio = before / total;
    placed.z = start.z != 0 && end.z != 0 ? start.z + ratio * (end.z - start.z) : 0;
    v->pt = placed;
    f->bulge = std::tan(firstTurn / 4);
    v->bulge = std::tan(secondTurn / 4);
    v->i39 = between(f->i39, e->i39, ratio);
    v->i40 = between(f->i40, e->i40, ratio);
}

// A digitised point on an arc: the circle through it and its neighbours.
void bendThrough(P_Vertex* before, P_Vertex* v, const P_Vertex* after) {
    CArc3d arc;
    double middle = 0;
    if (arc.set(before->pt, v->pt, after->pt, &middle)) {
        before->bulge = std::tan((middle - arc.startGis) / 4);
        v->bulge = std::tan((arc.endGis - middle) / 4);
    } else {
        before->bulge = 0;
        v->bulge = 0;
    }
}

// Each generated vertex of the range, the only one left in its span, placed between its hard neighbours.
int placeGeneratedVertices(CPolyArc3D& poly, P_Vertex* first, P_Vertex* last, const SmoothingLimits& limits) {
    int count = 0;
    for (P_Vertex* v = first; v;) {
        if (v->flags == 1) {
            // One generated vertex per span: the others of its run go.
            while (poly.B(v) && poly.B(v) != v && !poly.B(v)->dur())
                poly.D(poly.B(v), 0);
            while (poly.N(v) && poly.N(v) != v && !poly.N(v)->dur())
                poly.D(poly.N(v), 0);
            ++count;
            placeBetween(poly, poly.B(v), v, poly.N(v), limits);
        }
        if (v == last) break;
        v = poly.N(v);
        if (v == first) break;
    }
    return count;
}

} // namespace

int CPolyArc3D::lisse(P_Vertex* from, P_Vertex* to, double startBearing, double endBearing) {
    return entity_boundary::guarded("\nProbleme de CPolyArc3D::lisse ", 0, [&] {
        POLYModif(1);
        if (smoothingSuspended()) return 0;
        if (m_nVertex < 2 || !hasSoundVertices()) return -1;
        const double angle = m_f43;
        SmoothingLimits limits;
        limits.cosine = angle > 0 && angle < 200 ? std::cos(angle * _200rd / 200) : -1;
        limits.from = from;
        limits.to = to;
        limits.startBearing = startBearing;
        limits.endBearing = endBearing;

        P_Vertex* first = from ? from : m_pHead;
        P_Vertex* last = to ? to : m_pTail;
        if (from && !to) {
            for (int i = 0; i < 2; ++i)
                if (P_Vertex* before = Bxyz(first)) first = before;
            last = Nxyz(from);
            if (!last) last = m_pTail;
            if (last == first) last = N(last);
        }
        // The ends of the range stay: generated ones give way to their hard neighbours.
        if (!first->dur()) first = Bxyz(first) ? Bxyz(first) : m_pHead;
        if (last && !last->dur()) last = Nxyz(last) ? Nxyz(last) : m_pTail;
        return markCornersAndArcs(first, last) + placeGeneratedVertices(*this, first, last, limits);
    });
}

int CPolyArc3D::markCornersAndArcs(P_Vertex* first, P_Vertex* last) {
    int count = 0;
    for (P_Vertex* v = first; v;) {
        if (v->tef1 == 2) {
            makeCorner(v);
            ++count;
        } else if (v->dur() && (v->flags & 8) && B(v) && N(v) && B(v) != N(v)) {
            bendThrough(B(v), v, N(v));
            ++count;
        }
        if (v == last) break;
        v = N(v);
        if (v == first) break;
    }
    return count;
}
