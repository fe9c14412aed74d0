// Extents, grips and stretch points of the polyline: one grip per vertex, so that grip indexes are vertex
// indexes.
#include "cadutil/database/host_variables.h"
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/curve/curve_segment.h"
#include "geometry/points/angle_units.h"
#include "host/graphics/gr_draw.h"

#include <cmath>
#include <numbers>

namespace {
// Where a generated vertex's grip goes: far away, so that nobody picks it.
constexpr double kHiddenGrip = -1e9;
// Half the arm of the cross drawn on a segment with a vertex code, in pixels.
constexpr double kCrossArm = 7;

bool isFinite(const AcGeVector3d& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}
} // namespace

Acad::ErrorStatus CPolyArc3D::subGetGeomExtents(AcDbExtents& extents) const {
    assertReadEnabled();
    if (!hasSoundVertices()) return Acad::eInvalidExtents;
    for (const P_Vertex* v = m_pHead; v; v = v->pVN) {
        extents.addPoint(WorldPoint(v));
        const P_Vertex* w = N(const_cast<P_Vertex*>(v));
        if (!w || double(v->bulge) == 0) continue;
        // Between its ends an arc reaches furthest along a world axis where its slope along it vanishes.
        const CArc3d segment(v, w->pt);
        for (int axis = 0; axis < 3; ++axis) {
            CPoint3d direction(axis == 0, axis == 1, axis == 2);
            if (m_pNormal) m_pNormal->ApplyRot(&direction);
            for (double f : poly_curve::arcExtremeFractions(segment, direction)) {
                if (f < 0) continue;
                const CPoint3d p = poly_curve::pointAtFraction(segment, f);
                extents.addPoint(WorldPoint(&p));
            }
        }
    }
    return Acad::eOk;
}

Acad::ErrorStatus CPolyArc3D::subGetGripPoints(AcGePoint3dArray& points, AcDbIntArray&, AcDbIntArray&) const {
    assertReadEnabled();
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::getGripsPoints()", Acad::eInvalidInput, [&] {
        const double pixel = getPixelSize();
        points.setPhysicalLength(points.length() + m_nVertex).setGrowLength(4);
        for (const P_Vertex* v = m_pHead; v; v = v->pVN)
            points.append((v->flags & 1) ? AcGePoint3d(kHiddenGrip, kHiddenGrip, kHiddenGrip)
                                         : AcGePoint3d(WorldPoint(v)));
        // A segment with a vertex code shows a cross of that colour at its middle.
        for (const P_Vertex* v = m_pHead; v; v = v->pVN) {
            const P_Vertex* w = N(const_cast<P_Vertex*>(v));
            if (!v->tef1 || !w) continue;
            const CArc3d segment(v, w->pt);
            const CPoint3d middle = poly_curve::pointAtFraction(segment, 0.5);
            for (double arm :
                 {segment.chordGis - std::numbers::pi / 4, segment.chordGis + std::numbers::pi / 4}) {
                const CPoint3d from = middle.polar(arm, kCrossArm * pixel);
                const CPoint3d to = middle.polar(arm + std::numbers::pi, kCrossArm * pixel);
                const CPoint3d worldFrom = WorldPoint(&from), worldTo = WorldPoint(&to);
                const ads_point a = {worldFrom.x, worldFrom.y, worldFrom.z};
                const ads_point b = {worldTo.x, worldTo.y, worldTo.z};
                acedGrDraw(a, b, v->tef1, 0);
            }
        }
        const_cast<CPolyArc3D*>(this)->DrawExt(0, 1);
        return Acad::eOk;
    });
}

Acad::ErrorStatus CPolyArc3D::subMoveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) {
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::moveGripsPointsAt()", Acad::eInvalidInput,
                                    [&] {
                                        if (!isFinite(offset)) return Acad::eInvalidInput;
                                        POLYModif(true);
                                        CPoint3d step(offset.x, offset.y, offset.z);
                                        if (m_pNormal) m_pNormal->ApplyRot(&step);
                                        for (int index : indices) {
                                            P_Vertex* v = GetIndex(index);
                                            if (!v) continue;
                                            CPoint3d p = v->pt + step;
                                            p.z = std::floor(p.z * 100000 + 0.5) / 100000;
                                            v->pt = p;
                                            v->flags = static_cast<std::int16_t>(v->flags & ~2);
                                            lisse(v, nullptr, -1000, -1000.0);
                                        }
                                        return Acad::eOk;
                                    });
}

Acad::ErrorStatus CPolyArc3D::subGetStretchPoints(AcGePoint3dArray& points) const {
    assertReadEnabled();
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::GetStrechPoints()", Acad::eInvalidInput,
                                    [&] {
                                        for (const P_Vertex* v = m_pHead; v; v = v->pVN)
                                            points.append(WorldPoint(v));
                                        return Acad::eOk;
                                    });
}

Acad::ErrorStatus CPolyArc3D::subMoveStretchPointsAt(const AcDbIntArray& indices,
                                                     const AcGeVector3d& offset) {
    return moveGripPointsAt(indices, offset);
}
