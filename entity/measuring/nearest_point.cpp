// The nearest point of the polyline to a given point, optionally made a vertex.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/core/segment_geometry.h"
#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_helpers.h"
#include "geometry/points/angle_units.h"

#include <algorithm>
#include <cmath>

namespace {

// Beyond this distance nothing counts as near.
constexpr double kFarthest = 100000;

struct Candidate {
    P_Vertex* vertex = nullptr;
    CPoint3d foot;
    double distance = 1000000; // plan distance to the foot
    double along = 0;
    double offset = 0;
    double cumul = 0;
    int code = 0;
};

// The nearest point of one segment to p, as CArc3d::ptprox answers it.
struct SegmentNearest {
    CPoint3d foot;
    double along = 0;
    double offset = 0;
    double length = 0;
    double chord = 0;
    int code = 0;
};

// The length of a straight segment as CArc3d::len reads it: in plan the chord, 0 where an end is an empty
// point.
double straightLength(const P_Vertex* v, const P_Vertex* w, double chord, int in3d) {
    if (in3d) return poly_segments::length(v, w, true, true);
    return double(v->pt.x) == _RVIDE || double(w->pt.x) == _RVIDE ? 0 : chord;
}

// How far p lies in plan from the box round a and b: never further than from the segment between them.
double distanceToBox(const CPoint3d& a, const CPoint3d& b, const CPoint3d& p) {
    const double dx = std::max({std::min(a.x, b.x) - p.x, p.x - std::max(a.x, b.x), 0.0});
    const double dy = std::max({std::min(a.y, b.y) - p.y, p.y - std::max(a.y, b.y), 0.0});
    return std::max(dx, dy);
}

// Whether no point of the arc from a to b comes within reach of p. Every point of an arc lies within its
// sagitta of the chord (past a half circle, within it of the chord's middle), so the box round the ends
// widened by the sagitta bounds the arc.
bool arcOutOfReach(double bulge, const CPoint3d& a, const CPoint3d& b, double chord, const CPoint3d& p,
                   double reach) {
    // Without length in plan, or from an empty point, the arc geometry measures otherwise.
    if (chord == 0 || a.x == _RVIDE || b.x == _RVIDE || !poly_segments::arcKeptAsStored(bulge, chord))
        return false;
    return distanceToBox(a, b, p) - std::fabs(bulge) * chord / 2 > reach;
}

// A straight segment is projected on; an arc, or a segment without length in plan, goes through `arc`.
SegmentNearest nearestOnSegment(const P_Vertex* v, const P_Vertex* w, double chord, bool straight,
                                const CPoint3d& p, int in3d, CArc3d& arc) {
    SegmentNearest n;
    const CPoint3d a = v->pt;
    const CPoint3d b = w->pt;
    if (straight) {
        n.code = nearestOnStraight(a, b, chord, p, n.foot, &n.along, &n.offset, in3d);
        n.length = straightLength(v, w, chord, in3d);
        n.chord = chord;
        return n;
    }
    arc.set(v, b);
    n.code = arc.ptprox(p, n.foot, &n.along, &n.offset, in3d);
    n.length = arc.len(in3d);
    n.chord = arc.chord;
    if (arc.radius != 0 && !poly_segments::arcKeptAsStored(v->bulge, chord)) {
        const double stored = poly_segments::length(v, w, in3d);
        n.along = poly_segments::sameFraction(n.along, n.length, stored);
        n.length = stored;
    }
    return n;
}

} // namespace

P_Vertex* CPolyArc3D::ptAtPoint(P_Vertex* from, CPoint3d* p, double tol, int flags, CPoint3d* outPt,
                                double* outAlong, double* outOffset, double* outCumul) const {
    return entity_boundary::guarded<P_Vertex*>(
        "\nProbleme avec CPolyArc3D::ptAtpoint()", nullptr, [&]() -> P_Vertex* {
            P_Vertex* start = from ? from : m_pHead;
            if (!start || !p) return nullptr;
            // A walk from the head meets every vertex and checks each on the way; one from elsewhere does
            // not.
            if ((start != m_pHead && !hasSoundVertices()) || !isSoundVertex(start)) return nullptr;
            const CPoint3d target = *p;
            if (!poly_segments::isFinite(target)) return nullptr;
            if (tol <= 0) tol = _ecpt;
            const int in3d = flags & 1;

            Candidate best;
            CArc3d arc; // one arc for the whole walk
            double walked = 0;
            // N(v), with the closing test made once for the walk.
            P_Vertex* const afterTail = isClosed2D() ? m_pHead : nullptr;
            // Beyond the best distance by this much, no tie rule lets a segment win.
            const double tieMargin = 2 * _ecpt;
            for (P_Vertex *v = start, *w = nullptr; v != start || !w; v = w) {
                w = v->pVN ? v->pVN : afterTail;
                if (!w) break;
                prefetchAhead(w);
                if (!isSoundVertex(w)) return nullptr;
                const CPoint3d a = v->pt;
                const CPoint3d b = w->pt;
                const double chord = poly_segments::planChord(a, b);
                const bool straight = chord != 0 && isStraightSegment(v->bulge, chord);
                // A segment whose box lies beyond the tie margin of the best one cannot win: only its length
                // counts.
                const double reach = best.distance + tieMargin;
                if (straight ? distanceToBox(a, b, target) > reach
                             : arcOutOfReach(v->bulge, a, b, chord, target, reach)) {
                    walked +=
                        straight ? straightLength(v, w, chord, in3d) : poly_segments::length(v, w, in3d);
                    continue;
                }
                SegmentNearest n = nearestOnSegment(v, w, chord, straight, target, in3d, arc);
                // A vertical segment's offset says nothing of how far it is in plan.
                double distance = n.chord == 0 ? CPoint3d(v->pt).dist2dTo(target) : std::fabs(n.offset);
                // Beyond an end the end itself is the nearest point: how far it lies, not the offset grown
                // by the overshoot (which ranks a segment passing further away before a nearer end).
                if (n.along < 0) {
                    n.along = 0;
                    n.foot = v->pt;
                    distance = n.foot.dist2dTo(target);
                } else if (n.along > n.length) {
                    n.along = n.length;
                    n.foot = w->pt;
                    distance = n.foot.dist2dTo(target);
                }
                // The start of a later segment wins over the end of the one before; in 3-D, the nearer
                // height.
                const bool better = distance < best.distance ||
                                    (distance < best.distance + _ecpt / 5 && n.along < _ecpt) ||
                                    (in3d && std::fabs(distance - best.distance) < _ecpt &&
                                     std::fabs(n.foot.z - target.z) < std::fabs(best.foot.z - target.z));
                if (better) {
                    best.vertex = v;
                    best.foot = n.foot;
                    best.distance = distance;
                    best.along = n.along;
                    best.offset = n.offset;
                    best.cumul = walked + n.along;
                    best.code = n.code;
                }
                walked += n.length;
            }
            if (!best.vertex || best.distance > kFarthest) return nullptr;

            P_Vertex* answer = best.vertex;
            if ((flags & 2) && best.code > 0 && best.distance <= tol) {
                CArc3d segment(best.vertex, N(best.vertex)->pt);
                double alpha = 0;
                if (segment.radius != 0) {
                    CPoint3d foot;
                    double planAlong = 0;
                    segment.ptprox(target, foot, &planAlong);
                    alpha = planAlong / segment.radius * geometry::signOf(segment.bulge);
                }
                // Inserting is what the caller asked for: the change notice asserts write access.
                answer = const_cast<CPolyArc3D*>(this)->insertOnSegment(best.vertex, nullptr, best.foot,
                                                                        segment, alpha, flags);
                best.along = 0;
            }
            if (outPt) *outPt = best.foot;
            if (outAlong) *outAlong = best.along;
            if (outOffset) *outOffset = best.offset;
            if (outCumul) *outCumul = best.cumul;
            return answer;
        });
}
