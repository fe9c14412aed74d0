// Squaring: sides nearly along or across the longest side are made exactly so, sides near the diagonal
// become diagonal.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "geometry/points/angle_helpers.h"
#include "geometry/transforms/mat2d.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The longest side must be this long to give a bearing.
constexpr double kShortestAxis = 0.5;
// Sides whose long and short extents differ by more than this ratio are aligned; by less than the other,
// made diagonal; in between they are left.
constexpr double kAlignRatio = 2;
constexpr double kDiagonalRatio = 1.5;

} // namespace

bool CPolyArc3D::eSquare(char mode, double maxDeviation, P_Vertex* from, P_Vertex* to) {
    return entity_boundary::guarded("\nProbleme de CPolyArc3D::eSquare( ", false, [&] {
        if (m_nVertex < 2 || !hasSoundVertices()) return false;
        // The segments of the range, by their start vertex; with mode bit 0 the breaks are left out.
        std::vector<P_Vertex*> starts;
        P_Vertex* first = from ? from : m_pHead;
        for (P_Vertex* v = first; v && v != to && starts.size() < static_cast<std::size_t>(m_nVertex);) {
            P_Vertex* w = N(v);
            if (!w) break;
            if (!((mode & 1) && v->tef1 == 2)) starts.push_back(v);
            v = w;
            if (v == first) break;
        }
        double axis = 0;
        double longest = 0;
        for (P_Vertex* v : starts) {
            double length = 0;
            const double bearing = CPoint3d(v->pt).gisTo(N(v)->pt, &length);
            if (length > longest) {
                longest = length;
                axis = bearing;
            }
        }
        if (longest < kShortestAxis) return false;

        POLYModif(1);
        const CPoint3d origin = m_pHead->pt;
        const Mat2D rotation = Mat2D::MKappa(-axis);
        for (P_Vertex* v = m_pHead; v; v = v->pVN) {
            CPoint3d p = CPoint3d(v->pt) - origin;
            rotation.ApplyRot(&p);
            v->pt = p;
        }
        const P_Vertex* alignedInY = nullptr; // the end of the previous side when it was made level
        const P_Vertex* alignedInX = nullptr;
        for (P_Vertex* m : starts) {
            P_Vertex* l = N(m);
            const CPoint3d a = m->pt;
            const CPoint3d b = l->pt;
            const double t = std::fabs(b.x - a.x);
            const double w = std::fabs(b.y - a.y);
            const bool keptY = m == alignedInY;
            const bool keptX = m == alignedInX;
            alignedInY = alignedInX = nullptr;
            if (t > kAlignRatio * w) {
                if (maxDeviation != 0 && maxDeviation < w) continue;
                const double y = keptY ? a.y : (a.y + b.y) / 2;
                m->pt.y = y;
                l->pt.y = y;
                alignedInY = l;
            } else if (w > kAlignRatio * t) {
                if (maxDeviation != 0 && maxDeviation < t) continue;
                const double x = keptX ? a.x : (a.x + b.x) / 2;
                m->pt.x = x;
                l->pt.x = x;
                alignedInX = l;
            } else if (t < kDiagonalRatio * w && w < kDiagonalRatio * t) {
                const double side = (t + w) / 2;
                l->pt.x = a.x + std::copysign(side, b.x - a.x);
                l->pt.y = a.y + std::copysign(side, b.y - a.y);
            }
        }
        for (P_Vertex* v = m_pHead; v; v = v->pVN) {
            CPoint3d p = v->pt;
            rotation.ApplyRotInv(&p);
            v->pt = p + origin;
        }
        return true;
    });
}
