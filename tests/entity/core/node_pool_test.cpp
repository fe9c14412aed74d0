// The class-wide node pool: blocks, the free list and its release with the last entity.
#include <gtest/gtest.h>

#include "tests/entity/poly_test_support.h"

namespace {

TEST(NodePool, LastEntityFreesTheBlocksAndTheNextTakeStartsAFreshOne) {
    {
        PolyArc3D a, b;
        for (int i = 0; i < 700; ++i)
            a.A();
        b.A();
        EXPECT_NE(CPolyArc3D::gm_pBlocks, nullptr);
        EXPECT_EQ(CPolyArc3D::gm_nCount, 2 * CPolyArc3D::kNodesPerBlock - 701);
    }
    EXPECT_EQ(CPolyArc3D::gm_nelements, 0);
    EXPECT_EQ(CPolyArc3D::gm_pBlocks, nullptr);
    EXPECT_EQ(CPolyArc3D::gm_pNodeFree, nullptr);
    EXPECT_EQ(CPolyArc3D::gm_nCount, 0);

    PolyArc3D c;
    c.A();
    EXPECT_EQ(CPolyArc3D::gm_nCount, 499);
}

TEST(NodePool, ABlockIsHandedOutInAscendingAddressOrderWithAlignedNodes) {
    PolyArc3D poly;
    P_Vertex* previous = poly.A();
    for (int i = 1; i < CPolyArc3D::kNodesPerBlock; ++i) {
        P_Vertex* v = poly.A();
        EXPECT_GT(v, previous);
        previous = v;
    }
    for (P_Vertex* v = poly.H(); v; v = v->pVN)
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(v) % 8, 0u);
    EXPECT_EQ(CPolyArc3D::gm_nCount, 0);
}

TEST(NodePool, NodesGoBackToTheFreeListOneByOneOrInOneSplice) {
    PolyArc3D keeper; // keeps the pool alive between the steps
    keeper.A();
    const int free = CPolyArc3D::gm_nCount;
    PolyArc3D poly;
    for (int i = 0; i < 10; ++i)
        poly.A();
    EXPECT_EQ(CPolyArc3D::gm_nCount, free - 10);
    P_Vertex* third = poly.H(2);
    poly.D(third, 0);
    EXPECT_EQ(CPolyArc3D::gm_pNodeFree, third);
    EXPECT_EQ(CPolyArc3D::gm_nCount, free - 9);
    EXPECT_EQ(poly.GetCount(), 9);
    P_Vertex* head = poly.H();
    poly.RemoveAll();
    EXPECT_EQ(CPolyArc3D::gm_nCount, free);
    // The spliced chain is taken first.
    EXPECT_EQ(poly.A(), head);
    EXPECT_EQ(CPolyArc3D::gm_nCount, free - 1);
}

TEST(NodePool, ANodeTakenAgainIsClearedOrCopiedWhole) {
    PolyArc3D poly;
    poly_test::fillRich(poly);
    P_Vertex* reused = poly.H();
    poly.RemoveAll();
    // The spliced chain comes back first, its nodes still holding the old attributes.
    ASSERT_EQ(poly.A(), reused);
    alignas(8) P_Vertex zero(0);
    poly_test::expectSameVertex(reused, &zero, 0);
    EXPECT_EQ(reused->pVB, nullptr);
    EXPECT_EQ(reused->pVN, nullptr);

    PolyArc3D rich;
    poly_test::fillRich(rich);
    P_Vertex* copied = poly.A(rich.H(1));
    poly_test::expectSameVertex(copied, rich.H(1), 1);
    EXPECT_EQ(copied->pVB, reused);
    EXPECT_EQ(copied->pVN, nullptr);
}

TEST(NodePool, AChainAttachedWithoutItsTailGoesBackWhole) {
    PolyArc3D keeper;
    keeper.A();
    const int free = CPolyArc3D::gm_nCount;
    PolyArc3D poly;
    for (int i = 0; i < 5; ++i)
        poly.A();
    P_Vertex* last = poly.T();
    poly.Attach(poly.Detach(), nullptr);
    poly.GetCount(0);
    poly.RemoveAll();
    EXPECT_EQ(CPolyArc3D::gm_nCount, free);
    // The whole chain is on the free list ahead of the nodes never taken.
    PolyArc3D again;
    for (int i = 0; i < 5; ++i)
        again.A();
    EXPECT_EQ(again.T(), last);
}

} // namespace
