// Walking, adding, deleting and indexing the vertex list.
#include <gtest/gtest.h>

#include "host/db/database.h"
#include "tests/entity/poly_test_support.h"
#include "tests/services/recording_screens.h"

using poly_test::append;
using poly_test::appendAll;

namespace {

// Five vertices along x: 0, 1, 2, 3, 4.
struct FiveVertices : ::testing::Test {
    FiveVertices() { appendAll(poly, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}}); }
    double x(const P_Vertex* v) const { return v ? v->pt.x : -1; }
    PolyArc3D poly;
};

TEST_F(FiveVertices, WalkingStopsAtTheEndsOfAnOpenEntity) {
    EXPECT_EQ(x(poly.H(-3)), 0);
    EXPECT_EQ(x(poly.H(4)), 4);
    EXPECT_EQ(poly.H(5), nullptr);
    EXPECT_EQ(x(poly.T(-4)), 0);
    EXPECT_EQ(poly.T(5), nullptr);
    EXPECT_EQ(poly.N(poly.T()), nullptr);
    EXPECT_EQ(poly.B(poly.H()), nullptr);
    EXPECT_EQ(poly.N(nullptr), nullptr);
    EXPECT_EQ(x(poly.N(poly.H(), 3)), 3);
    EXPECT_EQ(x(poly.N(poly.T(), -2)), 2);
    EXPECT_EQ(poly.N(poly.H(), 5), nullptr);
    EXPECT_EQ(poly.N(poly.H(2), 0), poly.H(2));
}

TEST_F(FiveVertices, WalkingWrapsOnAClosedEntity) {
    poly.f70(1);
    EXPECT_EQ(poly.N(poly.T()), poly.H());
    EXPECT_EQ(poly.B(poly.H()), poly.T());
    EXPECT_EQ(x(poly.N(poly.T(1), 3)), 1);
    EXPECT_EQ(x(poly.N(poly.H(), -2)), 3);
}

TEST_F(FiveVertices, WalkingWrapsWhenTheEndsMeetInPlan) {
    poly.T()->pt = CPoint3d(0.00005, 0, 7); // within _ecpt of the head in plan, at another height
    EXPECT_EQ(poly.N(poly.T()), poly.H());
    poly.T()->pt = CPoint3d(0.0002, 0, 0);
    EXPECT_EQ(poly.N(poly.T()), nullptr);
}

TEST_F(FiveVertices, HardVertexWalksSkipGeneratedOnes) {
    poly.H(1)->flags = 1;
    poly.H(2)->flags = 1;
    EXPECT_EQ(x(poly.Nxyz(poly.H())), 3);
    EXPECT_EQ(x(poly.Bxyz(poly.H(3))), 0);
    EXPECT_EQ(poly.Nxyz(poly.T()), nullptr);
    EXPECT_EQ(poly.Bxyz(poly.H()), nullptr);
    poly.f70(1);
    EXPECT_EQ(poly.Nxyz(poly.T()), poly.H());
    EXPECT_EQ(x(poly.Bxyz(poly.H())), 4);
    // Every other vertex generated: the walk comes back to where it began.
    for (P_Vertex* v = poly.H(1); v; v = v->pVN)
        v->flags = 1;
    EXPECT_EQ(poly.Nxyz(poly.H()), nullptr);
    EXPECT_EQ(poly.Bxyz(poly.H()), nullptr);
}

TEST_F(FiveVertices, AddingCopiesEveryAttributeButTheLinks) {
    alignas(8) P_Vertex source(0);
    source.pt = CPoint3d(9, 8, 7);
    source.bulge = 0.5;
    source.flags = 0x84;
    source.tef1 = 6;
    source.tef2 = -3;
    source.i39 = 150000;
    source.i40 = -7;
    source.tag = -5;
    P_Vertex* added = poly.I(poly.H(1), &source);
    EXPECT_EQ(poly[added], 2);
    EXPECT_EQ(x(poly.N(added)), 2);
    poly_test::expectSameVertex(added, &source, 2);
    P_Vertex* first = poly.I(nullptr, nullptr);
    EXPECT_EQ(poly.H(), first);
    EXPECT_EQ(first->pVB, nullptr);
    EXPECT_EQ(x(first->pVN), 0);
    EXPECT_EQ(std::int64_t(first->tag), 0);
    P_Vertex* last = poly.A(&source);
    EXPECT_EQ(last, poly.T());
    EXPECT_EQ(poly.GetCount(), 8);
    EXPECT_EQ(poly.GetCount(0), 8);
}

TEST_F(FiveVertices, DeletingTheTailAndGeneratedRuns) {
    EXPECT_EQ(poly.D(nullptr, 0), nullptr);
    EXPECT_EQ(x(poly.T()), 3);
    EXPECT_EQ(poly.GetCount(), 4);

    poly.H(2)->flags = 1;
    poly.H(3)->flags = 1; // 0, 1, 2g, 3g
    EXPECT_EQ(poly.D(poly.H(1), 1), nullptr);
    EXPECT_EQ(poly.GetCount(), 1);
    EXPECT_EQ(poly.T(), poly.H());

    appendAll(poly, {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}}); // 0, 1, 2, 3
    poly.H(1)->flags = 1;
    poly.H(2)->flags = 1;
    // Backward from the tail over the generated run; the vertex after the gap is answered.
    EXPECT_EQ(poly.D(poly.T(), -1), nullptr);
    EXPECT_EQ(poly.GetCount(), 1);
    appendAll(poly, {{1, 0, 0}, {2, 0, 0}});
    poly.H(1)->flags = 1;
    EXPECT_EQ(poly.D(poly.H(), -1), poly.T()); // from the head the chain runs forward
    EXPECT_EQ(poly.GetCount(), 1);
}

TEST_F(FiveVertices, DeletingAnswersTheLiveFollowerNeverAFreedNode) {
    P_Vertex* follower = poly.H(2);
    EXPECT_EQ(poly.D(poly.H(1), 0), follower);
    PolyArc3D empty;
    EXPECT_EQ(empty.D(nullptr, 1), nullptr);
}

TEST_F(FiveVertices, DeletingWithHandOverGivesTheCodeToTheFollower) {
    poly.H(1)->tef1 = 2;
    poly.H(2)->tef1 = 7;
    P_Vertex* follower = poly.H(2);
    EXPECT_EQ(poly.Dmaj(poly.H(1)), follower);
    EXPECT_EQ(int(follower->tef1), 2); // a break always passes on

    poly.H(1)->tef1 = 4; // 0, 2(4), 3(0), 4
    poly.H(2)->flags = 1;
    poly.H(1)->flags = 0x10;
    follower = poly.Dmaj(poly.H(1));
    EXPECT_EQ(int(follower->tef1), 4);
    EXPECT_EQ(short(follower->flags), 0x10); // a generated follower takes the flags on an open entity

    poly.H(1)->tef1 = 5; // the follower keeps a code of its own
    poly.H(2)->tef1 = 3;
    EXPECT_EQ(int(poly.Dmaj(poly.H(1))->tef1), 3);

    EXPECT_EQ(poly.Dmaj(poly.T()), nullptr); // no follower on an open entity
    EXPECT_EQ(poly.GetCount(), 1);
}

TEST_F(FiveVertices, RemovingAllClearsTheFlagWordOfANonEmptyListOnly) {
    poly.f70(0x4009);
    poly.RemoveAll();
    EXPECT_EQ(poly.GetCount(), 0);
    EXPECT_EQ(poly.H(), nullptr);
    EXPECT_EQ(poly.T(), nullptr);
    EXPECT_EQ(poly.f70(), 0);
    poly.f70(9);
    poly.RemoveAll();
    EXPECT_EQ(poly.f70(), 9);
}

TEST_F(FiveVertices, DetachedChainsCanBeAttachedElsewhere) {
    P_Vertex* tail = poly.T();
    P_Vertex* head = poly.Detach();
    EXPECT_EQ(poly.H(), nullptr);
    EXPECT_EQ(poly.GetCount(), 5);
    PolyArc3D other;
    EXPECT_EQ(other.Attach(head, tail), tail);
    EXPECT_EQ(other.GetCount(0), 5);
    EXPECT_EQ(poly.GetCount(0), 0);
}

TEST_F(FiveVertices, IndexesOfVerticesAndVerticesOfIndexes) {
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(x(poly[i]), i);
        EXPECT_EQ(poly[poly.GetIndex(std::int64_t(i))], i);
    }
    EXPECT_EQ(poly.GetIndex(std::int64_t(5)), nullptr);
    EXPECT_EQ(poly.GetIndex(std::int64_t(-1)), nullptr);
    PolyArc3D other;
    EXPECT_EQ(poly[append(other, {0, 0, 0})], -1);
    EXPECT_EQ(poly[static_cast<const P_Vertex*>(nullptr)], -1);
}

TEST_F(FiveVertices, AShortenedListIsReportedNotFollowed) {
    testing_support::RecordingScreens screens;
    screens.global.open = true;
    // A count larger than the chain: the walk must stop at the chain's end.
    poly.GetCount(12);
    EXPECT_EQ(poly.GetIndex(std::int64_t(2)), poly.H(2));
    EXPECT_EQ(screens.global.printed, "");
    EXPECT_EQ(poly.GetIndex(std::int64_t(5)), nullptr);
    EXPECT_NE(screens.global.printed.find("CPolyArc3D endommag\xe9"), std::string::npos);
    EXPECT_EQ(poly[static_cast<const P_Vertex*>(nullptr)], -1);
    poly.GetCount(0);
}

TEST(VertexList, ChangesNeedWriteAccess) {
    poly_test::RegisteredClasses classes;
    AcDbDatabase db;
    auto* poly = new PolyArc3D;
    appendAll(*poly, {{0, 0, 0}, {1, 1, 0}});
    AcDbObjectId id;
    ASSERT_EQ(db.addAcDbObject(id, poly), Acad::eOk);
    poly->close();
    CPolyArc3D* read = nullptr;
    ASSERT_EQ(acdbOpenObject(read, id, AcDb::kForRead), Acad::eOk);
    EXPECT_THROW(read->A(), host::OpenStateError);
    EXPECT_THROW(read->RemoveAll(), host::OpenStateError);
    EXPECT_EQ(read->GetCount(), 2);
    read->close();

    // Write access asserted once in an open is forgotten when the open ends or is downgraded.
    CPolyArc3D* written = nullptr;
    ASSERT_EQ(acdbOpenObject(written, id, AcDb::kForWrite), Acad::eOk);
    written->A();
    ASSERT_EQ(written->downgradeOpen(), Acad::eOk);
    EXPECT_THROW(written->A(), host::OpenStateError);
    ASSERT_EQ(written->upgradeOpen(), Acad::eOk);
    written->A();
    written->close();
    ASSERT_EQ(acdbOpenObject(read, id, AcDb::kForRead), Acad::eOk);
    EXPECT_THROW(read->I(read->H()), host::OpenStateError);
    EXPECT_EQ(read->GetCount(), 4);
    read->close();
}

TEST(VertexList, EveryAdditionChangesTheStamp) {
    PolyArc3D poly;
    std::uint64_t stamp = poly.changeStamp();
    for (int i = 0; i < 3; ++i) {
        poly.A();
        EXPECT_NE(poly.changeStamp(), stamp) << "append " << i;
        stamp = poly.changeStamp();
        poly.I(poly.H());
        EXPECT_NE(poly.changeStamp(), stamp) << "insert " << i;
        stamp = poly.changeStamp();
    }
}

} // namespace
