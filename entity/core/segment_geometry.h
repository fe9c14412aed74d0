#pragma once
// Small geometric readings of the vertex list that the measuring and editing operations share.
#include "geometry/points/angle_units.h"
#include "geometry/points/vertex.h"

#include <cmath>

namespace poly_segments {

// A straight segment of plan length h in 3-D between heights az and bz; as dist3dTo, a height of exactly 0
// on either end stands for none.
inline double withHeights(double h, double az, double bz) {
    const double dz = (az != 0 && bz != 0) ? az - bz : 0;
    return dz == 0 ? h : std::sqrt(h * h + dz * dz);
}

// From v to w with v's bulge, or as a chord: in plan, or in 3-D where both ends have a height.
inline double length(const P_Vertex* v, const P_Vertex* w, bool in3d, bool asChord = false) {
    const double bulge = asChord ? 0.0 : double(v->bulge);
    // The common segment, straight (in plan between two real points), without a call per segment;
    // coordinates read one by one, so that no point is copied out of the packed node.
    const double ax = v->pt.x;
    const double bx = w->pt.x;
    if (bulge == 0 && in3d)
        return withHeights(geometry::planLength(bx - ax, w->pt.y - v->pt.y), v->pt.z, w->pt.z);
    if (bulge == 0 && ax != _RVIDE && bx != _RVIDE) return geometry::planLength(bx - ax, w->pt.y - v->pt.y);
    const CPoint3d a = v->pt;
    const CPoint3d b = w->pt;
    return in3d ? a.dist3dTo(b, bulge) : a.dist2dTo(b, bulge);
}

// The plan chord between two points.
inline double planChord(const CPoint3d& a, const CPoint3d& b) {
    return geometry::planLength(b.x - a.x, b.y - a.y);
}

inline double planLength(const P_Vertex* v, const P_Vertex* w) {
    return length(v, w, false);
}

// Whether the arc geometry keeps an arc of this bulge and plan chord as stored: it clamps huge radii, and
// large ones past a half circle. The margins keep rounding from deciding.
inline bool arcKeptAsStored(double bulge, double chord) {
    const double b = std::fabs(bulge);
    const double radius = chord * (1 + b * b) / (4 * b);
    return radius < 4990 || (radius < 1.99e6 && b < 0.99);
}

// A distance along a segment of fromLength taken to the same fraction of toLength: between the arc that the
// arc geometry makes of a segment it clamps and the segment as stored, along which every length of the
// polyline runs.
inline double sameFraction(double distance, double fromLength, double toLength) {
    return fromLength > 0 ? distance * (toLength / fromLength) : distance;
}

inline bool isFinite(const CPoint3d& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

} // namespace poly_segments
