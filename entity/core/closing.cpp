// Closing: the closed bit (bit 0 of f70), ends that meet, and the repair of a repeated closing vertex.
#include "entity/core/poly_arc3d.h"

#include "geometry/points/angle_units.h"
#include "services/output/output.h"

bool CPolyArc3D::isClosed() const {
    if (m_f70 & 1) return true;
    return m_nVertex > 2 && m_pHead->pt == m_pTail->pt;
}

bool CPolyArc3D::isClosed2D() const {
    if (m_f70 & 1) return true;
    if (m_nVertex <= 2) return false;
    const double dx = m_pHead->pt.x - m_pTail->pt.x;
    const double dy = m_pHead->pt.y - m_pTail->pt.y;
    return dx * dx + dy * dy < _ecpt * _ecpt;
}

int CPolyArc3D::MajClosed() {
    try {
        if (m_nVertex > 2 && (m_pHead->pt - m_pTail->pt).dist3d() < _ecpt) {
            // Only this step needs write access; an entity open for read goes back to read.
            const bool upgraded = !isWriteEnabled() && upgradeOpen() == Acad::eOk;
            D(nullptr, 0);
            m_f70 = static_cast<short>(m_f70 | 1);
            if (upgraded) downgradeOpen();
        }
        MajExtremite();
    } catch (...) {
        mprintf("\nProbleme de CPolyArc3D::isClosed ");
    }
    return m_f70 & 1;
}

void CPolyArc3D::MajExtremite() {
    // Restores an invariant of the list: no notice.
    if (m_pHead) m_pHead->flags = static_cast<std::int16_t>(m_pHead->flags & ~1);
    if (m_pTail && !isClosed2D()) m_pTail->flags = static_cast<std::int16_t>(m_pTail->flags & ~1);
}

void CPolyArc3D::setClosed(bool closed) {
    if (closed) {
        POLYModif(1);
        m_f70 = static_cast<short>(m_f70 | 1);
        MajClosed();
    } else if (MajClosed()) {
        POLYModif(1);
        m_f70 = static_cast<short>(m_f70 & ~1);
    }
}
