// The curve queries that read the polyline as a whole: nearest point, area, plane and projections.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"
#include "entity/curve/extend_cache.h"
#include "geometry/points/angle_units.h"
#include "services/output/output.h"

#include <cmath>
#include <memory>

CPoint3d CPolyArc3D::__ptgen;

Acad::ErrorStatus CPolyArc3D::getClosestPointTo(const AcGePoint3d& givenPoint, AcGePoint3d& pointOnCurve,
                                                bool) const {
    assertReadEnabled();
    return entity_boundary::guarded(
        "\nProbleme avec CPolyArc3D::getClosestPointTo()", Acad::eInvalidInput, [&] {
            if (!std::isfinite(givenPoint.x) || !std::isfinite(givenPoint.y) || !std::isfinite(givenPoint.z))
                return Acad::eInvalidInput;
            CPoint3d local(m_pNormal, givenPoint);
            CPoint3d foot;
            if (!ptAtPoint(nullptr, &local, _ecpt, 0, &foot, nullptr, nullptr, nullptr))
                return Acad::eInvalidInput;
            // A point already on the curve is answered as given, so that the host finds it again exactly;
            // while EXTEND runs its height does not count.
            const bool onCurve = std::fabs(foot.x - local.x) <= _ecpt &&
                                 std::fabs(foot.y - local.y) <= _ecpt &&
                                 (g_ExtendCache.bits != 0 || std::fabs(foot.z - local.z) <= _ecpt);
            pointOnCurve = onCurve ? givenPoint : AcGePoint3d(WorldPoint(&foot));
            __ptgen = pointOnCurve;
            return Acad::eOk;
        });
}

Acad::ErrorStatus CPolyArc3D::getClosestPointTo(const AcGePoint3d& givenPoint, const AcGeVector3d&,
                                                AcGePoint3d& pointOnCurve, bool extend) const {
    return getClosestPointTo(givenPoint, pointOnCurve, extend);
}

Acad::ErrorStatus CPolyArc3D::getArea(double& area) const {
    assertReadEnabled();
    area = getArea(nullptr);
    return Acad::eOk;
}

bool CPolyArc3D::isPlanar() const {
    return m_nVertex >= 1;
}

Acad::ErrorStatus CPolyArc3D::getPlane(AcGePlane& plane, AcDb::Planarity& type) const {
    assertReadEnabled();
    if (m_pNormal)
        plane.set(AcGePoint3d(m_pNormal->t[0], m_pNormal->t[1], m_pNormal->t[2]), Snormal());
    else
        plane.set(AcGePoint3d::kOrigin, AcGeVector3d::kZAxis);
    type = AcDb::kPlanar;
    return Acad::eOk;
}

Acad::ErrorStatus CPolyArc3D::getOrthoProjectedCurve(const AcGePlane& plane,
                                                     AcDbCurve*& projectedCurve) const {
    assertReadEnabled();
    const AcGeVector3d normal = plane.normal();
    const AcGePoint3d origin = plane.pointOnPlane();
    if (normal.isZeroLength() || !std::isfinite(normal.x + normal.y + normal.z) ||
        !std::isfinite(origin.x + origin.y + origin.z))
        return Acad::eInvalidInput;
    std::unique_ptr<CPolyArc3D> copy(const_cast<CPolyArc3D*>(this)->newCPolyArc3D());
    if (!copy) return Acad::eOutOfMemory;
    if (Acad::ErrorStatus es = copy->copyFrom(this); es != Acad::eOk) return es;
    // Every plane flattens the copy onto it, a horizontal one too: a copy left with its heights would not
    // lie in the plane asked for.
    // Seen along a normal that points the other way, the arcs turn the other way.
    const bool reversed = Snormal().dotProduct(normal) < 0;
    copy->setSNormal(normal.normal(), 1);
    const double height = CPoint3d(copy->m_pNormal, origin).z;
    for (P_Vertex* v = copy->m_pHead; v; v = v->pVN) {
        v->pt.z = height;
        if (reversed) v->bulge = -v->bulge;
    }
    projectedCurve = copy.release();
    return Acad::eOk;
}

Acad::ErrorStatus CPolyArc3D::getProjectedCurve(const AcGePlane&, const AcGeVector3d&, AcDbCurve*&) const {
    mprintf("*** getProjectedCurve ***");
    return Acad::eNotImplementedYet;
}

Acad::ErrorStatus CPolyArc3D::getSpline(AcDbSpline*&) const {
    mprintf("***  getSpline ***");
    return Acad::eNotImplementedYet;
}

Acad::ErrorStatus CPolyArc3D::extend(double) {
    mprintf("***  extand param ***");
    return Acad::eNotImplementedYet;
}
