// FD: the selected stretch replaced by its offset at a typed or measured distance.
#include <memory>

#include "cadutil/command_line/print.h"
#include "geometry/points/angle_units.h"
#include "plugin/editor/editor_prompts.h"
#include "plugin/editor/qpoly_edit.h"
#include "plugin/editor/segment_jig.h"
#include "plugin/editor/shape_memory.h"

namespace {

constexpr int kOffsetKeyword = 31;

// The vertex after v, over the end of a closed polyline.
P_Vertex* following(const CPolyArc3D& poly, P_Vertex* v) {
    return v->pVN ? v->pVN : (poly.isClosed2D() ? poly.H() : nullptr);
}

// The offset of the stretch copied into a polyline of the entity's class; null when none can be made.
std::unique_ptr<CPolyArc3D> offsetOf(CPolyArc3D& stretch, double distance) {
    AcDbVoidPtrArray curves;
    if (stretch.getOffsetCurves(distance, curves) != Acad::eOk) return nullptr;
    std::unique_ptr<CPolyArc3D> offset;
    for (int i = 0; i < curves.length(); ++i) {
        auto* curve = static_cast<CPolyArc3D*>(curves[i]);
        if (offset)
            delete curve;
        else
            offset.reset(curve);
    }
    return offset;
}

} // namespace

int qpoly_edit::offsetStretch() {
    if (!hasStretch()) {
        msgprintf("\n Vous devez avoir un tron\xe7on de selectionn\xe9 ");
        return kOffsetKeyword;
    }
    double& remembered = shape_memory::values().lastOffset;
    remembered =
        askDistance(remembered, " Distance de decalage (+ a droite,- a gauche) ", nullptr, nullptr, 0);
    if (remembered == 0 || !openRead()) return kOffsetKeyword;
    std::unique_ptr<CPolyArc3D> stretch(entity->newCPolyArc3D());
    if (!stretch) return closeEntity(), kOffsetKeyword;
    stretch->setPropertiesFrom(entity);
    stretch->setSNormal(entity->normalMatrix(), 1);
    copyStretch(stretch.get(), nullptr, 0, nullptr);
    // A stretch running backwards comes reversed: back in the list's order, its right side is the other one.
    if (goState < 0) {
        stretch->einvsens(0, stretch->H(), stretch->T());
        remembered = -remembered;
    }
    std::unique_ptr<CPolyArc3D> offset = offsetOf(*stretch, remembered);
    closeEntity();
    if (!offset || !offset->H()) return kOffsetKeyword;

    beginUndoGroup();
    if (!entity) return endUndoGroup(), kOffsetKeyword;
    P_Vertex *start = nullptr, *end = nullptr;
    getStretch(start, end);
    for (P_Vertex* v = following(*entity, start); v && v != end && v != start;) {
        P_Vertex* next = following(*entity, v);
        entity->D(v);
        v = next;
    }
    // Replacing a whole closed polyline, the offset ring closes through the entity's own closing segment:
    // a last vertex on its first one would leave a segment of no length. Elsewhere a closed offset takes
    // its first vertex again at its end.
    const bool wholeRing = end == start;
    if (wholeRing) {
        P_Vertex* tail = offset->T();
        if (tail != offset->H() && tail->pt.dist3dTo(offset->H()->pt) <= _ecpt) offset->D(tail);
    } else if (offset->f70() & 1) {
        offset->A(offset->H())->tag = 0;
    }
    P_Vertex* first = nullptr;
    P_Vertex* last = start;
    for (const P_Vertex* v = offset->H(); v; v = v->pVN) {
        last = entity->I(last, v);
        last->tag = 0;
        if (!first) first = last;
    }
    // On a whole closed polyline the stretch starts and ends on the same vertex: it goes once.
    entity->D(start);
    if (!wholeRing) entity->D(end);
    entity->lisse(first, nullptr, SegmentJig::kNoTangent, SegmentJig::kNoTangent);
    entity->lisse(last, nullptr, SegmentJig::kNoTangent, SegmentJig::kNoTangent);
    current = first;
    setWay(first, kOneSegment);
    highlightStretch(1);
    endUndoGroup();
    return kOffsetKeyword;
}
