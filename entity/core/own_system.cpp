// The entity's own coordinate system: a transform from world to stored points, null for the world system.
#include "entity/core/poly_arc3d.h"

#include <cmath>
#include <cstring>
#include <numbers>

const double CPolyArc3D::kEmptyCoordinate = -1e100 / std::numbers::pi;

namespace {
// Byte for byte: a system rebuilt from the same normal is the same system.
bool sameSystem(const Mat3D* a, const Mat3D* b) {
    return a && b ? std::memcmp(a, b, sizeof(Mat3D)) == 0 : a == b;
}
} // namespace

void CPolyArc3D::applySystem(const Mat3D* m, bool move) {
    if (sameSystem(m, m_pNormal)) return;
    if (move && m_pNormal)
        for (P_Vertex* v = m_pHead; v; v = v->pVN)
            m_pNormal->ApplyToPtInv(&v->pt);
    if (!m) {
        delete m_pNormal;
        m_pNormal = nullptr;
        return;
    }
    if (m_pNormal)
        *m_pNormal = *m;
    else
        m_pNormal = new Mat3D(*m);
    if (move)
        for (P_Vertex* v = m_pHead; v; v = v->pVN)
            m_pNormal->ApplyToPt(&v->pt);
}

Acad::ErrorStatus CPolyArc3D::setSNormal(const Mat3D* m, int move) {
    if (sameSystem(m, m_pNormal)) return Acad::eOk;
    POLYModif(1);
    applySystem(m, move != 0);
    return Acad::eOk;
}

Acad::ErrorStatus CPolyArc3D::setSNormal(const AcGeVector3d& normal, int move) {
    if (std::fabs(normal.x) < 1e-5 && std::fabs(normal.y) < 1e-5 && normal.z > 0.9)
        return setSNormal(static_cast<const Mat3D*>(nullptr), move);
    if (m_pNormal && Snormal() == normal) return Acad::eOk;
    const double n[3] = {normal.x, normal.y, normal.z};
    Mat3D m;
    m.SetFromNormVector(n);
    return setSNormal(&m, move);
}

AcGeVector3d CPolyArc3D::Snormal() const {
    if (!m_pNormal) return AcGeVector3d(0, 0, 1);
    return AcGeVector3d(m_pNormal->r[2][0], m_pNormal->r[2][1], m_pNormal->r[2][2]);
}

CPoint3d CPolyArc3D::WorldPoint(const CPoint3d* p) const {
    CPoint3d w = *p;
    if (m_pNormal && w.x != kEmptyCoordinate) m_pNormal->ApplyToPtInv(&w);
    return w;
}

CPoint3d CPolyArc3D::WorldPoint(const P_Vertex* v) const {
    const CPoint3d p = v->pt;
    return WorldPoint(&p);
}

int CPolyArc3D::MatNormalFuncInv(AcGePoint3dArray& points) const {
    if (!m_pNormal) return 0;
    for (AcGePoint3d& p : points) {
        CPoint3d c(p);
        m_pNormal->ApplyToPtInv(&c);
        p = c;
    }
    return 1;
}
