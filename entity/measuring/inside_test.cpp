// Whether a point lies inside the closed outline, in plan with arcs taken as chords.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/core/segment_geometry.h"

#include <array>

namespace {

// A crossing of the outline with the vertical line through the point, below it.
struct Crossing {
    double height; // below the point: negative
    int direction; // -1 when the segment runs towards +x
};

// The crossings nearest the point, nearest first; farther ones are dropped once the list is full.
class NearestCrossings {
public:
    void add(double height, int direction) {
        int i = m_count < kCapacity ? m_count++ : kCapacity;
        for (; i > 0 && m_items[i - 1].height < height; --i)
            if (i < kCapacity) m_items[i] = m_items[i - 1];
        if (i < kCapacity) m_items[i] = {height, direction};
    }
    int count() const { return m_count; }
    const Crossing& operator[](int i) const { return m_items[i]; }

private:
    static constexpr int kCapacity = 8;
    std::array<Crossing, kCapacity> m_items{};
    int m_count = 0;
};

} // namespace

int CPolyArc3D::isInside(CPoint3d p, int dflt) {
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::isInside()", dflt, [&] {
        if (!hasSoundVertices() || !MajClosed()) return -2;
        if (!poly_segments::isFinite(p)) return dflt;
        NearestCrossings crossings;
        double twiceArea = 0; // positive counter-clockwise
        for (P_Vertex* v = m_pHead; v; v = v->pVN) {
            const CPoint3d a = v->pt;
            const CPoint3d b = N(v)->pt;
            twiceArea += (a.x - p.x) * (b.y - p.y) - (b.x - p.x) * (a.y - p.y);
            if (a.x == p.x && a.y == p.y) return 0;
            if (a.x == b.x) {
                if (a.x == p.x && (p.y - a.y) * (p.y - b.y) <= 0) return 0;
                continue;
            }
            if ((a.x <= p.x) == (b.x <= p.x)) continue;
            const double height = a.y + (b.y - a.y) * (p.x - a.x) / (b.x - a.x) - p.y;
            if (height == 0) return 0;
            if (height < 0) crossings.add(height, a.x <= p.x ? -1 : 1);
        }
        if (twiceArea == 0) return dflt;
        // The nearest crossing below tells which side of the outline the point is on; two crossings at one
        // height are a vertex that the line only touches. A clockwise outline has its inside on the right
        // of the travel, so above a segment running towards -x.
        const int insideDirection = twiceArea < 0 ? 1 : -1;
        for (int i = 0; i < crossings.count(); i += 2) {
            if (i + 1 < crossings.count() && crossings[i].height == crossings[i + 1].height) continue;
            return crossings[i].direction == insideDirection ? 1 : -1;
        }
        return dflt;
    });
}
