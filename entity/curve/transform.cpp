// Transforms of the polyline: MOVE, ROTATE, MIRROR, SCALE and the host's own transforms.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"

#include <cmath>
#include <memory>

namespace {

AcGeVector3d linearPart(const AcGeMatrix3d& m, const AcGeVector3d& v) {
    return {m(0, 0) * v.x + m(0, 1) * v.y + m(0, 2) * v.z, m(1, 0) * v.x + m(1, 1) * v.y + m(1, 2) * v.z,
            m(2, 0) * v.x + m(2, 1) * v.y + m(2, 2) * v.z};
}

// The cofactor matrix of the linear part times v: where the normal of a plane goes, oriented so that the
// images of the plane's axes keep their turning sense round it (zero when the plane collapses).
AcGeVector3d cofactorTimes(const AcGeMatrix3d& m, const AcGeVector3d& v) {
    const AcGeVector3d c0(m(0, 0), m(1, 0), m(2, 0)), c1(m(0, 1), m(1, 1), m(2, 1)),
        c2(m(0, 2), m(1, 2), m(2, 2));
    return c1.crossProduct(c2) * v.x + c2.crossProduct(c0) * v.y + c0.crossProduct(c1) * v.z;
}

bool isFinite(const AcGeMatrix3d& m) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (!std::isfinite(m(r, c))) return false;
    return true;
}

// Whether circles of the plane (u, v) stay circles and heights along n stay heights: the plane is scaled
// alike in every direction, and the normal stays square to it.
bool keepsCircles(const AcGeMatrix3d& m, const AcGeVector3d& u, const AcGeVector3d& v,
                  const AcGeVector3d& n) {
    const AcGeVector3d mu = linearPart(m, u), mv = linearPart(m, v), mn = linearPart(m, n);
    const double scale = mu.length();
    const double tol = 1e-9 * scale;
    return scale > 0 && std::fabs(mv.length() - scale) <= tol &&
           std::fabs(mu.dotProduct(mv)) <= tol * scale && std::fabs(mn.dotProduct(mu)) <= tol * mn.length() &&
           std::fabs(mn.dotProduct(mv)) <= tol * mn.length();
}

} // namespace

Acad::ErrorStatus CPolyArc3D::subTransformBy(const AcGeMatrix3d& xform) {
    if (!isFinite(xform)) return Acad::eInvalidInput;
    if (!hasSoundVertices()) return Acad::eInvalidInput;
    AcGeVector3d axes[3] = {AcGeVector3d::kXAxis, AcGeVector3d::kYAxis, AcGeVector3d::kZAxis};
    if (m_pNormal)
        for (int i = 0; i < 3; ++i)
            axes[i] = AcGeVector3d(m_pNormal->r[i][0], m_pNormal->r[i][1], m_pNormal->r[i][2]);
    bool hasArcs = false;
    for (const P_Vertex* v = m_pHead; v && !hasArcs; v = v->pVN)
        hasArcs = double(v->bulge) != 0;
    if (hasArcs && !keepsCircles(xform, axes[0], axes[1], axes[2])) return Acad::eCannotScaleNonUniformly;

    POLYModif(true);
    const AcGeVector3d normal = cofactorTimes(xform, axes[2]);
    applySystem(nullptr, true);
    for (P_Vertex* v = m_pHead; v; v = v->pVN) {
        AcGePoint3d p = CPoint3d(v->pt);
        v->pt = p.transformBy(xform);
    }
    // The world system stands for any normal that points down: seen from above, the arcs turn the other way.
    const double length = normal.length();
    AcGeVector3d target = length > 0 ? normal / length : AcGeVector3d::kZAxis;
    if (std::fabs(target.x) < 1e-5 && std::fabs(target.y) < 1e-5 && target.z < 0) {
        target = AcGeVector3d::kZAxis;
        for (P_Vertex* v = m_pHead; v; v = v->pVN)
            v->bulge = -double(v->bulge);
    }
    return setSNormal(target, 1);
}

Acad::ErrorStatus CPolyArc3D::subGetTransformedCopy(const AcGeMatrix3d& xform, AcDbEntity*& copy) const {
    assertReadEnabled();
    return entity_boundary::guarded(
        "\nProbleme avec CPolyArc3D::subGetTransformedCopy()", Acad::eInvalidInput, [&] {
            std::unique_ptr<CPolyArc3D> made(const_cast<CPolyArc3D*>(this)->newCPolyArc3D());
            if (!made) return Acad::eOutOfMemory;
            if (Acad::ErrorStatus es = made->copyFrom(this); es != Acad::eOk) return es;
            if (Acad::ErrorStatus es = made->transformBy(xform); es != Acad::eOk) return es;
            copy = made.release();
            return Acad::eOk;
        });
}
