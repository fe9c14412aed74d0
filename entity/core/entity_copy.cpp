// Copying an entity's state: from a filer's staging entity, from another entity, and into new empty pieces.
#include <new>
#include <utility>

#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"

void CPolyArc3D::copyHeaderTo(CPolyArc3D& other) const {
    other.m_f39 = m_f39;
    other.m_f70 = m_f70;
    other.m_f71 = m_f71;
    other.m_f42 = m_f42;
    other.m_f43 = m_f43;
    other.applySystem(m_pNormal, false);
}

void CPolyArc3D::adoptFiled(CPolyArc3D& filed, bool withVertices) {
    m_f39 = filed.m_f39;
    m_f70 = filed.m_f70;
    m_f71 = filed.m_f71;
    m_f42 = filed.m_f42;
    m_f43 = filed.m_f43;
    if (!withVertices) {
        applySystem(filed.m_pNormal, true);
        return;
    }
    // The old list and system go to the staging entity, which gives them back.
    std::swap(m_pHead, filed.m_pHead);
    std::swap(m_pTail, filed.m_pTail);
    std::swap(m_nVertex, filed.m_nVertex);
    std::swap(m_pNormal, filed.m_pNormal);
}

void CPolyArc3D::noteFilingIn() {
    if (isWriteEnabled())
        POLYModif(1);
    else
        setLastFlagCPolyArc3D();
    newChangeStamp();
}

Acad::ErrorStatus CPolyArc3D::copyVertexFrom(const CPolyArc3D* src) {
    if (!src) return Acad::eInvalidInput;
    if (src == this) return Acad::eOk;
    try {
        RemoveAll();
        src->copyHeaderTo(*this);
        setLineWeight(src->lineWeight());
        for (const P_Vertex* v = src->m_pHead; v; v = v->pVN)
            linkNew(m_pTail, nullptr, v);
        return Acad::eOk;
    } catch (...) {
        return entity_boundary::reportFailure("\nProbleme avec CPolyArc3D::copyVertexFrom()");
    }
}

CPolyArc3D* CPolyArc3D::newPieceLike() const {
    // Making an object of the same class changes nothing here.
    CPolyArc3D* piece = const_cast<CPolyArc3D*>(this)->newCPolyArc3D();
    if (!piece) throw std::bad_alloc();
    piece->setPropertiesFrom(this);
    piece->applySystem(m_pNormal, false);
    piece->m_f70 = m_f70;
    return piece;
}
