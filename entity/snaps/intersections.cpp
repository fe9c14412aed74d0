// Intersections of the polyline with any entity: segment by segment in plan with CArc3d, each point also
// reported with code 20 to the request registered for the side it lies on. Between two polylines bounded on
// both sides, each segment tries only the other's segments whose boxes meet its own, in their order.
#include "entity/conversion/curve_to_arc3d.h"
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/snaps/box_index.h"
#include "entity/snaps/osnap_request.h"
#include "geometry/points/angle_units.h"
#include "host/entities/lw_polyline.h"
#include "host/entities/point_ray_face.h"
#include "host/entities/polylines.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>
#include <vector>

namespace {

// Markers the drawing gives the segments; beyond, a marker names no segment.
constexpr Adesk::GsMarker kLargestMarker = 999999;
// A ray becomes a segment at least this long.
constexpr double kRayLength = 10000;

struct Segment {
    P_Vertex* start;
    int index;
};

// The segments to walk: the one a marker names, or all of them.
std::vector<Segment> segmentsOf(const CPolyArc3D& poly, Adesk::GsMarker marker) {
    std::vector<Segment> segments;
    if (marker >= 1 && marker <= kLargestMarker) {
        P_Vertex* v = poly.GetIndex(marker - 1);
        if (v && poly.N(v)) segments.push_back({v, static_cast<int>(marker - 1)});
        return segments;
    }
    int index = 0;
    for (P_Vertex* v = poly.H(); v && poly.N(v); v = v->pVN, ++index) {
        segments.push_back({v, index});
        if (v == poly.T()) break;
    }
    return segments;
}

// A box in plan holding every point the intersection of this segment may keep: the points it keeps lie on
// both segments but for the snapping tolerance at the ends and beside a tangent.
PlanBox planBoxOf(const CArc3d& arc) {
    // A segment without length in plan stands upright: it meets whatever passes at its heights.
    if (arc.radius == 0 && arc.chord == 0) return PlanBox::wholePlane();
    PlanBox box{std::min(arc.start.x, arc.end.x), std::min(arc.start.y, arc.end.y),
                std::max(arc.start.x, arc.end.x), std::max(arc.start.y, arc.end.y)};
    if (arc.radius != 0) {
        // Up to a half circle the arc stays within its sagitta of the chord; beyond, within its circle.
        if (std::fabs(arc.bulge) <= 1)
            box.grow(arc.fleche());
        else
            box.take({arc.centre.x - arc.radius, arc.centre.y - arc.radius, arc.centre.x + arc.radius,
                      arc.centre.y + arc.radius});
    }
    return box.grow(4 * _ecpt).wholePlaneUnlessFinite();
}

bool atAnEnd(const CPolyArc3D& poly, const P_Vertex* v) {
    return v == poly.H() || v == poly.T() || poly.N(const_cast<P_Vertex*>(v)) == poly.T();
}

// Whether the k-th of n points lies on a side: a pair of straight segments answers one position code per
// side, any other pair a bit per point.
bool onSide(char code, bool straightPair, int k) {
    return straightPair ? code != 0 : ((code >> k) & 1) != 0;
}

// The length a ray must have to cross everything of the polyline.
double rayLength(const CPolyArc3D& poly, const AcGePoint3d& base) {
    AcDbExtents extents;
    double length = kRayLength;
    if (poly.getGeomExtents(extents) != Acad::eOk || extents.isEmpty()) return length;
    const AcGePoint3d lo = extents.minPoint(), hi = extents.maxPoint();
    for (int corner = 0; corner < 8; ++corner) {
        const AcGePoint3d c((corner & 1) ? hi.x : lo.x, (corner & 2) ? hi.y : lo.y,
                            (corner & 4) ? hi.z : lo.z);
        length = std::max(length, c.distanceTo(base) + 1);
    }
    return length;
}

void report(OsnapRequest* request, const P_Vertex* start, const P_Vertex* other, int index,
            const CPoint3d& p) {
    if (!request) return;
    g_snapContext = {start, other, index, std::nullopt, std::nullopt};
    request->AddPoint(p, OsnapRequest::kIntersectionCode);
}

} // namespace

Acad::ErrorStatus CPolyArc3D::myIntersectWith(const AcDbEntity* other, AcDb::Intersect type,
                                              const AcGePlane* plane, AcGePoint3dArray& points,
                                              Adesk::GsMarker thisMarker, Adesk::GsMarker otherMarker) const {
    assertReadEnabled();
    Mat3D planeSystem;
    Mat3D* projection = m_pNormal;
    if (plane) {
        projection = nullptr;
        const AcGeVector3d n = plane->normal();
        if (std::fabs(n.x) > 1e-4 || std::fabs(n.y) > 1e-4) {
            // The plane's own orthonormal axes: apparent intersections seen along its normal.
            AcGePoint3d origin;
            AcGeVector3d x, y;
            plane->getCoordSystem(origin, x, y);
            const AcGeVector3d z = n.normal();
            const AcGeVector3d axes[3] = {x.normal(), y.normal(), z};
            for (int row = 0; row < 3; ++row) {
                planeSystem.r[row][0] = axes[row].x;
                planeSystem.r[row][1] = axes[row].y;
                planeSystem.r[row][2] = axes[row].z;
            }
            projection = &planeSystem;
        }
    }
    if (!other) return Acad::eOk;
    if (other->isErased()) return Acad::eWasErased;

    CArc3d converted;
    const auto* curve = AcDbCurve::cast(other);
    const int kind = curve ? curveToArc3d(converted, projection, curve) : -1;
    const CPolyArc3D* otherPoly = kind < 0 ? CPolyArc3D::cast(other) : nullptr;
    if (kind < 0 && !otherPoly) {
        if (const AcDbRay* ray = AcDbRay::cast(other)) {
            CPolyArc3D segment;
            segment.A()->pt = ray->basePoint();
            segment.A()->pt = ray->basePoint() + ray->unitDir() * rayLength(*this, ray->basePoint());
            return myIntersectWith(&segment, type, plane, points, thisMarker, otherMarker);
        }
        if (AcDbPolyline::cast(other) || AcDb2dPolyline::cast(other) || AcDb3dPolyline::cast(other) ||
            AcDbFace::cast(other)) {
            CPolyArc3D copy;
            if (copy.from(const_cast<AcDbEntity*>(other), 4) == Acad::eOk)
                return myIntersectWith(&copy, type, plane, points, thisMarker, otherMarker);
        }
        // The host intersects what it knows with a lightweight copy of this polyline.
        AcDbPolyline* lightweight = const_cast<CPolyArc3D*>(this)->tolw(4, nullptr);
        if (!lightweight) return Acad::eOk;
        const Adesk::GsMarker marker = std::max<Adesk::GsMarker>(thisMarker, 0);
        const Acad::ErrorStatus es =
            plane ? lightweight->intersectWith(other, type, *plane, points, marker, otherMarker)
                  : lightweight->intersectWith(other, type, points, marker, otherMarker);
        delete lightweight;
        return es;
    }

    const char thisByte = static_cast<char>(((type & 1) ? 0 : 1) | ((type & 0x10) ? 2 : 0));
    const char otherByte = static_cast<char>(((type & 2) ? 0 : 1) | ((type & 0x20) ? 2 : 0));
    OsnapRequest* thisRequest = OsnapRequest::find(this);
    OsnapRequest* otherRequest = OsnapRequest::find(otherPoly);
    g_snapContext.pick.reset();
    g_snapContext.viewXform.reset();
    // While ZOR_EXTEND runs, inner segments meet only bounded or extended partners.
    const bool extending = (m_PolyArc3dCmdeFlag & 3) != 0;
    const std::vector<Segment> mine = segmentsOf(*this, thisMarker);
    const std::vector<Segment> theirs =
        otherPoly ? segmentsOf(*otherPoly, otherMarker) : std::vector<Segment>{{}};
    // The other's segment seen in plan like this one's.
    const auto theirArc = [&](const Segment& t) {
        CArc3d b = converted;
        if (otherPoly) b.set(projection, t.start, otherPoly->N(t.start)->pt, otherPoly->m_pNormal);
        return b;
    };
    // Only points on both segments are kept: a pair whose boxes do not meet has none.
    std::optional<BoxIndex> index;
    if (otherPoly && thisByte != 0 && otherByte != 0) {
        std::vector<PlanBox> boxes;
        boxes.reserve(theirs.size());
        for (const Segment& t : theirs)
            boxes.push_back(planBoxOf(theirArc(t)));
        index.emplace(boxes);
    }
    std::vector<std::uint32_t> partners(theirs.size());
    std::iota(partners.begin(), partners.end(), 0u);

    for (const Segment& s : mine) {
        if (extending && !(thisByte & 1) && (otherByte & 1) && !atAnEnd(*this, s.start)) continue;
        CArc3d a;
        a.set(projection, s.start, N(s.start)->pt, m_pNormal);
        if (index) index->meeting(planBoxOf(a), partners);
        for (const std::uint32_t j : partners) {
            const Segment& t = theirs[j];
            if (otherPoly == this && t.start == s.start) continue;
            if (otherPoly && extending && !(otherByte & 1) && (thisByte & 1) && !atAnEnd(*otherPoly, t.start))
                continue;
            CArc3d b = theirArc(t);
            char codes[2] = {thisByte, otherByte};
            CPoint3d found[2];
            CPoint3d* out = found;
            const int count = a.intersectWith(&b, out, codes);
            const bool straightPair = a.radius == 0 && b.radius == 0;
            for (int k = 0; k < count; ++k) {
                CPoint3d p = found[k];
                if (m_PolyArc3dCmdeFlag & 1) {
                    // The height of the boundary: the point on the bounded side's segment.
                    CArc3d& bounded = (thisByte & 1) ? a : b;
                    CPoint3d foot;
                    if (bounded.ptprox(p, foot) != 0 && foot.z != 0) p = foot;
                }
                points.append(p);
                if (onSide(codes[0], straightPair, k)) report(thisRequest, s.start, N(s.start), s.index, p);
                if (otherPoly && onSide(codes[1], straightPair, k))
                    report(otherRequest, t.start, otherPoly->N(t.start), t.index, p);
            }
        }
    }
    return Acad::eOk;
}

Acad::ErrorStatus CPolyArc3D::subIntersectWith(const AcDbEntity* other, AcDb::Intersect type,
                                               AcGePoint3dArray& points, Adesk::GsMarker thisMarker,
                                               Adesk::GsMarker otherMarker) const {
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::intersectWith()", Acad::eInvalidInput, [&] {
        return myIntersectWith(other, type, nullptr, points, thisMarker, otherMarker);
    });
}

Acad::ErrorStatus CPolyArc3D::subIntersectWith(const AcDbEntity* other, AcDb::Intersect type,
                                               const AcGePlane& projPlane, AcGePoint3dArray& points,
                                               Adesk::GsMarker thisMarker,
                                               Adesk::GsMarker otherMarker) const {
    return entity_boundary::guarded("\nProbleme avec CPolyArc3D::intersectWith()", Acad::eInvalidInput, [&] {
        return myIntersectWith(other, type, &projPlane, points, thisMarker, otherMarker);
    });
}
