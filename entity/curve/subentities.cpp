// Subentities of the polyline: graphics marker k stands for edge k - 1 (the segment that starts at vertex
// k - 1) and for its two vertices.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "geometry/arcs/arc3d.h"
#include "geometry/points/angle_units.h"
#include "host/entities/circle_arc.h"
#include "host/entities/line.h"
#include "host/entities/point_ray_face.h"

#include <memory>

namespace {
// The markers the drawing gives the segments stop here: larger ones are not the entity's.
constexpr Adesk::GsMarker kLargestMarker = 999999;
} // namespace

AcDbEntity* CPolyArc3D::subSubentPtr(const AcDbFullSubentPath& path) const {
    assertReadEnabled();
    const AcDbSubentId subent = path.subentId();
    const Adesk::GsMarker i = subent.index();
    const int n = m_nVertex;
    if (subent.type() != AcDb::kEdgeSubentType && subent.type() != AcDb::kVertexSubentType)
        return AcDbCurve::subSubentPtr(path);
    if (i < 0 || i > n || n < 1 || !hasSoundVertices()) return nullptr;

    std::unique_ptr<AcDbEntity> made;
    if (subent.type() == AcDb::kVertexSubentType) {
        const P_Vertex* v = GetIndex(i);
        if (!v) return nullptr;
        made = std::make_unique<AcDbPoint>(WorldPoint(v));
    } else {
        P_Vertex* v = GetIndex(i == n ? i - 1 : i);
        P_Vertex* w = N(v);
        // A segment without length stands for the one before it.
        if (!w || CPoint3d(v->pt).dist3dTo(w->pt, v->bulge) == 0) {
            w = v;
            v = B(v);
        }
        if (!v) return nullptr;
        const CArc3d segment(v, w->pt);
        if (segment.radius != 0) {
            const CPoint3d centre = WorldPoint(&segment.centre);
            const bool ccw = segment.bulge > 0;
            const double start = ccw ? segment.startGis - _100rd : segment.endGis + _100rd;
            const double end = ccw ? segment.endGis - _100rd : segment.startGis + _100rd;
            made = std::make_unique<AcDbArc>(centre, Snormal(), segment.radius, start, end);
        } else {
            AcGePoint3d a = WorldPoint(v), b = WorldPoint(w);
            // Two coincident points make no line: the end is set apart.
            if (a == b) b = a + AcGeVector3d(2, 1, 0);
            made = std::make_unique<AcDbLine>(a, b);
        }
    }
    made->setPropertiesFrom(this);
    return made.release();
}

Acad::ErrorStatus CPolyArc3D::subGetSubentPathsAtGsMarker(AcDb::SubentType type, Adesk::GsMarker gsMark,
                                                          const AcGePoint3d& pickPoint,
                                                          const AcGeMatrix3d& viewXform, int& numPaths,
                                                          AcDbFullSubentPath*& subentPaths, int numInserts,
                                                          AcDbObjectId* entAndInsertStack) const {
    assertReadEnabled();
    if (type != AcDb::kEdgeSubentType && type != AcDb::kVertexSubentType)
        return AcDbCurve::subGetSubentPathsAtGsMarker(type, gsMark, pickPoint, viewXform, numPaths,
                                                      subentPaths, numInserts, entAndInsertStack);
    numPaths = 0;
    subentPaths = nullptr;
    if (gsMark == 0 || gsMark > m_nVertex || gsMark > kLargestMarker) return Acad::eInvalidInput;
    if (gsMark < 0) return Acad::eOk;
    if (type == AcDb::kEdgeSubentType) {
        numPaths = 1;
        subentPaths = new AcDbFullSubentPath[1]{{objectId(), AcDb::kEdgeSubentType, gsMark - 1}};
    } else {
        numPaths = 2;
        subentPaths = new AcDbFullSubentPath[2]{
            {objectId(), AcDb::kVertexSubentType, gsMark - 1},
            {objectId(), AcDb::kVertexSubentType, gsMark == m_nVertex ? 0 : gsMark}};
    }
    return Acad::eOk;
}

Acad::ErrorStatus CPolyArc3D::subGetGsMarkersAtSubentPath(const AcDbFullSubentPath& path,
                                                          AcDbGsMarkerArray& markers) const {
    assertReadEnabled();
    return entity_boundary::guarded(
        "\nProbleme avec CPolyArc3D::getGsMarkersAtSubentPath()", Acad::eInvalidInput, [&] {
            const AcDbSubentId subent = path.subentId();
            const Adesk::GsMarker i = subent.index();
            if (subent.type() != AcDb::kEdgeSubentType && subent.type() != AcDb::kVertexSubentType)
                return AcDbCurve::subGetGsMarkersAtSubentPath(path, markers);
            P_Vertex* v = i >= 0 && i < m_nVertex ? GetIndex(i) : nullptr;
            if (!v) return Acad::eInvalidInput;
            if (subent.type() == AcDb::kEdgeSubentType) {
                if (!N(v)) return Acad::eInvalidInput;
                markers.append(i + 1);
            } else {
                // A vertex belongs to the segment it starts, the tail of an open polyline to the one it ends.
                if (!N(v) && i == 0) return Acad::eInvalidInput;
                markers.append(N(v) ? i + 1 : i);
            }
            return Acad::eOk;
        });
}

void CPolyArc3D::subViewportDraw(AcGiViewportDraw* draw) {
    assertReadEnabled();
    AcDbCurve::subViewportDraw(draw);
}

void CPolyArc3D::saveAs(AcGiWorldDraw* mode, AcDb::SaveType type) {
    assertReadEnabled();
    AcDbCurve::saveAs(mode, type);
}
