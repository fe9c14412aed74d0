#pragma once
// The rules by which eclate cuts a polyline into pieces, shared with the measurements that walk an outline as
// it stands when no rule would cut it.
#include "entity/core/poly_arc3d.h"
#include "geometry/points/angle_units.h"

#include <cwctype>

namespace eclate_rules {

// Ends nearer than this in plan meet.
inline double meetingDistance() {
    return 4 * _ecpt;
}

inline bool meetInPlan(const P_Vertex* a, const P_Vertex* b) {
    const CPoint3d pa = a->pt;
    const CPoint3d pb = b->pt;
    const double dx = pa.x - pb.x;
    const double dy = pa.y - pb.y;
    return dx * dx + dy * dy < meetingDistance() * meetingDistance();
}

inline bool isBreak(const P_Vertex* v) {
    return v->tef1 == 2 || v->tef1 == 3;
}

inline bool startsInnerRing(const P_Vertex* v) {
    return v->tef1 == 6 && v->tef2 != 4;
}

// Whether a vertex's code makes eclate cut there.
inline bool cutsHere(const P_Vertex* v) {
    return isBreak(v) || startsInnerRing(v);
}

// Only the linetypes whose name begins with "S" are drawn by pieces: with the drawing mode, any other stays
// whole.
inline bool drawnByPieces(const ACHAR* linetypeName) {
    return !linetypeName || !linetypeName[0] || std::towupper(linetypeName[0]) == L'S';
}

} // namespace eclate_rules
