// The selected stretch: setting it, reading its ends in order, checking it against the list, and copying it
// into another polyline.
#include "plugin/editor/qpoly_edit.h"

#include "geometry/arcs/arc3d.h"

namespace {

bool isGenerated(const P_Vertex* v) {
    return (v->flags & 1) != 0;
}

// The code of the vertex after which a stretch was inserted, as the segment leading on from the inserted
// copies takes it: a break (kinds 2 and 8) loses its kind, a kind 4 its qualifier.
void takeCodeOfInsertion(P_Vertex* last, signed char tef1, signed char tef2) {
    last->tef1 = (tef1 == 2 || tef1 == 8) ? 0 : tef1;
    last->tef2 = tef1 == 4 ? 0 : tef2;
}

} // namespace

int qpoly_edit::setWay(AllVertices) {
    if (!entity) return 0;
    fixedDist = movingDist = 0;
    wayFixed = entity->H();
    wayMoving = entity->isClosed2D() ? entity->H() : entity->T();
    minSegments = 1;
    goState = 1;
    if (!current) current = entity->T();
    return 1;
}

int qpoly_edit::setWay(P_Vertex* vertex, OneSegment) {
    wayFixed = current = vertex;
    if (!vertex || !entity) return 0;
    goState = 2;
    P_Vertex* next = entity->N(current);
    if (!next) next = current;
    // Over the generated vertices, at most one turn of the list.
    for (int steps = entity->GetCount(); next && isGenerated(next) && steps > 0; --steps) {
        P_Vertex* further = next->pVN ? next->pVN : (entity->isClosed2D() ? entity->H() : nullptr);
        if (!further) break;
        next = further;
    }
    wayMoving = next;
    return 1;
}

int qpoly_edit::setWay(P_Vertex* vertex, P_Vertex* end) {
    wayFixed = current = vertex;
    if (!vertex || !entity) return 0;
    const bool closed = entity->isClosed2D();
    wayMoving = end ? end : (closed ? entity->H() : entity->T());
    if (goState == 0) goState = 1;
    const int fixedIndex = (*entity)[wayFixed];
    const int movingIndex = (*entity)[wayMoving];
    if (fixedIndex < 0 || movingIndex < 0) return 0;
    minSegments = 0;
    if (wayFixed == wayMoving) {
        if (closed)
            minSegments = (fixedDist > movingDist && goState > 0) || (fixedDist <= movingDist && goState < 0);
        else
            goState = fixedDist > movingDist ? -1 : 1;
    } else if (!closed) {
        goState = movingIndex < fixedIndex ? -1 : 1;
    }
    return 1;
}

int qpoly_edit::getStretch(P_Vertex*& start, P_Vertex*& end, double* startDist, double* endDist) const {
    const bool forward = goState >= 0;
    start = forward ? wayFixed : wayMoving;
    end = forward ? wayMoving : wayFixed;
    if (startDist) *startDist = forward ? fixedDist : movingDist;
    if (endDist) *endDist = forward ? movingDist : fixedDist;
    return 1;
}

int qpoly_edit::checkVertices() {
    if (!entity) {
        current = wayFixed = wayMoving = nullptr;
        return 0;
    }
    for (P_Vertex** v : {&current, &wayFixed, &wayMoving})
        if (!inList(*v)) *v = nullptr;
    if (goState != 0) {
        if (!current) current = wayFixed ? wayFixed : (wayMoving ? wayMoving : entity->T());
        if (!wayFixed) wayFixed = current;
        if (!wayMoving) wayMoving = current;
        if (wayFixed == wayMoving) {
            if (P_Vertex* next = entity->Nxyz(wayMoving)) wayMoving = next;
        }
    }
    if (!current) current = entity->H();
    return current ? 1 : 0;
}

P_Vertex* qpoly_edit::copyStretch(CPolyArc3D* target, P_Vertex* after, int mask, const P_Vertex* source) {
    if (!target || !wayFixed || !entity) return nullptr;
    if (!after) after = target->T();
    // What the segment leading on from the copies keeps of the insertion vertex.
    P_Vertex insertion(0);
    if (after) insertion = after;

    P_Vertex *start, *end;
    double startDist, endDist;
    getStretch(start, end, &startDist, &endDist);
    if (!inList(start) || !inList(end)) return nullptr;

    P_Vertex* first = nullptr;
    P_Vertex* last = after;
    int segments = -1;
    // At most one turn of the list and back to the end vertex.
    for (P_Vertex* v = start; v && segments <= entity->GetCount();) {
        P_Vertex* copy = target->I(last, nullptr);
        copy->pt = v->pt;
        copy->bulge = v->bulge;
        if (mask & 1) {
            copy->tef1 = v->tef1;
            copy->tef2 = v->tef2;
        } else if (source) {
            copy->tef2 = source->tef2;
        }
        if (mask & 2) copy->flags = v->flags;
        if (mask & 4)
            copy->i40 = v->i40;
        else if (source)
            copy->i40 = source->i40;
        if (mask & 8)
            copy->i39 = v->i39;
        else if (source)
            copy->i39 = source->i39;
        if ((mask & 0x10) && isGenerated(v)) copy->flags = static_cast<std::int16_t>(copy->flags | 2);
        if (mask & 0x20) copy->tag = static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(v));
        if (!first) first = copy;
        last = copy;
        ++segments;
        if (v == end && segments >= minSegments) break;
        v = entity->N(v);
        if (v == start && v != end) break;
    }
    if (!first) return nullptr;

    // A distance at the start moves the first copy into its segment; one at the end cuts the last segment
    // short and ends the copy at the point there. A stretch inside one segment keeps the part between.
    const bool insideOneSegment = first == last;
    P_Vertex* afterStart = entity->N(start);
    if (startDist != 0 && afterStart && !(insideOneSegment && endDist != 0)) {
        CArc3d part(start, afterStart->pt);
        CPoint3d startPoint;
        part.ptAtDist(startDist, startPoint, 0, 2);
        first->pt = startPoint;
        first->bulge = part.bulge;
    }
    if (P_Vertex* afterEnd = entity->N(end); endDist != 0 && afterEnd) {
        CArc3d part(end, afterEnd->pt);
        CPoint3d endPoint;
        part.ptAtDist(endDist, endPoint, 0, 1);
        if (insideOneSegment && startDist != 0) {
            CPoint3d startPoint;
            part.ptAtDist(startDist, startPoint, 0, 2);
            first->pt = startPoint;
        }
        last->bulge = part.bulge;
        last = target->I(last, nullptr);
        last->pt = endPoint;
    }

    // Reversed in place, the run's old first node ends it.
    P_Vertex* keeper = last;
    if (goState < 0 && first != last && target->einvsens(0, first, last)) {
        last = first;
        keeper = last->pVB;
    }
    if (after) {
        if (mask & 1) takeCodeOfInsertion(keeper, insertion.tef1, insertion.tef2);
        if (mask & 4) keeper->i40 = insertion.i40;
        if (mask & 8) keeper->i39 = insertion.i39;
    }
    return last;
}
