// M and MR: the selected stretch (or the current vertex alone) dragged by a displacement, the vertices
// around it shown in place; MR repeats the move vertex after vertex.
#include "plugin/editor/qpoly_edit.h"
#include "plugin/editor/segment_jig.h"

namespace {

constexpr int kMoveKeyword = 6;
constexpr int kRepeatMoveKeyword = 7;
constexpr int kOtherInput = -3;
constexpr int kFixedNeighbours = 2;

// The vertex beside v in the walk's direction, over the end of a closed polyline.
P_Vertex* beside(const CPolyArc3D& poly, P_Vertex* v, int step) {
    P_Vertex* next = step > 0 ? v->pVN : v->pVB;
    if (next || !poly.isClosed2D()) return next;
    return step > 0 ? poly.H() : poly.T();
}

P_Vertex* tagged(const P_Vertex* copy) {
    return copy ? reinterpret_cast<P_Vertex*>(static_cast<std::intptr_t>(copy->tag)) : nullptr;
}

// Copies (tag 0, so that they stay in place) of the vertices from `from` outwards until two hard ones are in,
// stopping at the polyline's end or at the moving part.
void addFixedNeighbours(CPolyArc3D& work, const CPolyArc3D& poly, P_Vertex* from, int step) {
    P_Vertex* first = tagged(work.H());
    P_Vertex* last = tagged(work.T());
    int hard = 0;
    for (P_Vertex* v = beside(poly, from, step); v && v != first && v != last && hard < kFixedNeighbours;
         v = beside(poly, v, step)) {
        P_Vertex* copy = step > 0 ? work.A(v) : work.I(nullptr, v);
        copy->tag = 0;
        if (v->dur()) ++hard;
    }
}

} // namespace

bool qpoly_edit::prepareMove(SegmentJig& jig) {
    if (!openRead() || !current) return false;
    CPolyArc3D& work = *jig.m_poly;
    work.RemoveAll();
    copyStretch(&work, nullptr, -1, nullptr);
    // The one-segment stretch moves its start only.
    if (goState == 2 && work.H() != work.T()) work.D(work.T());
    // The copy comes reversed from a stretch running backwards: put it back in the list's order.
    if (goState < 0 && work.H() != work.T()) work.einvsens(0, work.H(), work.T());
    P_Vertex* start = tagged(work.H());
    P_Vertex* end = tagged(work.T());
    if (!start || !end) return false;
    addFixedNeighbours(work, *entity, start, -1);
    addFixedNeighbours(work, *entity, end, 1);
    jig.m_moving = current;
    return true;
}

int qpoly_edit::moveStretch(int keyword, SegmentJig* moveJig) {
    if (!moveJig || !moveJig->m_poly) return kOtherInput;
    if (keyword == kRepeatMoveKeyword && openRead()) {
        if (current == entity->T()) repeatStep = -1;
        if (current == entity->H()) repeatStep = 1;
    }
    closeEntity();
    int result = keyword;
    for (;;) {
        const bool ready = prepareMove(*moveJig);
        closeEntity();
        const int previousMode = moveJig->setMode(SegmentJig::kDisplace);
        result = ready ? drag(moveJig) : kOtherInput;
        moveJig->m_moving = nullptr;
        if (result == 0 && openWrite()) {
            for (P_Vertex* copy = moveJig->m_poly->H(); copy; copy = copy->pVN)
                if (P_Vertex* source = tagged(copy); source && inList(source)) source->pt = copy->pt;
            smoothStretch();
        }
        moveJig->setMode(previousMode);
        highlightStretch(1);
        closeEntity();
        if (keyword == kMoveKeyword || (result != 0 && result != kRepeatMoveKeyword)) break;
        if (result == kRepeatMoveKeyword) repeatStep = -repeatStep;
        if (!openRead()) break;
        const P_Vertex* end = repeatStep > 0 ? entity->T() : entity->H();
        const bool atEnd = current == end;
        if (!atEnd) stepToHardVertex(repeatStep);
        closeEntity();
        if (atEnd) break;
    }
    return result;
}
