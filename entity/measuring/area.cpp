// The signed area of the polyline with its arc segments, and the perimeter beside it.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/editing/eclate_result.h"

#include <cmath>

namespace {

// Below this included angle an arc adds nothing measurable.
constexpr double kFlatAngle = 1e-8;

double includedAngle(const P_Vertex* v) {
    return 4 * std::atan(double(v->bulge));
}

double planChord(const CPoint3d& a, const CPoint3d& b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

} // namespace

double CPolyArc3D::outlineArea() const {
    // Coordinates from the head: survey coordinates in the millions would otherwise cancel in the products.
    const CPoint3d origin = m_pHead->pt;
    double area = 0;
    for (P_Vertex* v = m_pHead; v; v = v->pVN) {
        const CPoint3d p = CPoint3d(v->pt) - origin;
        const CPoint3d before = CPoint3d(B(v)->pt) - origin;
        const CPoint3d after = CPoint3d(N(v)->pt) - origin;
        area += p.x * (before.y - after.y) / 2;
        const double theta = includedAngle(v);
        if (std::fabs(theta) > kFlatAngle) {
            const double chord = planChord(p, after);
            const double halfSine = std::sin(theta / 2);
            area -= (theta - std::sin(theta)) * chord * chord / (8 * halfSine * halfSine);
        }
    }
    return area;
}

double CPolyArc3D::outlinePerimeter(bool withClosingSegment) const {
    double perimeter = 0;
    for (P_Vertex* v = m_pHead; v; v = v->pVN) {
        if (!v->pVN && !withClosingSegment) break;
        const double chord = planChord(v->pt, N(v)->pt);
        const double theta = includedAngle(v);
        perimeter +=
            std::fabs(theta) > kFlatAngle ? std::fabs(theta / std::sin(theta / 2)) * chord / 2 : chord;
    }
    return perimeter;
}

double CPolyArc3D::getArea(double* outPerimeter) const {
    if (outPerimeter) *outPerimeter = 0;
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::getArea()", 0.0, [&] {
        if (!m_pHead || !hasSoundVertices()) return 0.0;
        OwnedPieces pieces;
        explodeCopy(pieces.array, 1);
        const bool withClosingSegment = pieces.size() > 1 || isClosed();
        double area = 0;
        double perimeter = 0;
        for (int i = 0; i < pieces.size(); ++i) {
            CPolyArc3D* piece = pieces[i];
            piece->setClosed(true);
            area += piece->outlineArea();
            perimeter += piece->outlinePerimeter(withClosingSegment);
        }
        if (outPerimeter) *outPerimeter = perimeter;
        return area;
    });
}
