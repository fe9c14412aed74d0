// The nearest point of the polyline to a given point, optionally made a vertex.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/core/segment_geometry.h"
#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_helpers.h"
#include "geometry/points/angle_units.h"

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
    CArc3d segment;
};

} // namespace

P_Vertex* CPolyArc3D::ptAtPoint(P_Vertex* from, CPoint3d* p, double tol, int flags, CPoint3d* outPt,
                                double* outAlong, double* outOffset, double* outCumul) const {
    return entity_boundary::guarded<P_Vertex*>(
        "\nProbleme avec CPolyArc3D::ptAtpoint()", nullptr, [&]() -> P_Vertex* {
            P_Vertex* start = from ? from : m_pHead;
            if (!start || !p || !hasSoundVertices()) return nullptr;
            const CPoint3d target = *p;
            if (!poly_segments::isFinite(target)) return nullptr;
            if (tol <= 0) tol = _ecpt;
            const int in3d = flags & 1;

            Candidate best;
            CArc3d segment; // one arc for the whole walk; the best one is copied
            double walked = 0;
            for (P_Vertex* v = start;;) {
                P_Vertex* w = N(v);
                if (!w) break;
                segment.set(v, w->pt);
                CPoint3d foot;
                double along = 0, offset = 0;
                const int code = segment.ptprox(target, foot, &along, &offset, in3d);
                const double length = segment.len(in3d);
                // A vertical segment's offset says nothing of how far it is in plan.
                double distance = segment.chord == 0 ? CPoint3d(v->pt).dist2dTo(target) : std::fabs(offset);
                // Beyond an end the end itself is the nearest point: how far it lies, not the offset grown
                // by the overshoot (which ranks a segment passing further away before a nearer end).
                if (along < 0) {
                    along = 0;
                    foot = v->pt;
                    distance = foot.dist2dTo(target);
                } else if (along > length) {
                    along = length;
                    foot = w->pt;
                    distance = foot.dist2dTo(target);
                }
                // The start of a later segment wins over the end of the one before; in 3-D, the nearer
                // height.
                const bool better = distance < best.distance ||
                                    (distance < best.distance + _ecpt / 5 && along < _ecpt) ||
                                    (in3d && std::fabs(distance - best.distance) < _ecpt &&
                                     std::fabs(foot.z - target.z) < std::fabs(best.foot.z - target.z));
                if (better) {
                    best.vertex = v;
                    best.foot = foot;
                    best.distance = distance;
                    best.along = along;
                    best.offset = offset;
                    best.cumul = walked + along;
                    best.code = code;
                    best.segment = segment;
                }
                walked += length;
                v = w;
                if (v == start) break;
            }
            if (!best.vertex || best.distance > kFarthest) return nullptr;

            P_Vertex* answer = best.vertex;
            if ((flags & 2) && best.code > 0 && best.distance <= tol) {
                double alpha = 0;
                if (best.segment.radius != 0) {
                    CPoint3d foot;
                    double planAlong = 0;
                    best.segment.ptprox(target, foot, &planAlong);
                    alpha = planAlong / best.segment.radius * geometry::signOf(best.segment.bulge);
                }
                // Inserting is what the caller asked for: the change notice asserts write access.
                answer = const_cast<CPolyArc3D*>(this)->insertOnSegment(best.vertex, nullptr, best.foot,
                                                                        best.segment, alpha, flags);
                best.along = 0;
            }
            if (outPt) *outPt = best.foot;
            if (outAlong) *outAlong = best.along;
            if (outOffset) *outOffset = best.offset;
            if (outCumul) *outCumul = best.cumul;
            return answer;
        });
}
