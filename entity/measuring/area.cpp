// The signed area of the polyline with its arc segments, and the perimeter beside it.
//
// The area is that of the pieces of eclate, each closed. Most outlines hold no code that cuts them: their one
// piece is the list itself, less a last vertex that repeats the first, so it is walked where it stands.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/core/segment_geometry.h"
#include "entity/editing/eclate_result.h"
#include "entity/editing/eclate_rules.h"

#include <cmath>

namespace {

// Below this included angle an arc adds nothing measurable.
constexpr double kFlatAngle = 1e-8;

struct OutlineWalk {
    double area = 0;
    double perimeter = 0;
    // Over every vertex from the head, the ones past the ring included.
    bool sound = true;
    bool cut = false;
};

// The ring from head to last, closed back to head; the perimeter leaves out the segment from last unless
// withClosingSegment.
OutlineWalk walkOutline(const P_Vertex* head, const P_Vertex* last, bool withClosingSegment) {
    OutlineWalk walk;
    // Coordinates from the head: survey coordinates in the millions would otherwise cancel in the products.
    const CPoint3d origin = head->pt;
    CPoint3d before = CPoint3d(last->pt) - origin;
    // Each vertex's local point, read once: the next one's `after` becomes its `p`.
    CPoint3d p;
    bool inRing = true;
    for (const P_Vertex* v = head; v; v = v->pVN) {
        CPolyArc3D::prefetchAhead(v);
        walk.sound = walk.sound && CPolyArc3D::isSoundVertex(v);
        walk.cut = walk.cut || eclate_rules::cutsHere(v);
        if (!inRing) continue;
        const P_Vertex* next = v == last ? head : v->pVN;
        const CPoint3d after = CPoint3d(next->pt) - origin;
        walk.area += p.x * (before.y - after.y) / 2;
        const double chord = poly_segments::planChord(v->pt, next->pt);
        double length = chord;
        const double bulge = v->bulge;
        if (bulge != 0) {
            const double theta = 4 * std::atan(bulge); // the included angle
            if (std::fabs(theta) > kFlatAngle) {
                const double localChord = poly_segments::planChord(p, after);
                const double halfSine = std::sin(theta / 2);
                walk.area -= (theta - std::sin(theta)) * localChord * localChord / (8 * halfSine * halfSine);
                length = std::fabs(theta / halfSine) * chord / 2;
            }
        }
        if (v != last || withClosingSegment) walk.perimeter += length;
        before = p;
        p = after;
        inRing = v != last;
    }
    return walk;
}

// The last vertex of the one piece that eclate makes of an outline no code cuts, closed; null when it keeps
// none. byPieces: whether the linetype lets eclate touch the outline at all.
const P_Vertex* wholePieceEnd(const CPolyArc3D& poly, bool byPieces) {
    const P_Vertex* last = poly.T();
    int count = poly.GetCount();
    if (byPieces) {
        // Ends that meet lose the last vertex; a piece of fewer than two vertices is dropped.
        if (count > 1 && eclate_rules::meetInPlan(poly.H(), last)) {
            last = last->pVB;
            --count;
        }
        if (count < 2) return nullptr;
    }
    // Closing the piece drops a last vertex that repeats the first.
    if (count > 2 && (CPoint3d(poly.H()->pt) - CPoint3d(last->pt)).dist3d() < _ecpt) last = last->pVB;
    return last;
}

} // namespace

double CPolyArc3D::getArea(double* outPerimeter) const {
    if (outPerimeter) *outPerimeter = 0;
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::getArea()", 0.0, [&] {
        if (!m_pHead) return 0.0;
        const bool byPieces = eclate_rules::drawnByPieces(linetype());
        if (const P_Vertex* last = wholePieceEnd(*this, byPieces)) {
            const OutlineWalk whole = walkOutline(m_pHead, last, isClosed());
            if (!whole.sound) return 0.0;
            if (!byPieces || !whole.cut) {
                if (outPerimeter) *outPerimeter = whole.perimeter;
                return whole.area;
            }
        } else if (!hasSoundVertices()) {
            return 0.0;
        }
        OwnedPieces pieces;
        explodeCopy(pieces.array, 1);
        const bool withClosingSegment = pieces.size() > 1 || isClosed();
        double area = 0;
        double perimeter = 0;
        for (int i = 0; i < pieces.size(); ++i) {
            CPolyArc3D* piece = pieces[i];
            piece->setClosed(true);
            const OutlineWalk outline = walkOutline(piece->H(), piece->T(), withClosingSegment);
            area += outline.area;
            perimeter += outline.perimeter;
        }
        if (outPerimeter) *outPerimeter = perimeter;
        return area;
    });
}
