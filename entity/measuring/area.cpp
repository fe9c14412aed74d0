// The signed area of the polyline with its arc segments, and the perimeter beside it.
//
// The area is that of the pieces of eclate, each closed. Most outlines hold no code that cuts them: their one
// piece is the list itself, less a last vertex that repeats the first, so it is walked where it stands.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/core/segment_geometry.h"
#include "entity/editing/eclate_result.h"
#include "entity/editing/eclate_rules.h"

#include <bit>
#include <cmath>
#include <cstdint>

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

// An arc's length in plan, and what it takes from the area of its chord's ring; (ax, ay) and (bx, by) the
// local points of its ends. Out of the walk's loop: most outlines have no arcs.
struct ArcTerms {
    double length;
    double areaCut = 0;
};
[[gnu::noinline]] ArcTerms arcTerms(double bulge, double ax, double ay, double bx, double by, double chord) {
    const double theta = 4 * std::atan(bulge); // the included angle
    if (std::fabs(theta) <= kFlatAngle) return {chord};
    const double localChord = geometry::planLength(bx - ax, by - ay);
    const double halfSine = std::sin(theta / 2);
    return {std::fabs(theta / halfSine) * chord / 2,
            (theta - std::sin(theta)) * localChord * localChord / (8 * halfSine * halfSine)};
}

// The ring from head to last, closed back to head; the perimeter leaves out the segment from last unless
// withClosingSegment.
OutlineWalk walkOutline(const P_Vertex* head, const P_Vertex* last, bool withClosingSegment) {
    // Coordinates from the head: survey coordinates in the millions would otherwise cancel in the products.
    const double ox = head->pt.x;
    const double oy = head->pt.y;
    const double headZ = head->pt.z;
    double beforeY = last->pt.y - oy;
    // Each vertex's local point, read once: the next one's becomes its own.
    double px = 0;
    double py = 0;
    double area = 0;
    // The soundness of the ring, folded in without a branch: a coordinate that is not finite makes a sum
    // NaN or infinite (heights through `finite`), a bulge beyond the largest is seen on the arcs' own path.
    double finite = headZ - headZ;
    bool bulgeTooLarge = false;
    bool cut = false;
    // v's segment to next: its share of the area, answering its length in plan.
    const auto segment = [&](const P_Vertex* v, const P_Vertex* next) __attribute__((always_inline)) {
        cut |= eclate_rules::cutsHere(v);
        const double nx = next->pt.x;
        const double ny = next->pt.y;
        const double nz = next->pt.z;
        finite += nz - nz;
        const double ax = nx - ox;
        const double ay = ny - oy;
        area += px * (beforeY - ay) / 2;
        const double chord = geometry::planLength(nx - v->pt.x, ny - v->pt.y);
        double length = chord;
        // Tested by its bits, which is cheaper; a bulge of -0 measures as the chord on the arcs' path too.
        if (const double bulge = v->bulge; std::bit_cast<std::uint64_t>(bulge) != 0) {
            bulgeTooLarge |= !(std::fabs(bulge) <= CPolyArc3D::kLargestBulge);
            const ArcTerms arc = arcTerms(bulge, px, py, ax, ay, chord);
            area -= arc.areaCut;
            length = arc.length;
        }
        beforeY = py;
        px = ax;
        py = ay;
        return length;
    };
    double perimeter = 0;
    const P_Vertex* v = head;
    for (const P_Vertex* next; v != last; v = next) {
        CPolyArc3D::prefetchAhead(v);
        next = CPolyArc3D::following(v);
        perimeter += segment(v, next);
    }
    const double closing = segment(last, head);
    if (withClosingSegment) perimeter += closing;
    bool sound = !bulgeTooLarge && std::isfinite(finite + area + perimeter + closing);
    // Finite coordinates whose products overflow: the vertices themselves say.
    if (!sound && !bulgeTooLarge)
        for (v = head, sound = true; v != last->pVN; v = v->pVN)
            sound = sound && CPolyArc3D::isSoundVertex(v);
    // Past the ring: only checked.
    for (v = last->pVN; v; v = v->pVN) {
        sound = sound && CPolyArc3D::isSoundVertex(v);
        cut |= eclate_rules::cutsHere(v);
    }
    return {area, perimeter, sound, cut};
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
