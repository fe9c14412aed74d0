// The point at a distance along the polyline, optionally made a vertex.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/core/segment_geometry.h"
#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_units.h"

#include <algorithm>
#include <cmath>

P_Vertex* CPolyArc3D::ptAtDist(P_Vertex* from, double dist, double tol, int flags, CPoint3d* outPt,
                               double* outAlong) const {
    return entity_boundary::guarded<P_Vertex*>(
        "\nProbleme avec CPolyArc3D::ptAtdist()", nullptr, [&]() -> P_Vertex* {
            if (!std::isfinite(dist) || !hasSoundVertices()) return nullptr;
            // Inserting is what the caller asked for: the change notice asserts write access.
            return const_cast<CPolyArc3D*>(this)->locateAtDistance(from, dist, tol, flags, outPt, outAlong);
        });
}

P_Vertex* CPolyArc3D::locateAtDistance(P_Vertex* from, double dist, double tol, int flags, CPoint3d* outPt,
                                       double* outAlong) {
    P_Vertex* start = from ? from : m_pHead;
    if (!start) return nullptr;
    if (tol <= 0) tol = _ecpt;
    const int in3d = flags & 1;

    CPoint3d point = start->pt;
    double along = 0;
    P_Vertex* answer = nullptr;
    CArc3d segment;
    double walked = 0;
    for (P_Vertex* v = start;;) {
        P_Vertex* w = N(v);
        if (!w) {
            // Past an open end: its vertex and point.
            answer = v;
            point = v->pt;
            break;
        }
        segment.set(v, w->pt);
        const double arcLength = segment.len(in3d);
        const bool clamped = segment.radius != 0 && !poly_segments::arcKeptAsStored(v->bulge, segment.chord);
        const double length = clamped ? poly_segments::length(v, w, in3d) : arcLength;
        if (dist > walked + length + tol) {
            walked += length;
            v = w;
            if (v == start) {
                answer = v;
                break;
            }
            continue;
        }
        along = std::min(dist - walked, length);
        CArc3d firstPart = segment;
        const double onArc = clamped ? poly_segments::sameFraction(along, length, arcLength) : along;
        const int code = firstPart.ptAtDist(onArc, point, in3d, 1);
        answer = v;
        if (code == -2) {
            answer = w;
            along = 0;
        } else if ((flags & 2) && code > 0) {
            answer = insertOnSegment(v, v, point, segment, firstPart.endGis - firstPart.startGis, flags);
            along = 0;
        }
        break;
    }
    if (outPt) *outPt = point;
    if (outAlong) *outAlong = along;
    return answer;
}
