// FR: part of another polyline re-taken into this one. A second editor on the picked polyline chooses the
// part, its start with one pick of Go mode and its end with one pick of Way mode; the copy then takes the
// place of the inside of this editor's stretch, in one undo group. Cancel at any prompt changes nothing.
#include <algorithm>

#include "cadutil/command_line/print.h"
#include "cadutil/command_line/selection.h"
#include "cadutil/database/host_variables.h"
#include "geometry/points/angle_units.h"
#include "plugin/editor/editor_state.h"
#include "plugin/editor/function_prompts.h"
#include "plugin/editor/own_point.h"
#include "plugin/editor/qpoly_edit.h"
#include "plugin/editor/segment_jig.h"
#include "plugin/editor/shape_memory.h"

namespace {

constexpr int kRetakeKeyword = 35;
constexpr int kGoKeyword = 14;
constexpr int kWayKeyword = 20;
constexpr int kOnePick = 0x4;
constexpr double kAtVertex = 1e-4;
// The attributes a re-take may copy. The mask's other bits would tag each copy with the address of a vertex
// of the other polyline, a pointer left behind in this one.
constexpr int kRetakeParts =
    retake::kCode | retake::kFlags | retake::kWidth | retake::kHeight | retake::kBlocked;

// The vertex of poly lying at a world point (3-D), or null.
P_Vertex* vertexAt(const CPolyArc3D& poly, const CPoint3d& world) {
    CPoint3d p = ownPoint(poly, world);
    P_Vertex* segment = poly.ptAtPoint(nullptr, &p, kAtVertex, 1, nullptr, nullptr, nullptr, nullptr);
    for (P_Vertex* v : {segment, segment ? poly.N(segment) : nullptr})
        if (v && v->pt.dist3dTo(p) <= kAtVertex) return v;
    return nullptr;
}

// Where the part to re-take starts before the user chooses: at the joint of this polyline, else at the
// picked point, else at the picked segment.
P_Vertex* startVertex(const CPolyArc3D& other, const CPoint3d& joint, const AcGePoint3d& picked,
                      Adesk::GsMarker marker) {
    if (P_Vertex* v = vertexAt(other, joint)) return v;
    CPoint3d at = ownPoint(other, CPoint3d(picked.x, picked.y, picked.z));
    if (P_Vertex* v = other.ptAtPoint(nullptr, &at, kAtVertex, 1, nullptr, nullptr, nullptr, nullptr))
        return v;
    return other.GetIndex(std::max<std::int64_t>(marker - 1, 0));
}

// The start of the part in Go mode, then its end in Way mode; false when the user gave up.
bool choosePart(qpoly_edit& other, const CPoint3d& joint, const AcGePoint3d& picked, Adesk::GsMarker marker) {
    CPolyArc3D* poly = other.openRead();
    if (!poly) return false;
    other.current = startVertex(*poly, joint, picked, marker);
    other.closeEntity();
    const int start = other.go(kOnePick, "\nDebut de reprise de troncon :", kGoKeyword);
    if (start != qpoly_edit::kPointEndsMode && start != qpoly_edit::kEmptyEnter && start != kWayKeyword)
        return false;
    const int end = other.way(kOnePick, "\nFin de reprise de troncon :");
    return end == qpoly_edit::kPointEndsMode || end == qpoly_edit::kEmptyEnter;
}

// Whether the picked polyline can give a part to this one: not this one, whose stretch is emptied before the
// copy and could take the part's vertices with it, and one of at least 2 vertices, since its editor erases a
// shorter one when it closes.
bool canGivePart(const AcDbObjectId& other, const AcDbObjectId& self) {
    if (other == self) return false;
    CPolyArc3D* poly = nullptr;
    if (acdbOpenObject(poly, other, AcDb::kForRead) != Acad::eOk) return false;
    const bool enough = poly->GetCount() >= 2;
    poly->close();
    return enough;
}

// The stretch's ends as the re-take joins them: the pending arc middle vertex stands for the arc that the
// re-take replaces, so the hard vertex beyond it is the joint.
void jointsOf(const qpoly_edit& editor, P_Vertex*& start, P_Vertex*& end) {
    editor.getStretch(start, end);
    if (!editor.arcMiddle) return;
    if (start == editor.arcMiddle) start = editor.entity->B(start);
    if (end == editor.arcMiddle) end = editor.entity->N(end);
}

bool near(const P_Vertex* a, const P_Vertex* b) {
    return a->pt.dist3dTo(b->pt) <= _ecpt;
}

// The part from first to last follows start. A copy on the vertex it joins gives way to it, which takes the
// copy's arc on; the pending vertex goes anyway and keeps nothing. Past an open tail the part has no joint.
void mergeJoints(CPolyArc3D& poly, const P_Vertex* pending, P_Vertex* start, P_Vertex* first,
                 P_Vertex* last) {
    if (start != pending && near(start, first)) {
        start->bulge = first->bulge;
        const bool single = first == last;
        poly.D(first);
        if (single) return;
    }
    P_Vertex* next = poly.N(last);
    if (next && next != pending && near(last, next)) poly.D(last);
}

} // namespace

int qpoly_edit::retakeStretch() {
    if (goState == 0 || !openRead()) return closeEntity(), kRetakeKeyword;
    P_Vertex *start = nullptr, *end = nullptr;
    jointsOf(*this, start, end);
    if (!inList(start) || !inList(end)) return closeEntity(), kRetakeKeyword;
    const CPoint3d joint = entity->WorldPoint(goState < 0 ? end : start);
    const char* word = classWord(*entity);
    closeEntity();

    cmdprintf("\nReprend : Qpolylignes \xe0 Reprendre ?(Escape): ");
    AcDbObjectId otherId;
    Adesk::GsMarker marker = 0;
    AcGePoint3d picked;
    const int osmode = swapOsmode(0);
    const int picking = pickEntity(otherId, word, &marker, &picked);
    swapOsmode(osmode);
    if (picking != RTNORM) return kRetakeKeyword;
    if (!canGivePart(otherId, id)) {
        editor_state::errorBeep();
        return kRetakeKeyword;
    }
    qpoly_edit other(otherId, nullptr, 1);
    if (!other.id.isNull() && choosePart(other, joint, picked, marker)) spliceRetaken(other);
    other.close();
    return kRetakeKeyword;
}

void qpoly_edit::spliceRetaken(qpoly_edit& source) {
    // This stretch runs back to its joint: the part, which starts there, goes in reversed.
    const bool backwards = goState < 0;
    beginUndoGroup();
    P_Vertex *from = nullptr, *to = nullptr;
    if (entity && source.openRead() && source.getStretch(from, to) && (*source.entity)[from] >= 0 &&
        (*source.entity)[to] >= 0) {
        P_Vertex *start = nullptr, *end = nullptr;
        jointsOf(*this, start, end);
        for (P_Vertex* v = entity->N(start); v && v != end && v != start; v = entity->N(start))
            entity->D(v);
        // Before any copy reuses a freed node, forget the vertices that went.
        for (P_Vertex** gone : {&arcMiddle, &rubber, &wayFixed, &wayMoving})
            if (!inList(*gone)) *gone = nullptr;
        if (!inList(current)) current = backwards ? end : start;

        const int mask = shape_memory::values().retakeMask & kRetakeParts;
        if (P_Vertex* last = source.copyStretch(entity, start, mask, current)) {
            P_Vertex* first = entity->N(start);
            for (P_Vertex* v = first;; v = entity->N(v)) {
                v->pt = ownPoint(*entity, source.entity->WorldPoint(&v->pt));
                if (v == last) break;
            }
            // The joints are straight; a reversal makes its own.
            start->bulge = 0;
            last->bulge = 0;
            // Reversed in place, the part's old last node leads it.
            if (backwards && entity->einvsens(0, first, last)) std::swap(first, last);
            mergeJoints(*entity, rubber, start, first, last);
        }
        entity->lisse(start, nullptr, SegmentJig::kNoTangent, SegmentJig::kNoTangent);
        entity->lisse(end, nullptr, SegmentJig::kNoTangent, SegmentJig::kNoTangent);
        setWay(start, kOneSegment);
        highlightStretch(1);
    }
    source.closeEntity();
    endUndoGroup();
}
