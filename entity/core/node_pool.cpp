// The class-wide pool of vertex nodes. Nodes live in blocks of kNodesPerBlock slots; a slot is 8-byte
// aligned (72 bytes for a 68-byte packed node) so that every node's pointers, point and bulge are aligned.
#include "entity/core/poly_arc3d.h"
#include "entity/curve/extend_cache.h"

struct alignas(8) NodeSlot {
    P_Vertex vertex;
};
static_assert(sizeof(NodeSlot) == CPolyArc3D::kNodeStride);

struct CPolyArc3D::NodeBlock {
    NodeBlock* next;
    NodeSlot slots[kNodesPerBlock];
};

namespace {

// A new block in front of the chain; its nodes go on the free list in ascending address order.
void addBlock() {
    auto* block = new CPolyArc3D::NodeBlock;
    block->next = CPolyArc3D::gm_pBlocks;
    CPolyArc3D::gm_pBlocks = block;
    for (int i = CPolyArc3D::kNodesPerBlock - 1; i >= 0; --i) {
        P_Vertex* v = &block->slots[i].vertex;
        v->pVN = CPolyArc3D::gm_pNodeFree;
        CPolyArc3D::gm_pNodeFree = v;
    }
    CPolyArc3D::gm_nCount += CPolyArc3D::kNodesPerBlock;
}

} // namespace

P_Vertex* CPolyArc3D::NewNode(P_Vertex* prev, P_Vertex* next) {
    if (!gm_pNodeFree) addBlock();
    P_Vertex* v = gm_pNodeFree;
    gm_pNodeFree = v->pVN;
    // Each take reads the link of the node it takes: the free nodes some takes on are on their way while
    // this one is filled (a spliced chain comes back in the order it was taken).
    prefetchAhead(v);
    --gm_nCount;
    v->pVB = prev;
    v->pVN = next;
    ++m_nVertex;
    return v;
}

void CPolyArc3D::FreeNode(P_Vertex* v) {
    v->pVN = gm_pNodeFree;
    gm_pNodeFree = v;
    ++gm_nCount;
    --m_nVertex;
}

void CPolyArc3D::releaseChain() {
    if (!m_pHead) return;
    // The tail closes the chain where it is known; a chain attached without one is walked to its end.
    P_Vertex* last = m_pTail;
    int nodes = m_nVertex;
    if (!last || last->pVN) {
        nodes = 1;
        for (last = m_pHead; last->pVN; last = last->pVN)
            ++nodes;
    }
    last->pVN = gm_pNodeFree;
    gm_pNodeFree = m_pHead;
    gm_nCount += nodes;
    m_pHead = m_pTail = nullptr;
    m_nVertex = 0;
}

std::uint64_t CPolyArc3D::gm_lastStamp = 0;

CPolyArc3D::CPolyArc3D() {
    newChangeStamp();
    ++gm_nelements;
}

CPolyArc3D::~CPolyArc3D() {
    // EXTEND's cache must not outlive the entity it names.
    if (g_ExtendCache.entity == this) g_ExtendCache.reset();
    releaseChain();
    if (--gm_nelements <= 0) {
        while (NodeBlock* block = gm_pBlocks) {
            gm_pBlocks = block->next;
            delete block;
        }
        gm_pNodeFree = nullptr;
        gm_nCount = 0;
    }
    delete m_pNormal;
}
