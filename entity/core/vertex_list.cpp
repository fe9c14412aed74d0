// The vertex list: walking, adding, deleting and indexing. Only the adding and deleting operations notify.
#include "entity/core/poly_arc3d.h"

#include "services/output/output.h"

namespace {
bool isGenerated(const P_Vertex* v) {
    return (v->flags & 1) != 0;
}
} // namespace

P_Vertex* CPolyArc3D::H(int n) const {
    P_Vertex* v = m_pHead;
    for (; n > 0 && v; --n)
        v = v->pVN;
    return v;
}

P_Vertex* CPolyArc3D::T(int n) const {
    P_Vertex* v = m_pTail;
    for (n = n < 0 ? -n : n; n > 0 && v; --n)
        v = v->pVB;
    return v;
}

P_Vertex* CPolyArc3D::N(P_Vertex* v) const {
    if (!v) return nullptr;
    return v->pVN ? v->pVN : (isClosed2D() ? m_pHead : nullptr);
}

P_Vertex* CPolyArc3D::B(P_Vertex* v) const {
    if (!v) return nullptr;
    return v->pVB ? v->pVB : (isClosed2D() ? m_pTail : nullptr);
}

P_Vertex* CPolyArc3D::N(P_Vertex* v, int n) const {
    for (; n > 0 && v; --n)
        v = N(v);
    for (; n < 0 && v; ++n)
        v = B(v);
    return v;
}

P_Vertex* CPolyArc3D::Nxyz(P_Vertex* v) const {
    for (P_Vertex* p = v; p;) {
        if (!p->pVN) return isClosed2D() && m_pHead != v ? m_pHead : nullptr;
        p = p->pVN;
        if (p == v) return nullptr;
        if (!isGenerated(p)) return p;
    }
    return nullptr;
}

P_Vertex* CPolyArc3D::Bxyz(P_Vertex* v) const {
    // At most one turn, even from a vertex of another list.
    int steps = m_nVertex;
    for (P_Vertex* p = B(v); p && p != v && steps-- > 0; p = B(p))
        if (!isGenerated(p)) return p;
    return nullptr;
}

void CPolyArc3D::unlink(P_Vertex* v) {
    (v->pVB ? v->pVB->pVN : m_pHead) = v->pVN;
    (v->pVN ? v->pVN->pVB : m_pTail) = v->pVB;
}

P_Vertex* CPolyArc3D::A(const P_Vertex* src) {
    POLYModif(1);
    return linkNew(m_pTail, nullptr, src);
}

P_Vertex* CPolyArc3D::I(P_Vertex* after, const P_Vertex* src) {
    POLYModif(1);
    return linkNew(after, after ? after->pVN : m_pHead, src);
}

P_Vertex* CPolyArc3D::D(P_Vertex* v, int chain) {
    POLYModif(1);
    if (!m_pHead) return nullptr;
    if (!v) v = m_pTail;
    const bool forward = chain > 0 || v == m_pHead;
    P_Vertex* after = v->pVN;
    P_Vertex* neighbour = forward ? v->pVN : v->pVB;
    unlink(v);
    FreeNode(v);
    while (chain != 0 && neighbour && isGenerated(neighbour)) {
        P_Vertex* gone = neighbour;
        neighbour = forward ? gone->pVN : gone->pVB;
        if (forward) after = gone->pVN;
        unlink(gone);
        FreeNode(gone);
    }
    return after;
}

P_Vertex* CPolyArc3D::Dmaj(P_Vertex* v) {
    POLYModif(1);
    P_Vertex* f = N(v);
    if (f && f != v) {
        if (v->tef1 == 2 || (f->tef1 == 0 && (v->tef1 == 1 || v->tef1 == 4 || v->tef1 == 5)))
            f->tef1 = v->tef1;
        if (!isClosed2D() && isGenerated(f)) f->flags = v->flags;
    } else {
        f = nullptr;
    }
    unlink(v);
    FreeNode(v);
    return f;
}

void CPolyArc3D::RemoveAll() {
    POLYModif(1);
    if (!m_pHead) return;
    releaseChain();
    m_f70 = 0;
}

P_Vertex* CPolyArc3D::Detach() {
    P_Vertex* head = m_pHead;
    m_pHead = m_pTail = nullptr;
    return head;
}

P_Vertex* CPolyArc3D::Attach(P_Vertex* head, P_Vertex* tail) {
    m_pHead = head;
    if (tail || !head) m_pTail = tail;
    return m_pTail;
}

int CPolyArc3D::GetCount(int n) {
    if (n == 0)
        for (P_Vertex* v = m_pHead; v; v = v->pVN)
            ++n;
    return m_nVertex = n;
}

int CPolyArc3D::operator[](const P_Vertex* v) const {
    int i = 0;
    for (const P_Vertex* p = m_pHead; p && i < m_nVertex; p = p->pVN, ++i)
        if (p == v) return i;
    return -1;
}

P_Vertex* CPolyArc3D::GetIndex(std::int64_t i) const {
    if (i < 0 || i >= m_nVertex) return nullptr;
    // From the nearer end; a list shorter than its count is damaged.
    const bool fromTail = i > m_nVertex / 2;
    std::int64_t steps = fromTail ? m_nVertex - 1 - i : i;
    P_Vertex* v = fromTail ? m_pTail : m_pHead;
    for (; v && steps > 0; --steps)
        v = fromTail ? v->pVB : v->pVN;
    if (!v) mprintf(L"\nProbleme de CPolyArc3D::GetIndex (CPolyArc3D endommagée)");
    return v;
}

int CPolyArc3D::runLength(const P_Vertex* first, const P_Vertex* last) const {
    // The run and what stays are walked in step, so that the cost is that of the shorter: cutting piece after
    // piece off the front of a long polyline stays linear. What stays is the head up to the run, then the
    // rest after it.
    int run = 1;
    int kept = 0;
    const P_Vertex* r = first;
    const P_Vertex* k = m_pHead == first ? last->pVN : m_pHead;
    while (r != last && k) {
        r = r->pVN;
        ++run;
        ++kept;
        k = k->pVN == first ? last->pVN : k->pVN;
    }
    return r == last ? run : m_nVertex - kept;
}

void CPolyArc3D::moveRun(P_Vertex* first, P_Vertex* last, CPolyArc3D& to) {
    POLYModif(1);
    to.POLYModif(1);
    const int moved = runLength(first, last);
    P_Vertex* before = first->pVB;
    P_Vertex* after = last->pVN;
    (before ? before->pVN : m_pHead) = after;
    (after ? after->pVB : m_pTail) = before;
    m_nVertex -= moved;
    first->pVB = to.m_pTail;
    last->pVN = nullptr;
    (to.m_pTail ? to.m_pTail->pVN : to.m_pHead) = first;
    to.m_pTail = last;
    to.m_nVertex += moved;
}
