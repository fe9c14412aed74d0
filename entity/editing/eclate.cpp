// Splitting a polyline into pieces: at breaks, at inner rings and, on request, at loops.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/editing/eclate_rules.h"
#include "entity/editing/plan_meetings.h"

#include <vector>

using eclate_rules::isBreak;
using eclate_rules::meetingDistance;
using eclate_rules::meetInPlan;
using eclate_rules::startsInnerRing;

namespace {

bool endsMeet(const CPolyArc3D& piece) {
    return piece.GetCount() > 1 && meetInPlan(piece.H(), piece.T());
}

// The vertex that brings a ring starting at `first` back to it, else the tail (or `first` alone).
P_Vertex* ringEnd(P_Vertex* first) {
    P_Vertex* last = first->pVN;
    while (last && !meetInPlan(last, first) && last->pVN)
        last = last->pVN;
    return last ? last : first;
}

} // namespace

int CPolyArc3D::eclate(CPtrArray* pieces, int mode) {
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::eclate()", 0, [&] {
        if (!pieces || !hasSoundVertices()) return 0;
        if (pieces->IsEmpty()) return explodeCopy(*pieces, mode);
        splitPieces(*pieces, pieces->Add(this), mode);
        return pieces->GetSize();
    });
}

int CPolyArc3D::explodeCopy(CPtrArray& pieces, int mode) const {
    CPolyArc3D* work = newPieceLike();
    pieces.Add(work);
    work->copyVertexFrom(this);
    std::int64_t tag = 0;
    for (P_Vertex* v = work->m_pHead; v; v = v->pVN)
        v->tag = ++tag;
    if ((mode & 1) && !eclate_rules::drawnByPieces(linetype())) return 1;

    const short flags = work->m_f70;
    work->splitPieces(pieces, 0, mode);
    for (int i = pieces.GetSize() - 1; i >= 0; --i) {
        auto* piece = static_cast<CPolyArc3D*>(pieces[i]);
        if (endsMeet(*piece)) {
            piece->D(nullptr, 0);
            piece->m_f70 = static_cast<short>(flags | 1);
        }
        if (piece->GetCount() < 2) {
            delete piece;
            pieces.RemoveAt(i);
        }
    }
    return pieces.GetSize();
}

void CPolyArc3D::splitPieces(CPtrArray& pieces, int first, int mode) const {
    // Pieces split off are split in turn: the array is the queue, so no break count deepens the stack.
    std::vector<CPolyArc3D*> loops;
    for (int i = first; i < pieces.GetSize(); ++i) {
        auto* piece = static_cast<CPolyArc3D*>(pieces[i]);
        piece->splitAtCodes(pieces);
        if (mode & 2) piece->splitLoops(loops);
    }
    for (CPolyArc3D* loop : loops)
        pieces.Add(loop);
}

void CPolyArc3D::keepPiece(CPolyArc3D* piece, CPtrArray& pieces) {
    if (piece->GetCount() > 1) {
        if (piece->m_pTail->tef1 == 6) piece->m_pTail->tef1 = 0;
        pieces.Add(piece);
    } else {
        delete piece;
    }
}

void CPolyArc3D::splitAtCodes(CPtrArray& pieces) {
    if (!m_pHead) return;
    if (endsMeet(*this)) {
        changeField(m_f70, static_cast<short>(m_f70 | 1));
    } else if (m_f70 & 1) {
        A(m_pHead); // the closing segment made explicit, so that a break can open the ring
    }
    for (P_Vertex* v = m_pHead; v;) {
        if (isBreak(v)) {
            // Everything after the break is a piece of its own; neither part is a ring any more.
            const std::int64_t code = static_cast<unsigned short>(v->tefs());
            POLYModif(1);
            v->tef1 = 0;
            m_f70 = static_cast<short>(m_f70 & ~1);
            if (v->pVN) {
                CPolyArc3D* piece = newPieceLike();
                piece->m_Scratch = code;
                moveRun(v->pVN, m_pTail, *piece);
                keepPiece(piece, pieces);
            }
            return;
        }
        if (startsInnerRing(v)) {
            std::int64_t code = static_cast<unsigned short>(v->tefs());
            // Rings may follow one another, each closing point coded to open the next (the loops of a hatch);
            // a run after a coded closing point that comes back to nothing is the way back to the outline.
            for (bool chained = false; v->pVN;) {
                P_Vertex* first = v->pVN;
                P_Vertex* last = ringEnd(first);
                const bool ring = last != first && meetInPlan(last, first);
                if (chained && !ring) break;
                const std::int64_t next = static_cast<unsigned short>(last->tefs());
                chained = ring && startsInnerRing(last);
                CPolyArc3D* piece = newPieceLike();
                piece->m_Scratch = code;
                piece->m_f70 = static_cast<short>(m_f70 & ~1);
                moveRun(first, last, *piece);
                keepPiece(piece, pieces);
                if (!chained) break;
                code = next;
            }
            // The outline's own closing point, with nothing after the rings to bring it back, stays.
            if (!v->pVN && v != m_pHead && meetInPlan(v, m_pHead)) {
                POLYModif(1);
                v->tef1 = 0;
                break;
            }
            v = D(v, 0);
            continue;
        }
        v = v->pVN;
    }
}

void CPolyArc3D::splitLoops(std::vector<CPolyArc3D*>& loops) {
    std::vector<P_Vertex*> nodes;
    nodes.reserve(m_nVertex);
    for (P_Vertex* v = m_pHead; v; v = v->pVN)
        nodes.push_back(v);
    // A loop closes on a vertex two steps on at least. Loops are cut out behind the walk, so the vertices
    // ahead of it keep their positions, and what meets them there.
    const std::vector<int> closingOf = firstLaterMeetings(nodes, meetingDistance(), 2);
    // The head is not the start of a loop: ends that meet close the piece instead.
    for (std::size_t i = 1; i < nodes.size();) {
        if (closingOf[i] < 0) {
            ++i;
            continue;
        }
        P_Vertex* closing = nodes[closingOf[i]];
        CPolyArc3D* loop = newPieceLike();
        loops.push_back(loop);
        loop->m_Scratch = static_cast<unsigned short>(closing->tefs());
        loop->m_f70 = static_cast<short>(m_f70 & ~1);
        moveRun(nodes[i], closing->pVB, *loop);
        loop->A(closing);
        i = static_cast<std::size_t>(closingOf[i]);
    }
}
