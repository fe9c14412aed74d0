// One drag of the editor's jig: the base point and neighbours set up, the snap collector attached for the
// drag's length, a typed number taken in the number mode, and the jig released for the key filter after it.
#include <cwchar>

#include "entity/snaps/osnap_request.h"
#include "plugin/editor/editor_prompts.h"
#include "plugin/editor/qpoly_edit.h"
#include "plugin/editor/segment_jig.h"
#include "services/startup/fvar.h"

namespace {

constexpr int kTypedNumber = 12;

CPoint3d worldOf(const CPolyArc3D* poly, const CPoint3d& stored) {
    CPoint3d p = stored;
    if (poly && poly->normalMatrix()) poly->normalMatrix()->ApplyToPtInv(&p, &stored);
    return p;
}

} // namespace

int qpoly_edit::drag(SegmentJig* dragged) {
    if (!dragged) return kCancel;
    SegmentJig& j = *dragged;
    SegmentJig::setCurrentJig(&j);
    P_Vertex* moving = j.m_moving;
    j.m_base = moving ? worldOf(j.m_poly, moving->pt) : CPoint3d();
    j.m_sampled = j.m_previousSample = j.m_base;
    j.m_snapResult = -1;
    j.m_snapIndex = j.m_snapIndexCopy = -1;
    j.m_neighbours[0] = j.m_neighbours[1] = nullptr;
    if (moving) {
        const bool first = moving->pVB == nullptr;
        P_Vertex* neighbour = first ? moving->pVN : moving->pVB;
        if (neighbour && !neighbour->dur()) {
            j.m_neighbours[1] = neighbour;
            neighbour = first ? neighbour->pVN : neighbour->pVB;
        }
        j.m_neighbours[0] = neighbour;
    }
    int result;
    for (;;) {
        if (j.m_mode == SegmentJig::kWay && openRead()) {
            P_Vertex* walkFrom = wayMoving ? wayMoving : entity->H();
            if (walkFrom) j.m_base = worldOf(j.m_poly, walkFrom->pt);
            j.m_currentIndex = wayFixed ? (*entity)[wayFixed] : -1;
            closeEntity();
        }
        SegmentJig::typedCount() = 0;
        openRead();
        j.m_snapRequest = new OsnapRequest(entity);
        closeEntity();
        j.setPrompt();
        result = j.drag();
        vfVar.jigFlags &= ~2;
        j.m_typed[0] = 0;
        if (result == AcEdJig::kNormal || result == AcEdJig::kOther)
            j.acquireString(j.m_typed, SegmentJig::kTypedSize);
        // A number typed as an elevation or a radius that the drawing cannot hold is asked for again.
        double typed = 0;
        const bool takesNumber = j.m_mode == SegmentJig::kPointOrNumber || j.m_mode == SegmentJig::kShape;
        const bool refused = takesNumber && j.m_typed[0] && !std::wcschr(j.m_typed, L',') &&
                             !leadingNumber(j.m_typed, host::kLargestCoordinate, typed);
        if (j.m_mode == SegmentJig::kPointOrNumber && typed != 0) {
            j.m_distance = typed;
            result = kTypedNumber;
        }
        delete j.m_snapRequest;
        j.m_snapRequest = nullptr;
        if (refused) {
            refuseNumber();
            continue;
        }
        if (result != AcEdJig::kNormal) break;
        const bool samePlace = j.m_endCondition == 1   ? j.m_sampled.isEq2d(j.m_base)
                               : j.m_endCondition == 2 ? j.m_sampled.isEq3d(j.m_base)
                                                       : false;
        if (!samePlace) break;
    }
    SegmentJig::setCurrentJig(nullptr);
    if (SegmentJig::DynCursorFn routine = SegmentJig::dynCursor()) routine(nullptr, 0, nullptr);
    return result;
}
