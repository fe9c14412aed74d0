// Cutting a polyline in two at a vertex or between two vertices.
#include "entity/core/boundary.h"
#include "entity/core/poly_arc3d.h"

#include <utility>

CPolyArc3D* CPolyArc3D::coupe(P_Vertex* a, P_Vertex* b, int mode) {
    return entity_boundary::guarded<CPolyArc3D*>(
        "\nProbleme avec CPolyArc3D::coupe()", nullptr, [&]() -> CPolyArc3D* {
            POLYModif(1);
            if (!hasSoundVertices()) return nullptr;
            if (!b) b = a;
            if (!a) a = b;
            if (!a) return nullptr;
            const int ia = (*this)[a];
            const int ib = (*this)[b];
            if (ia < 0 || ib < 0) return nullptr;
            const bool closed = isClosed2D();
            if (!closed && ia > ib) std::swap(a, b);
            if (a == b)
                b = I(a, a);
            else
                while (N(a) && N(a) != b)
                    D(N(a), 0);
            if (closed) {
                // A cut across the head leaves one open stretch from b round to a: nothing to hand over.
                const bool acrossHead = b == m_pHead && a == m_pTail;
                if ((mode & 1) || acrossHead) {
                    if (m_nVertex > 1) {
                        reroot(b);
                        changeField(m_f70, static_cast<short>(m_f70 & ~1));
                        MajExtremite();
                    } else {
                        RemoveAll();
                    }
                    return nullptr;
                }
                changeField(m_f70, static_cast<short>(m_f70 & ~1));
                A(m_pHead);
            }
            CPolyArc3D* piece = newCPolyArc3D();
            if (!piece) return nullptr;
            {
                HeaderOnlyCopy headerOnly;
                piece->copyFrom(this);
            }
            moveRun(b, m_pTail, *piece);
            MajExtremite();
            piece->MajExtremite();
            if (piece->GetCount() > 1) return piece;
            delete piece;
            return nullptr;
        });
}

void CPolyArc3D::reroot(P_Vertex* head) {
    if (head == m_pHead) return;
    POLYModif(1);
    P_Vertex* tail = head->pVB;
    m_pTail->pVN = m_pHead;
    m_pHead->pVB = m_pTail;
    head->pVB = nullptr;
    tail->pVN = nullptr;
    m_pHead = head;
    m_pTail = tail;
}
