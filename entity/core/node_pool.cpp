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

// The newest block's slots never taken yet: a block is handed out in address order as the takes reach it,
// so that making one costs no pass over its nodes.
NodeSlot* freshNext = nullptr;
NodeSlot* freshEnd = nullptr;

// The chain holds the newest block first. Freed newest first, each block would join the heap's free top and
// the allocator would give memory back to the system once per block; oldest first, the freed blocks join one
// another and go back together.
void freeBlocksOldestFirst() {
    CPolyArc3D::NodeBlock* oldest = nullptr;
    while (CPolyArc3D::NodeBlock* block = CPolyArc3D::gm_pBlocks) {
        CPolyArc3D::gm_pBlocks = block->next;
        block->next = oldest;
        oldest = block;
    }
    while (CPolyArc3D::NodeBlock* block = oldest) {
        oldest = block->next;
        ::operator delete(block);
    }
}

} // namespace

P_Vertex* CPolyArc3D::takeFreshNode() {
    if (freshNext == freshEnd) {
        // Raw storage: a node's fields are written when it is taken, so a new block is not cleared first.
        auto* block = static_cast<NodeBlock*>(::operator new(sizeof(NodeBlock)));
        block->next = gm_pBlocks;
        gm_pBlocks = block;
        freshNext = block->slots;
        freshEnd = block->slots + kNodesPerBlock;
        gm_nCount += kNodesPerBlock;
    }
    return &freshNext++->vertex;
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
        freeBlocksOldestFirst();
        gm_pNodeFree = nullptr;
        freshNext = freshEnd = nullptr;
        gm_nCount = 0;
    }
    delete m_pNormal;
}
