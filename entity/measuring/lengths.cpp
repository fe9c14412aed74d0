// Lengths along the polyline.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/core/segment_geometry.h"
#include "geometry/points/angle_units.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace {

// One straight segment as poly_segments::length measures it, the plan chord unscaled. zCheck is 0, or NaN
// where a coordinate is not finite: added to the squares, it spoils the sum instead of costing a branch.
template <bool In3d>
[[gnu::always_inline]] inline double straightSegment(const P_Vertex* v, const P_Vertex* w, double zCheck) {
    const double dx = w->pt.x - v->pt.x;
    const double dy = w->pt.y - v->pt.y;
    const double h = std::sqrt(dx * dx + dy * dy + zCheck);
    if constexpr (!In3d)
        return h;
    else
        return poly_segments::withHeights(h, v->pt.z, w->pt.z);
}

// The whole length of a list of plain vertices, summed in the careful walk's order, so that where it answers
// it answers that walk's value to the bit. A vertex out of the ordinary (a bulge, an empty point, a
// coordinate that is not finite) or a sum past the range where chords are taken unscaled makes it answer
// NaN, for the careful walk to measure from the start: the common case pays no test per segment beyond
// folding its flags. A function of its own, so that its sum stays in a register.
template <bool In3d> [[gnu::noinline]] double plainLength(const P_Vertex* head, bool closed2D) {
    const double hx = head->pt.x;
    const double hy = head->pt.y;
    const double hz = head->pt.z;
    double sum = (hx - hx) + (hy - hy) + (hz - hz);
    std::uint64_t bulgeBits = 0;
    bool empty = false;
    const P_Vertex* v = head;
    for (const P_Vertex* w; (w = CPolyArc3D::following(v)); v = w) {
        CPolyArc3D::prefetchAhead(v);
        const double wz = w->pt.z;
        sum += straightSegment<In3d>(v, w, wz - wz);
        bulgeBits |= std::bit_cast<std::uint64_t>(double(v->bulge));
        // An empty point measures 0 in plan only.
        if constexpr (!In3d) empty |= double(v->pt.x) == _RVIDE;
    }
    bulgeBits |= std::bit_cast<std::uint64_t>(double(v->bulge));
    if constexpr (!In3d) empty |= double(v->pt.x) == _RVIDE;
    if (v != head && closed2D) sum += straightSegment<In3d>(v, head, 0);
    // Every term is at least 0: a sum within range holds only terms within range.
    return bulgeBits != 0 || empty || !(sum <= 1e199) ? std::nan("") : sum;
}

} // namespace

double CPolyArc3D::lengthAlong(const P_Vertex* from, const P_Vertex* target, bool in3d, bool asChords,
                               bool* sound) const {
    double sum = 0;
    for (const P_Vertex* v = from; v && v != target; v = v->pVN) {
        prefetchAhead(v);
        if (sound && !isSoundVertex(v)) {
            *sound = false;
            break;
        }
        if (!v->pVN) {
            // The closing segment ends the walk.
            if (v != m_pHead && isClosed2D()) sum += poly_segments::length(v, m_pHead, in3d, asChords);
            break;
        }
        sum += poly_segments::length(v, v->pVN, in3d, asChords);
    }
    return sum;
}

void CPolyArc3D::removeShortSegments(bool in3d, bool asChords) {
    for (P_Vertex* v = m_pHead; v;) {
        P_Vertex* w = N(v);
        if (!w || w == v) break;
        if (poly_segments::length(v, w, in3d, asChords) <= _ecpt) {
            // The segment before it now ends elsewhere: it is looked at again.
            P_Vertex* before = v->pVB;
            Dmaj(v);
            v = before ? before : m_pHead;
            continue;
        }
        v = v->pVN;
    }
}

double CPolyArc3D::getLen(int in3d, int clean, int noArcs, double* outArea) const {
    if (outArea) *outArea = 0;
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::getLen()", 0.0, [&] {
        if (clean) {
            // Cleaning changes the entity: only a sound one is touched.
            if (!hasSoundVertices()) return 0.0;
            // Cleaning is what the caller asked for: the change notice asserts write access.
            const_cast<CPolyArc3D*>(this)->removeShortSegments(in3d, noArcs);
        }
        if (m_pHead) {
            const double plain =
                in3d ? plainLength<true>(m_pHead, isClosed2D()) : plainLength<false>(m_pHead, isClosed2D());
            if (!std::isnan(plain)) {
                if (outArea) *outArea = getArea(nullptr);
                return plain;
            }
        }
        // The walk from the head visits every vertex: it checks them on the way.
        bool sound = true;
        const double length = lengthAlong(m_pHead, nullptr, in3d, noArcs, &sound);
        if (!sound) return 0.0;
        if (outArea) *outArea = getArea(nullptr);
        return length;
    });
}

double CPolyArc3D::getLenAtVertex(P_Vertex* target, int in3d, P_Vertex* from) const {
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::getLenAtVertex()", 0.0, [&] {
        if (!hasSoundVertices()) return 0.0;
        return lengthAlong(from ? from : m_pHead, target, in3d, false);
    });
}
