// Reversing the direction of travel of the polyline or of a stretch of it.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

struct SegmentAttributes {
    double bulge;
    short code;
};

// Reverses stretch[begin, end): each vertex now starts the segment that ended at it.
void reverseStretch(const CPolyArc3D& poly, std::vector<P_Vertex*>& stretch, std::size_t begin,
                    std::size_t end) {
    const std::size_t count = end - begin;
    std::vector<SegmentAttributes> old;
    old.reserve(count);
    for (std::size_t i = begin; i < end; ++i)
        old.push_back({stretch[i]->bulge, stretch[i]->tefs()});
    // Each segment now starts at its old end: the vertex takes its old predecessor's bulge, turned, and code.
    // The old first vertex starts what followed the old last one: the closing segment of a whole ring
    // turned, else a straight joint with the old last vertex's code.
    const bool wholeRing = poly.B(stretch[begin]) == stretch[end - 1];
    for (std::size_t i = begin; i < end; ++i) {
        P_Vertex* v = stretch[i];
        const SegmentAttributes& before = old[i == begin ? count - 1 : i - begin - 1];
        v->bulge = i == begin && !wholeRing ? 0.0 : -before.bulge;
        v->tefs(before.code);
        v->i39 = -v->i39;
        v->i40 = -v->i40;
    }
    std::reverse(stretch.begin() + static_cast<std::ptrdiff_t>(begin),
                 stretch.begin() + static_cast<std::ptrdiff_t>(end));
}

} // namespace

bool CPolyArc3D::einvsens(char mode, P_Vertex* from, P_Vertex* to) {
    return entity_boundary::guarded("\nProbleme de CPolyArc3D::einvsens ", false, [&] {
        if (m_nVertex < 2 || !hasSoundVertices()) return false;
        P_Vertex* first = from ? from : m_pHead;
        P_Vertex* last = to ? to : m_pTail;
        std::vector<P_Vertex*> list;
        list.reserve(static_cast<std::size_t>(m_nVertex));
        std::size_t firstIndex = 0;
        for (P_Vertex* v = m_pHead; v; v = v->pVN) {
            if (v == first) firstIndex = list.size();
            list.push_back(v);
        }
        // The stretch from first to last, walking as N does.
        std::vector<P_Vertex*> stretch;
        for (P_Vertex* v = first; stretch.size() <= list.size(); v = N(v)) {
            if (!v) return false; // last is not after first on an open polyline
            stretch.push_back(v);
            if (v == last) break;
        }
        if (stretch.size() > list.size()) return false;
        if (stretch.size() < 2) return true;
        POLYModif(1);
        // Each part between breaks (mode bit 0) or the whole stretch reverses in its own places.
        std::size_t begin = 0;
        for (std::size_t i = 0; i < stretch.size(); ++i) {
            if (i + 1 == stretch.size() || ((mode & 1) && stretch[i]->tef1 == 2)) {
                reverseStretch(*this, stretch, begin, i + 1);
                begin = i + 1;
            }
        }
        // The new order, stretch by stretch in the places the stretch held.
        for (std::size_t k = 0; k < stretch.size(); ++k)
            list[(firstIndex + k) % list.size()] = stretch[k];
        relink(list);
        return true;
    });
}

void CPolyArc3D::relink(const std::vector<P_Vertex*>& order) {
    P_Vertex* previous = nullptr;
    for (P_Vertex* v : order) {
        v->pVB = previous;
        if (previous) previous->pVN = v;
        previous = v;
    }
    if (previous) previous->pVN = nullptr;
    m_pHead = order.empty() ? nullptr : order.front();
    m_pTail = previous;
}
